#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quil {

// Frees what AllocateSurfaceBytes handed out; it remembers how.
struct TSurfaceRelease {
    size_t mappedBytes = 0;  // 0: the block came from the heap
    void operator()(uint8_t* bytes) const;
};

using TSurfaceBytes = std::unique_ptr<uint8_t[], TSurfaceRelease>;

// `bytes` zero bytes for the pixels of a picture, or none when the memory
// cannot be had. A large block is mapped from the system on 2 MiB
// boundaries and offered huge pages: a page surface of tens of megabytes
// then costs a few dozen page faults instead of thousands, and comes
// zeroed, so the parts nobody writes are never touched. Small blocks come
// from the heap. Under the address sanitizer every block comes from the
// heap, so that the sanitizer checks its bounds.
TSurfaceBytes AllocateSurfaceBytes(size_t bytes);

}  // namespace quil
