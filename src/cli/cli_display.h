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

// The layout `display` asks for: the main window's fit rule for the panel
// of --size, else the zoom.
// Nothing when the page has no pixels at that zoom or size.
std::optional<TDisplayLayout> DisplayLayout(const TDisplayRequest& display, int pageWidth,
                                            int pageHeight);

// Why DisplayLayout gave nothing: the page has no pixels at that zoom or
// size, or more than a display can count.
const char* LayoutRefusal(const TDisplayRequest& display, int pageWidth, int pageHeight);

}  // namespace quil
