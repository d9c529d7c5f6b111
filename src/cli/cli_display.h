#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_common.h"
#include "player/replay_rates.h"
#include "player/window_layout.h"

namespace quil {

// The window's display options that the subcommands showing the player's
// display share: the layout (a zoom, or a panel size for the main window's
// fit rule), the quality, Grid and Background, Reverse and the replay step.
struct TDisplayRequest {
    float zoom = 1.0f;
    std::optional<std::pair<int, int>> panel;  // --size WxH
    int quality = 2;
    std::optional<bool> grid;
    std::optional<bool> background;
    int step = kInitialReplayStep;
    bool reverse = false;
};

// The options read by ParseDisplayOptions: --zoom, --size, --quality,
// --grid, --background, --step, --rate, --reverse.
std::vector<OptionSpec> DisplayOptionSpecs();

// Reads the display options from `parsed`. Returns -1 to go on, or 64
// after the one usage line naming `command`.
int ParseDisplayOptions(const ParsedArguments& parsed, const std::string& command,
                        TDisplayRequest& display);

// The layout `display` asks for the page of the recording `file`: the main
// window's fit rule for the panel of --size, else the zoom. The page size
// decides the layout, so the recording is opened for it first. Returns -1
// to go on, or the exit status after the one line: the load's code, or 7
// when the page has no pixels at that zoom or size, or more than a display
// can count.
int LayoutForRecording(const TDisplayRequest& display, const std::string& file,
                       TDisplayLayout& layout);

}  // namespace quil
