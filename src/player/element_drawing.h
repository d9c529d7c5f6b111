#pragma once

#include <functional>

#include "model/inkel_data.h"
#include "player/element_rules.h"
#include "player/host_events.h"
#include "player/page_geometry.h"
#include "render/fuzzy_line_gdi.h"

namespace quil {

// Which elements a drawing takes; empty: all.
using TElementFilter = std::function<bool(const TInkelDataWT&)>;

// The elements a drawing of many at once puts on a renderer, and how.
struct TElementRun {
    const TInkelDataWT* first = nullptr;  // the first element to consider
    const TInkelDataWT* end = nullptr;    // not drawn; none: the end of the list
    TElementFilter accept;
    TPageMapping mapping;  // page units to the renderer's display pixels
    // Work samples per display pixel for stamps (the stamp rule's factors).
    float stampFactorX = 4.0f, stampFactorY = 4.0f;
    TStampStretch stampStretch = TStampStretch::InnerEdges;
    // Bands of the work surface drawn side by side (TBulkDrawing); 0: one
    // for each core, at most two.
    int bands = 0;
};

// Draws the run's elements that `accept` takes, in list order, with the
// stroke and stamp rules, all at once (TBulkDrawing): strokes through the
// stroke painters of the work surface's bands, stamps written into each
// band's rows, limited like the strokes by the renderer's clip rectangle,
// no pen marker and no resolve per element. Every element drawn counts on
// `progress`; at every 16th, before it is drawn, `atProgress` runs (when
// given) after what has been drawn so far is resolved into the display
// surface, and then the progress event goes out, on the calling thread.
// With `resolve`, what the drawing changed is resolved at the end; without,
// the caller resolves (a page rendered off screen resolves it all).
//
// This is the road of every drawing of many elements: the player's jumps
// (and so Show), the off-screen page and the printed page. The renderer's
// pen marker must be off while it runs.
void DrawElementsAtOnce(TFuzzyLineGDI& renderer, const TElementRun& run, TDrawingProgress& progress,
                        bool resolve, const std::function<void()>& atProgress = {});

// What DrawElementsAtOnce does where nothing can be drawn: counts the run's
// elements on `progress`, with `atProgress` and the event at every 16th.
void CountElements(const TElementRun& run, TDrawingProgress& progress,
                   const std::function<void()>& atProgress = {});

}  // namespace quil
