#pragma once

#include "model/document.h"
#include "platform/bitmap.h"
#include "player/host_events.h"

namespace quil {

// The display options that decide which layers a page shows under its
// elements: the background picture and the grid, each only when the
// document has one.
struct TPageOptions {
    bool background = true;
    bool grid = true;
};

// Whether the document has a background picture to show: a mode without a
// picture has nothing.
bool HasBackgroundPicture(const TPenReplayWT& document);

// Renders the page of `document` as the replay shows it at `position` (the
// elements before it; the element count or more for the complete page)
// onto the 24-bit `target`, whose every pixel is overwritten, with a Best
// renderer of its own: white paper, the layers `options` allow, and the
// elements by the stroke and stamp rules, with no inversion and no pen
// marker. With `stretch` the page fills the target (x and y scaled apart);
// otherwise it keeps its aspect, centred between white margins. A drawing
// of many elements sends busy and progress events to `events`.
//
// Returns 1 when drawn, 0 when the target is not a 24-bit picture, the page
// has no size or the renderer's surfaces cannot be had (the target is then
// untouched).
int RenderPage(const TPenReplayWT& document, int position, const TPageOptions& options,
               TBitmap& target, bool stretch, const THostEvents& events = {});

}  // namespace quil
