#include "player/window_layout.h"

#include <climits>
#include <cmath>

namespace quil {

TDisplayLayout TWindowLayout::Fit(int pageWidth, int pageHeight, int baseWidth, int baseHeight) {
    if (pageWidth <= 0 || pageHeight <= 0) return {};
    // Single-precision ratios, as the player's zoom is.
    const float byWidth = float(baseWidth) / float(pageWidth);
    const float byHeight = float(baseHeight) / float(pageHeight);
    TDisplayLayout layout;
    if (byWidth > byHeight) {
        layout.zoom = byHeight;
        layout.width = int(std::trunc(pageWidth * byHeight));
        layout.height = baseHeight;
    } else {
        layout.zoom = byWidth;
        layout.width = baseWidth;
        layout.height = int(std::trunc(pageHeight * byWidth));
    }
    layout.left = (baseWidth - layout.width) >> 1;
    layout.top = (baseHeight - layout.height) >> 1;
    return layout;
}

std::optional<TDisplayLayout> TWindowLayout::Zoom(int pageWidth, int pageHeight, float zoom) {
    const double w = std::trunc(double(float(pageWidth * zoom)));
    const double h = std::trunc(double(float(pageHeight * zoom)));
    if (!(w >= 1) || !(h >= 1) || w > INT_MAX || h > INT_MAX) return std::nullopt;
    return TDisplayLayout{0, 0, int(w), int(h), zoom};
}

TDeviceDisplay TWindowLayout::ToDevice(const TDisplayLayout& layout, double pixelRatio) {
    if (!(pixelRatio > 0) || !std::isfinite(pixelRatio)) pixelRatio = 1.0;
    return {int(std::trunc(layout.width * pixelRatio)), int(std::trunc(layout.height * pixelRatio)),
            float(layout.zoom * pixelRatio)};
}

std::optional<TWindowRect> TWindowLayout::Startup(TSize page, TSize window, TSize base) const {
    const int dx = window.width - base.width;
    const int dy = window.height - base.height;
    if (screenWidth_ - dx < page.width || screenHeight_ - dy < page.height) return std::nullopt;
    TWindowRect rect;
    rect.width = dx + page.width;
    rect.height = dy + page.height;
    rect.left = (screenWidth_ - rect.width) >> 1;
    rect.top = (screenHeight_ - rect.height) >> 1;
    return rect;
}

TOpenLayout TWindowLayout::AfterOpen(TSize page, TSize window, TSize base, bool maximised) const {
    const int dx = window.width - base.width;
    const int dy = window.height - base.height;
    TOpenLayout layout;
    if (page.width <= screenWidth_ - dx && page.height <= screenHeight_ - dy && !maximised) {
        layout.resize = true;
        layout.window = {dx + page.width, dy + page.height};
        layout.display = {0, 0, page.width, page.height, 1.0f};
    } else {
        layout.display = Fit(page.width, page.height, base.width, base.height);
    }
    return layout;
}

}  // namespace quil
