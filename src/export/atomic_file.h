#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace quil {

// A new file that replaces a target only once it is complete. It is made
// in the target's own folder (so the final rename stays on one file system)
// under a numbered name not yet in use; Commit flushes it to disk, gives it
// the permission bits of the file it replaces and renames it over the
// target. Until Commit succeeds the target is untouched, and a replacement
// that is never committed removes its file when it goes away.
class TReplacementFile {
public:
    TReplacementFile() = default;
    TReplacementFile(const TReplacementFile&) = delete;
    TReplacementFile& operator=(const TReplacementFile&) = delete;
    ~TReplacementFile();

    // Creates the empty temporary file for `target`. False when the path is
    // empty or names a folder, or when the folder does not take new files.
    bool Create(const std::filesystem::path& target);

    const std::filesystem::path& Path() const { return temp_; }

    // Appends bytes through the open descriptor; false on any write error.
    bool Write(const uint8_t* bytes, size_t length);

    // Closes the descriptor so that another writer (the gzip functions) can
    // open the file by its path. Commit reopens it to flush it.
    void CloseDescriptor();

    // Flushes the file and renames it over the target. On failure the
    // temporary file is removed and the target keeps its old contents.
    bool Commit();

private:
    void Discard();

    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
    bool committed_ = false;
};

// Replaces the contents of `target` with `bytes` through a TReplacementFile.
bool ReplaceFileContents(const std::filesystem::path& target, const uint8_t* bytes, size_t length);

inline bool ReplaceFileContents(const std::filesystem::path& target,
                                const std::vector<uint8_t>& bytes) {
    return ReplaceFileContents(target, bytes.data(), bytes.size());
}

}  // namespace quil
