#include "platform/memory_budget.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quil {

namespace {

constexpr uint64_t kUnlimited = UINT64_MAX;
constexpr uint64_t kAllowedWithoutLooking = uint64_t(8) << 20;
// When nothing about the machine can be read at all.
constexpr uint64_t kLastResort = uint64_t(1) << 32;

std::atomic<uint64_t> ceiling{0};

// Reads a small text file of /proc or /sys whole (NUL-terminated); false
// when it cannot be read.
bool ReadSmallFile(const std::string& path, char* text, size_t capacity) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    size_t length = 0;
    while (length + 1 < capacity) {
        const ssize_t n = ::read(fd, text + length, capacity - 1 - length);
        if (n <= 0) break;
        length += size_t(n);
    }
    ::close(fd);
    text[length] = '\0';
    return length > 0;
}

uint64_t PageSize() {
    const long size = ::sysconf(_SC_PAGESIZE);
    return size > 0 ? uint64_t(size) : 4096;
}

// The process's sizes from /proc/self/statm, in bytes.
struct TProcessSizes {
    uint64_t virtualBytes = 0;   // the whole address space in use
    uint64_t residentBytes = 0;  // in memory now
    uint64_t dataBytes = 0;      // data and stack, as the data limit counts them
};

bool ReadProcessSizes(TProcessSizes& sizes) {
    char text[256];
    if (!ReadSmallFile("/proc/self/statm", text, sizeof text)) return false;
    unsigned long long size, resident, shared, code, library, data;
    if (std::sscanf(text, "%llu %llu %llu %llu %llu %llu", &size, &resident, &shared, &code,
                    &library, &data) != 6)
        return false;
    const uint64_t page = PageSize();
    sizes.virtualBytes = size * page;
    sizes.residentBytes = resident * page;
    sizes.dataBytes = data * page;
    return true;
}

uint64_t RoomBelow(uint64_t limit, uint64_t used) { return used >= limit ? 0 : limit - used; }

// The room under a resource limit of the process, given what it counts.
uint64_t RoomUnderLimit(int resource, uint64_t used) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kUnlimited;
    return RoomBelow(uint64_t(limit.rlim_cur), used);
}

// MemAvailable of /proc/meminfo: free memory plus what the kernel can
// reclaim without swapping.
uint64_t SystemAvailable() {
    char text[8192];
    if (ReadSmallFile("/proc/meminfo", text, sizeof text)) {
        if (const char* line = std::strstr(text, "MemAvailable:")) {
            unsigned long long kilobytes = 0;
            if (std::sscanf(line + 13, "%llu", &kilobytes) == 1) return kilobytes * 1024;
        }
    }
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    if (pages <= 0) return kLastResort;
    return uint64_t(pages) * PageSize() / 4 * 3;
}

// A number in a control group file, or kUnlimited for "max" or no file.
uint64_t GroupValue(const std::string& path) {
    char text[64];
    if (!ReadSmallFile(path, text, sizeof text) || std::strncmp(text, "max", 3) == 0)
        return kUnlimited;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    return end == text ? kUnlimited : uint64_t(value);
}

// The least room under memory.max of the process's control group and of
// every group above it (the unified hierarchy).
uint64_t ControlGroupRoom() {
    char text[4096];
    if (!ReadSmallFile("/proc/self/cgroup", text, sizeof text)) return kUnlimited;
    // The unified hierarchy's line reads "0::/path/of/the/group".
    const char* line = text;
    while (line != nullptr && std::strncmp(line, "0::", 3) != 0) {
        line = std::strchr(line, '\n');
        if (line != nullptr) ++line;
    }
    if (line == nullptr) return kUnlimited;
    std::string group(line + 3, std::strcspn(line + 3, "\n"));
    uint64_t room = kUnlimited;
    for (;;) {
        const std::string folder = "/sys/fs/cgroup" + group;
        const uint64_t limit = GroupValue(folder + "/memory.max");
        if (limit != kUnlimited) {
            const uint64_t current = GroupValue(folder + "/memory.current");
            room = std::min(room, RoomBelow(limit, current == kUnlimited ? 0 : current));
        }
        const size_t parent = group.find_last_of('/');
        if (group.empty() || group == "/" || parent == std::string::npos) break;
        group.resize(parent);  // "/a" gives "", the top of the hierarchy
    }
    return room;
}

}  // namespace

uint64_t AllocatableBytes() {
    uint64_t room = SystemAvailable();
    room = std::min(room, ControlGroupRoom());
    TProcessSizes sizes;
    const bool known = ReadProcessSizes(sizes);
    // Without /proc the limits are known but not what is used of them.
    room = std::min(room, RoomUnderLimit(RLIMIT_AS, known ? sizes.virtualBytes : 0));
    room = std::min(room, RoomUnderLimit(RLIMIT_DATA, known ? sizes.dataBytes : 0));
    if (const uint64_t own = ceiling.load(std::memory_order_relaxed); own != 0)
        room = std::min(room, RoomBelow(own, known ? sizes.residentBytes : 0));
    return room;
}

bool FitsInMemory(uint64_t bytes) {
    return bytes <= kAllowedWithoutLooking || bytes <= AllocatableBytes();
}

void SetMemoryCeiling(uint64_t bytes) { ceiling.store(bytes, std::memory_order_relaxed); }

}  // namespace quil
