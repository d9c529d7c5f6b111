#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quil {

// Frees what AllocateBigBlock handed out; it remembers how.
struct TBigBlockRelease {
    size_t mappedBytes = 0;  // 0: the block came from the heap
    void operator()(uint8_t* bytes) const;
};

using TBigBlock = std::unique_ptr<uint8_t[], TBigBlockRelease>;

// `bytes` zero bytes for a large block of data (the pixels of a picture,
// the points of a recording, a file read whole), or none when the memory
// cannot be had (FitsInMemory says no, or the allocation fails). A block of a megabyte or more is
// mapped from the system on 2 MiB boundaries and offered huge pages: a page surface of tens of
// megabytes then costs a few dozen page faults instead of thousands, and
// comes zeroed, so the parts nobody writes are never touched. Smaller
// blocks come from the heap. Under the address sanitizer every block comes
// from the heap, so that the sanitizer checks its bounds.
TBigBlock AllocateBigBlock(size_t bytes);

// Gives the whole huge pages among the block's first `bytes` back to the
// system, for a block read once from front to back: what has been read
// stops taking memory. Those bytes read as zero afterwards. A block from
// the heap is left as it is.
void ReleaseBigBlockFront(const TBigBlock& block, size_t bytes);

}  // namespace quil
