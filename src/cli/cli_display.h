#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_common.h"
#include "player/replay_rates.h"

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

// A display size and the zoom that maps the page onto it.
struct TLayout {
    int width = 0, height = 0;
    float zoom = 1.0f;
};

// The display for a zoom: the page scaled, truncated.
std::optional<TLayout> ZoomLayout(int pageWidth, int pageHeight, float zoom);

// The main window's fit rule: the smaller ratio of panel to page, the
// width ratio when they are equal; the display spans the panel along the
// axis of that ratio.
std::optional<TLayout> FitLayout(int pageWidth, int pageHeight, int panelWidth, int panelHeight);

// The layout `display` asks for: the fit rule with --size, else the zoom.
// Nothing when the page has no pixels at that zoom or size.
std::optional<TLayout> DisplayLayout(const TDisplayRequest& display, int pageWidth, int pageHeight);

}  // namespace quil
