#pragma once

#include "model/document.h"
#include "platform/geometry.h"
#include "platform/printer.h"
#include "player/host_events.h"
#include "player/page_render.h"
#include "player/print_status.h"

namespace quil {

// What to print: a part of the page, where it goes on the printer's page,
// and at which quality.
struct TPrintRequest {
    TRect area;          // page units; right and bottom exclusive
    TRect destination;   // printer pixels, by its edges
    float scale = 1.0f;  // the Print item's tag / 100: 1.0, 1.5 or 2.0
};

// Prints the area of the page of `document` as the replay shows it at
// `position` (the elements before it) as one printer job of one page. The
// area is drawn by a Best renderer of its own at the print resolution (the
// pixels the whole page would have at the scale): white paper, the layers
// `options` allow, the elements by the stroke and stamp rules. Eraser
// strokes there give white paper back, also over background and grid. The
// work surface is then reduced by averaging to the destination's size in
// printer pixels, and the part of that picture that lies on the printer's
// page is handed over: the printer lays it down pixel for pixel, so the
// print does not depend on how its driver would reduce. Along an axis
// where the destination has more printer pixels than the work surface has
// samples, the picture keeps the samples and the printer enlarges them
// without smoothing, so the picture is never larger than the work surface.
// The job starts only after all drawing.
//
// A drawing of more than 16 elements sends busy and progress events to
// `events`. Nothing is allocated when the work surface and the picture
// would not fit in memory together (TooLarge).
TPrintStatus PrintPage(const TPenReplayWT& document, int position, const TPageOptions& options,
                       IPrinter& printer, const TPrintRequest& request,
                       const THostEvents& events = {});

}  // namespace quil
