#pragma once

#include <filesystem>

#include "video/video_options.h"

namespace quil {

// The "Replay video..." command's choices, apart from its dialogs: the
// file types of its save dialog, the name it writes, what its options
// dialog proposes and the video that the answers ask for.

// The save dialog's filter string, in the order of the types (filter
// index 1 to 3).
inline constexpr const char* kVideoFileFilter =
    "MP4 Video (*.mp4)|*.mp4|WebM Video (*.webm)|*.webm|GIF Animation (*.gif)|*.gif";

// The type of a 1-based filter index; any index other than 1 to 3 is MP4.
TVideoType VideoTypeForFilter(int filterIndex);

// The name the command writes: the chosen name with the chosen type's
// extension, by the rule "Image file..." follows for its types (page.gif
// saved as WebM becomes page.webm).
std::filesystem::path VideoFileName(const std::filesystem::path& chosen, int filterIndex);

// What the options dialog asks for.
struct TVideoSettings {
    int rate = 3;  // the replay rate, 0 .. 9, as the window's rate entries
    int width = 0;
    int height = 0;
    int fps = 30;
};

// What the window shows when the command is chosen: the page, the display
// (in device pixels, as the player lays it out), the options and the rate
// entry checked in its menu.
struct TWindowView {
    int pageWidth = 0;
    int pageHeight = 0;
    int displayWidth = 0;
    int displayHeight = 0;
    float zoom = 1.0f;
    int quality = 2;
    bool grid = false;
    bool background = false;
    bool reverse = false;
    int rate = 3;
};

// The options dialog's first answer: the window's rate, its display size
// and 30 frames per second.
TVideoSettings ProposedVideoSettings(const TWindowView& view);

// The video the answers ask for, made by a player of its own with the
// window's options. The window's own display size keeps the window's zoom,
// so that the video shows exactly what the window shows; another size fits
// the page into it by the window's fit rule, as `quil replay --size` does.
// The replay starts from the empty page and ends with the page held for
// two seconds.
TReplayVideoOptions ReplayVideoOptions(const TWindowView& view, const TVideoSettings& settings,
                                       TVideoType type);

}  // namespace quil
