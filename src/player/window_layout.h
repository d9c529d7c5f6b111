#pragma once

#include <optional>

#include "platform/geometry.h"

namespace quil {

// Where the display panel goes inside the base panel, and the zoom that maps
// page units onto it.
struct TDisplayLayout {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    float zoom = 1.0f;
    bool operator==(const TDisplayLayout&) const = default;
};

// A window's outer rectangle on the screen.
struct TWindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TWindowRect&) const = default;
};

// What the window does with a recording that has just opened: either it
// takes the size that shows the page at zoom 1.0 (resize set), or it keeps
// its size and fits the page into its base panel.
struct TOpenLayout {
    bool resize = false;
    TSize window;  // the new outer size when resize is set
    TDisplayLayout display;
    bool operator==(const TOpenLayout&) const = default;
};

// The player's display in device pixels for a layout in logical pixels: on a
// high-density screen the page is rendered at the screen's own resolution.
struct TDeviceDisplay {
    int width = 0;
    int height = 0;
    float zoom = 1.0f;
};

// The main window's sizing rules, in the window's logical pixels. "Window"
// sizes are outer sizes, frame included; the difference between the window
// and its base panel (frame, menu bar, status bar) is what surrounds a page.
class TWindowLayout {
public:
    TWindowLayout(int screenWidth, int screenHeight)
        : screenWidth_(screenWidth), screenHeight_(screenHeight) {}

    // The fit rule: the page enlarged or reduced to fill the base panel with
    // its aspect kept, centred. The smaller ratio of panel to page decides,
    // the width ratio when they are equal; the display spans the panel along
    // that axis. A page without pixels gives an empty display.
    static TDisplayLayout Fit(int pageWidth, int pageHeight, int baseWidth, int baseHeight);

    // The display of the page at a zoom, truncated; none when it would have
    // no pixels or more than an int can count.
    static std::optional<TDisplayLayout> Zoom(int pageWidth, int pageHeight, float zoom);

    static TDeviceDisplay ToDevice(const TDisplayLayout& layout, double pixelRatio);

    // Start-up: when the player's start page (its page size before any
    // recording, 1022 x 718) fits on the screen beside what surrounds the
    // base panel, the window grows so that the base panel is that page and
    // is centred on the screen; otherwise none, and the design size stays.
    std::optional<TWindowRect> Startup(TSize page, TSize window, TSize base) const;

    // After a successful open: a page that fits on the screen beside what
    // surrounds the base panel, in a window that is not maximised, is shown
    // at zoom 1.0 at the top-left of a window sized to it (the position stays;
    // a minimum window size may leave grey around it); any other page is
    // fitted into the base panel as it is.
    TOpenLayout AfterOpen(TSize page, TSize window, TSize base, bool maximised) const;

private:
    int screenWidth_;
    int screenHeight_;
};

}  // namespace quil
