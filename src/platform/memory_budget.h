#pragma once

#include <cstdint>

namespace quil {

// How much more memory this process may take before an allocation fails or
// the machine starts to thrash: the least of the room left under its
// address-space and data limits, under the memory limit of its control
// group (and of the groups above it), under a ceiling the program set for
// itself, and the memory the system has available. Each figure that cannot
// be read (no /proc in a sandbox) is left out; when the system's available
// memory cannot be read, three quarters of physical memory stand in for it.
uint64_t AllocatableBytes();

// Whether an allocation of `bytes` fits what AllocatableBytes allows.
// Requests of a few megabytes are allowed without looking: their failure is
// caught where they are made, and the look costs more than they do.
bool FitsInMemory(uint64_t bytes);

// A limit the program sets on itself (0: none), counted against its
// resident memory: the fuzz targets keep within their own memory limit
// this way, and a short-lived tool can bound what one input may cost.
void SetMemoryCeiling(uint64_t bytes);

}  // namespace quil
