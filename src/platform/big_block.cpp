#include "platform/big_block.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/memory_budget.h"
#include "platform/sanitizer.h"

namespace quil {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
// Below this a block stays on the heap: a mapping of its own costs more
// than it saves.
constexpr size_t kSmallestMapped = size_t(1) << 20;

size_t RoundUp(size_t value, size_t step) { return (value + step - 1) / step * step; }

// A mapping of `length` bytes (a multiple of kHugePage) starting on a
// kHugePage boundary: a larger one is made and its ends are given back.
uint8_t* MapAligned(size_t length) {
    const size_t extra = length + kHugePage;
    if (extra < length) return nullptr;
    void* raw = ::mmap(nullptr, extra, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = RoundUp(start, kHugePage);
    if (aligned > start) ::munmap(raw, aligned - start);
    const size_t tail = start + extra - (aligned + length);
    if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + length), tail);
    auto* bytes = reinterpret_cast<uint8_t*>(aligned);
    // Only advice: without huge pages the block works all the same.
    ::madvise(bytes, length, MADV_HUGEPAGE);
    return bytes;
}

}  // namespace

void TBigBlockRelease::operator()(uint8_t* bytes) const {
    if (!bytes) return;
    if (mappedBytes != 0)
        ::munmap(bytes, mappedBytes);
    else
        delete[] bytes;
}

void ReleaseBigBlockFront(const TBigBlock& block, size_t bytes) {
    const size_t whole = std::min(bytes, block.get_deleter().mappedBytes) / kHugePage * kHugePage;
    if (block && whole > 0) ::madvise(block.get(), whole, MADV_DONTNEED);
}

TBigBlock AllocateBigBlock(size_t bytes) {
    // A block the process has no room for is refused before it is touched.
    if (bytes == 0 || !FitsInMemory(bytes)) return TBigBlock(nullptr, TBigBlockRelease{});
    // Under AddressSanitizer blocks stay on the heap, where it checks bounds.
    if (!kAddressSanitizer && bytes >= kSmallestMapped && bytes <= SIZE_MAX - kHugePage) {
        const size_t length = RoundUp(bytes, kHugePage);
        if (uint8_t* mapped = MapAligned(length))
            return TBigBlock(mapped, TBigBlockRelease{length});
    }
    uint8_t* heap = new (std::nothrow) uint8_t[bytes];
    if (heap) std::memset(heap, 0, bytes);
    return TBigBlock(heap, TBigBlockRelease{});
}

}  // namespace quil
