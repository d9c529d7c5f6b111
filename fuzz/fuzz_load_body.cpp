// Any bytes as a recording region: the loader must return a code without
// crashing, reading outside the region or allocating beyond reason.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/document.h"
#include "model/page_size.h"
#include "platform/file_reader.h"
#include "platform/memory_budget.h"

// The loader refuses a record whose points would not fit this, well inside
// the fuzzer's own memory limit (-rss_limit_mb=2048), so a small packed
// input that expands to billions of points ends the load instead of the run.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quil::SetMemoryCeiling(uint64_t(512) << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Plain bodies pass their size check only when the size word matches
    // the region: set it, so mutations reach the records.
    std::vector<uint8_t> bytes(data, data + size);
    const uint32_t length = uint32_t(size);
    size_t sizeAt = 0;
    if (size >= 12 && (std::memcmp(data, "Quil", 4) == 0 || std::memcmp(data, "Qui2", 4) == 0))
        sizeAt = 4;
    else if (size >= 12 && std::memcmp(data, "Qui3", 4) == 0)
        sizeAt = 8;
    if (sizeAt != 0)
        for (int i = 0; i < 4; ++i)
            bytes[sizeAt + size_t(i)] = uint8_t(length >> (8 * i));

    quil::TFileReader reader;
    reader.OpenMemory(bytes.data(), bytes.size());
    quil::TPenReplayWT document(quil::kDefaultPageWidth, quil::kDefaultPageHeight);
    document.LoadBody(reader, 0, length);
    // Walk what was built, as the player would.
    int count = 0;
    for (const quil::TInkelDataWT* e = document.firstElement; e; e = e->next)
        ++count;
    if (count != document.ElementCount()) __builtin_trap();
    return 0;
}
