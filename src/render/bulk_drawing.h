#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "render/stroke_painter.h"

namespace quil {

class TFuzzyLineGDI;

// Many shapes drawn onto a renderer at once: the page of an export or a
// print, or the elements a jump forward puts on the screen. Strokes go
// through stroke painters straight to the work surface, without a pen
// marker and without a resolve each; what they changed is resolved when
// asked (at the end, and at every progress event on the screen so that the
// page grows there), which gives the display the same pixels as resolving
// after every shape.
//
// The work surface is shared between bands, each drawn by a painter of its
// own on a thread of its own (the first on the calling thread): every band
// draws every shape, clipped to its own rows, so the samples are those one
// painter would write. The renderer must not be drawn on otherwise, nor
// its ink, clip or surfaces changed, while a drawing runs.
class TBulkDrawing {
public:
    // `bands` 0: as many as the machine has cores, at most two. Fewer bands
    // when a thread cannot be started.
    explicit TBulkDrawing(TFuzzyLineGDI& renderer, int bands = 0);
    ~TBulkDrawing();
    TBulkDrawing(const TBulkDrawing&) = delete;
    TBulkDrawing& operator=(const TBulkDrawing&) = delete;

    // Calls draw(painter) once for every band at the same time and returns
    // when all calls have returned. Each painter writes only its own rows;
    // whatever else `draw` writes to the work surface must keep to them too
    // (TStrokePainter::ForEachOwnRun) and be noted as changed.
    void Run(const std::function<void(TStrokePainter&)>& draw);
    // Resolves into the display surface what the painters have changed
    // since the last call (growing the dirty rectangle).
    void ResolveChanged();

private:
    void Work(size_t band);

    TFuzzyLineGDI& renderer_;
    std::vector<std::unique_ptr<TStrokePainter>> painters_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    const std::function<void(TStrokePainter&)>* job_ = nullptr;
    unsigned generation_ = 0;  // counts the jobs handed out
    int busy_ = 0;             // helper threads still drawing the current job
    bool ending_ = false;
};

}  // namespace quil
