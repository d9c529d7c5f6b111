#pragma once

#include <cstddef>

#include "model/pen_replay_point.h"

namespace quil {

// The pen points of a document, held in blocks of many points each: one
// allocation per block instead of one per point, no bookkeeping per point,
// and all of them freed at once. The points' `next` links chain them into
// strokes as before; the arena only holds them.
class TPointArena {
public:
    TPointArena() = default;
    ~TPointArena() { Clear(); }
    TPointArena(const TPointArena&) = delete;
    TPointArena& operator=(const TPointArena&) = delete;

    // A new point with no next point; none when memory runs out (nothing
    // changes then).
    TPenReplayPointWT* Make(float x, float y, float radius);
    // Frees every point made so far.
    void Clear();
    // The memory the points take: their blocks.
    size_t Bytes() const { return blocks_ * BlockBytes(); }
    static size_t BlockBytes();

    // Points per block: with its head, a block fills 2 MiB, one huge page
    // (AllocateBigBlock).
    static constexpr size_t kBlockPoints = 87380;

private:
    struct TBlock;
    TBlock* newest_ = nullptr;  // each block holds the block made before
    size_t blocks_ = 0;
    size_t used_ = kBlockPoints;  // points taken in the newest block
};

}  // namespace quil
