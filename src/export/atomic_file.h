#pragma once

#include <signal.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace quil {

// The one road by which every writer puts a file where the user asked. What
// happens depends on what the target is:
//  - "-" is standard output, written through (as command-line tools take it);
//  - an existing file that is neither a regular file nor a folder (a
//    character device, a FIFO, a socket) is written through and never
//    replaced: a null device swallows the bytes, a FIFO passes them on;
//  - anything else is a regular file, new or replaced only once the new one
//    is complete. The bytes go into an unnamed file in the target's folder,
//    which Commit flushes, links under a numbered name "Tmp%05d.tmp" and
//    renames over the target at once, so that even a kill or a power cut
//    leaves the old file and nothing else. Where the file system has no
//    unnamed files, a named numbered file takes its place; SIGINT and
//    SIGTERM then remove it before the process ends (interrupt_cleanup.h).
// The replacement gets the permission bits of the file it replaces, and a
// symbolic link survives: the file it points to is replaced.
//
// A failure leaves the target as it was and keeps its reason as an errno
// value (Error(), and LastWriteError() for the thread's last writer).
class TReplacementFile {
public:
    enum class TRoad { None, Unnamed, Named, Through };

    TReplacementFile() = default;
    TReplacementFile(const TReplacementFile&) = delete;
    TReplacementFile& operator=(const TReplacementFile&) = delete;
    ~TReplacementFile();

    // Opens the road to `target`. False, with the reason, for an empty path,
    // a folder, a path that cannot lead to a file (a folder part that is a
    // file, a loop of links, a name too long, no permission), or a folder
    // that takes no new file.
    bool Create(const std::filesystem::path& target);
    // The same with the named temporary file even where unnamed ones exist.
    bool CreateNamed(const std::filesystem::path& target);

    TRoad Road() const { return road_; }
    // The open descriptor the bytes go through; another writer may write
    // through a duplicate of it.
    int Descriptor() const { return fd_; }
    // A path that opens the file being written: the named temporary file,
    // or /proc/self/fd/N for the unnamed file and for a target written
    // through.
    const std::filesystem::path& Path() const { return temp_; }

    // Appends bytes through the descriptor; false on any write error.
    bool Write(const uint8_t* bytes, size_t length);

    // Flushes the file and puts it in place of the target (or, written
    // through, closes it). On failure nothing is left but the old target.
    bool Commit();

    // Tells that a write through another descriptor of the file failed for
    // `error` (an errno value); the file is discarded. Returns false.
    bool Fail(int error);

    // The errno value of the first failure, 0 while there is none.
    int Error() const { return error_; }

private:
    bool Open(const std::filesystem::path& target, bool unnamedFirst);
    bool OpenThrough(int fd);
    bool CommitUnnamed();
    bool CommitNamed();
    bool CopyIntoNamedFile();
    void Discard();

    TRoad road_ = TRoad::None;
    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
    int ticket_ = -1;  // the named file's place among the watched files
    int error_ = 0;
    bool committed_ = false;
};

// Turns the signals that a failing write raises into errors of the write,
// in the calling thread while it lives: SIGPIPE when the reader of a FIFO
// or pipe went away, SIGXFSZ at the file size limit. Writers that write
// through a descriptor of a TReplacementFile themselves hold one.
class TQuietWrites {
public:
    TQuietWrites();
    ~TQuietWrites();
    TQuietWrites(const TQuietWrites&) = delete;
    TQuietWrites& operator=(const TQuietWrites&) = delete;

private:
    sigset_t saved_;
};

// Replaces the contents of `target` with `bytes` through a TReplacementFile.
// False when they could not be written; LastWriteError() tells why.
bool ReplaceFileContents(const std::filesystem::path& target, const uint8_t* bytes, size_t length);

inline bool ReplaceFileContents(const std::filesystem::path& target,
                                const std::vector<uint8_t>& bytes) {
    return ReplaceFileContents(target, bytes.data(), bytes.size());
}

// The errno value of the last failure of a TReplacementFile in this thread
// (0 when the last one created succeeded), for callers that only see
// whether a write was done.
int LastWriteError();

}  // namespace quil
