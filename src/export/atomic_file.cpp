#include "export/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/temp_name.h"

namespace quil {

namespace fs = std::filesystem;

namespace {

// MakeTempName only picks a free name; another process may take it before
// the exclusive create, and then the next free name is tried.
constexpr int kMaxNameAttempts = 100;
constexpr const char* kTempPattern = "Tmp%05d.tmp";

// The file that a write to `target` would change: a symbolic link is
// followed so that the link itself survives the replacement.
fs::path ResolveTarget(const fs::path& target) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec) return resolved;
    }
    return target;
}

fs::path FolderOf(const fs::path& target) {
    fs::path folder = target.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// Opens a new numbered file "Tmp%05d.tmp" in `folder`, never one that exists.
int CreateNumberedFile(const fs::path& folder, fs::path& created) {
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        fs::path candidate = MakeTempName(kTempPattern, folder);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            created = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    errno = EEXIST;
    return -1;
}

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

TReplacementFile::~TReplacementFile() {
    if (!committed_) Discard();
}

bool TReplacementFile::Create(const fs::path& target) {
    if (target.empty() || !temp_.empty()) return false;
    target_ = ResolveTarget(target);
    std::error_code ec;
    const fs::file_status status = fs::status(target_, ec);
    if (fs::is_directory(status)) return false;
    fd_ = CreateNumberedFile(FolderOf(target_), temp_);
    if (fd_ < 0) return false;
    // Keep the permission bits of the file being replaced; a new file gets
    // the creator's default (0666 less the umask) from open.
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0 && ::fchmod(fd_, old.st_mode & 07777) != 0) {
        Discard();
        return false;
    }
    return true;
}

bool TReplacementFile::Write(const uint8_t* bytes, size_t length) {
    if (fd_ < 0) return false;
    while (length > 0) {
        const ssize_t n = ::write(fd_, bytes, length);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += n;
        length -= size_t(n);
    }
    return true;
}

void TReplacementFile::CloseDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool TReplacementFile::Commit() {
    if (temp_.empty() || committed_) return false;
    if (fd_ < 0) fd_ = ::open(temp_.c_str(), O_RDONLY | O_CLOEXEC);
    // close() can report a failed delayed write, so its result counts too.
    const bool flushed = fd_ >= 0 && ::fsync(fd_) == 0;
    const bool closed = fd_ >= 0 && ::close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed || ::rename(temp_.c_str(), target_.c_str()) != 0) {
        Discard();
        return false;
    }
    committed_ = true;
    SyncFolder(FolderOf(target_));
    return true;
}

void TReplacementFile::Discard() {
    CloseDescriptor();
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

bool ReplaceFileContents(const fs::path& target, const uint8_t* bytes, size_t length) {
    TReplacementFile file;
    return file.Create(target) && file.Write(bytes, length) && file.Commit();
}

}  // namespace quil
