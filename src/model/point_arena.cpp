#include "model/point_arena.h"

#include <cstdint>
#include <new>

#include "platform/big_block.h"

namespace quil {

// A block begins with this head; its points follow.
struct TPointArena::TBlock {
    TBlock* older;
    TBigBlockRelease release;
};

namespace {

constexpr size_t RoundUp(size_t value, size_t step) { return (value + step - 1) / step * step; }

}  // namespace

size_t TPointArena::BlockBytes() {
    return RoundUp(sizeof(TBlock), alignof(TPenReplayPointWT)) +
           kBlockPoints * sizeof(TPenReplayPointWT);
}

TPenReplayPointWT* TPointArena::Make(float x, float y, float radius) {
    static_assert(sizeof(TPenReplayPointWT) == 24 && sizeof(TBlock) <= 24,
                  "a block of points fills a huge page");
    if (used_ == kBlockPoints) {
        TBigBlock memory = AllocateBigBlock(BlockBytes());
        if (!memory) return nullptr;
        // The block holds its own release, so that it can free itself.
        newest_ = new (memory.get()) TBlock{newest_, memory.get_deleter()};
        memory.release();
        ++blocks_;
        used_ = 0;
    }
    uint8_t* slot = reinterpret_cast<uint8_t*>(newest_) +
                    RoundUp(sizeof(TBlock), alignof(TPenReplayPointWT)) +
                    used_ * sizeof(TPenReplayPointWT);
    ++used_;
    return new (slot) TPenReplayPointWT{x, y, radius, nullptr};
}

void TPointArena::Clear() {
    while (newest_) {
        TBlock* block = newest_;
        newest_ = block->older;
        const TBigBlockRelease release = block->release;
        block->~TBlock();
        release(reinterpret_cast<uint8_t*>(block));
    }
    used_ = kBlockPoints;
    blocks_ = 0;
}

}  // namespace quil
