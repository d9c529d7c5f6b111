// Recordings appended to a copy of the viewer's executable, found through
// the 20-byte trailer at the very end of the file.

#include <cstring>

#include "model/document.h"
#include "platform/file_reader.h"
#include "platform/little_endian.h"

namespace quil {

namespace {
constexpr uint8_t kTrailerSignature[12] = {0x11, 0x22, 0x33, 0x12, 0x34, 0x56,
                                           0xAA, 0xBB, 0xCC, 0xAB, 0xCD, 0xEF};
constexpr uint64_t kTrailerSize = 20;
}  // namespace

bool TPenReplayWT::FindAppendedRecording(const std::filesystem::path& path, uint32_t* offset,
                                         uint32_t* size) {
    if (offset) *offset = 0;
    if (size) *size = 0;
    TFileReader file;
    if (!file.Open(path) || file.Length() < kTrailerSize) return false;
    uint8_t trailer[kTrailerSize];
    if (!file.Seek(file.Length() - kTrailerSize) || !file.ReadExact(trailer, kTrailerSize))
        return false;
    if (std::memcmp(trailer, kTrailerSignature, sizeof kTrailerSignature) != 0) return false;
    if (offset) *offset = LoadU32(trailer + 12);
    if (size) *size = LoadU32(trailer + 16);
    return true;
}

int TPenReplayWT::LoadAppended(const std::filesystem::path& path) {
    ClearDocument();
    uint32_t offset = 0, size = 0;
    if (!FindAppendedRecording(path, &offset, &size)) return kLoadCannotOpen;
    TFileReader file;
    if (!file.Open(path)) return kLoadCannotOpen;
    return LoadBody(file, offset, size);
}

}  // namespace quil
