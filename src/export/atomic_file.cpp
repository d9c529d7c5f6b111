#include "export/atomic_file.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>

#include "export/interrupt_cleanup.h"
#include "platform/temp_name.h"

namespace quil {

namespace fs = std::filesystem;

namespace {

// MakeTempName only picks a free name; another process may take it before
// the exclusive create or the link, and then the next free name is tried.
constexpr int kMaxNameAttempts = 100;
constexpr const char* kTempPattern = "Tmp%05d.tmp";
// One write call at most; the kernel takes no more at once anyway.
constexpr size_t kLargestWrite = size_t(1) << 30;

thread_local int lastError = 0;

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

fs::path DescriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// What an O_TMPFILE open answers where the file system or the kernel has no
// unnamed files; any other error is the folder's own and ends the write.
bool NoUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// Opens a new numbered file "Tmp%05d.tmp" in `folder`, never one that
// exists, and watches it for removal on interruption.
int CreateNumberedFile(const fs::path& folder, fs::path& created, int& ticket) {
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        fs::path candidate = MakeTempName(kTempPattern, folder);
        TInterruptHold hold;
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ticket = WatchTemporaryFile(candidate.c_str());
            created = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    errno = EEXIST;
    return -1;
}

// Gives the unnamed file of `fd` a free numbered name in `folder`. Linking
// by the descriptor itself needs a recent kernel or privilege; the path of
// the descriptor under /proc does the same where /proc is there. Returns 0
// or the errno value.
int LinkNumbered(int fd, const fs::path& folder, fs::path& linked) {
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        fs::path candidate = MakeTempName(kTempPattern, folder);
        if (::linkat(fd, "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH) == 0 ||
            (errno != EEXIST && ::linkat(AT_FDCWD, DescriptorPath(fd).c_str(), AT_FDCWD,
                                         candidate.c_str(), AT_SYMLINK_FOLLOW) == 0)) {
            linked = std::move(candidate);
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

TQuietWrites::TQuietWrites() {
    sigset_t quiet;
    sigemptyset(&quiet);
    sigaddset(&quiet, SIGPIPE);
    sigaddset(&quiet, SIGXFSZ);
    ::pthread_sigmask(SIG_BLOCK, &quiet, &saved_);
}

TQuietWrites::~TQuietWrites() {
    // What the writes raised is taken back here, so that putting the mask
    // back does not deliver it.
    sigset_t pending;
    sigpending(&pending);
    for (int signal : {SIGPIPE, SIGXFSZ}) {
        if (!sigismember(&pending, signal) || sigismember(&saved_, signal)) continue;
        sigset_t one;
        sigemptyset(&one);
        sigaddset(&one, signal);
        const timespec now{};
        ::sigtimedwait(&one, nullptr, &now);
    }
    ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
}

TReplacementFile::~TReplacementFile() {
    if (!committed_) Discard();
}

bool TReplacementFile::Create(const fs::path& target) { return Open(target, true); }

bool TReplacementFile::CreateNamed(const fs::path& target) { return Open(target, false); }

bool TReplacementFile::Open(const fs::path& target, bool unnamedFirst) {
    lastError = 0;
    if (road_ != TRoad::None) {
        lastError = EINVAL;  // one target for each replacement
        return false;
    }
    if (target.empty()) return Fail(ENOENT);
    if (target == "-") return OpenThrough(::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0));
    target_ = ResolveTarget(target);
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    // Not found is the one reason to make a new file; any other (a folder
    // part that is a file, a loop of links, a name too long, no search
    // permission) ends the write at once.
    if (!exists && errno != ENOENT) return Fail(errno);
    if (exists && S_ISDIR(existing.st_mode)) return Fail(EISDIR);
    if (exists && !S_ISREG(existing.st_mode))
        return OpenThrough(::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));

    const fs::path folder = FolderOf(target_);
    if (unnamedFirst) {
        fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            road_ = TRoad::Unnamed;
            temp_ = DescriptorPath(fd_);
        } else if (!NoUnnamedFiles(errno)) {
            return Fail(errno);
        }
    }
    if (road_ == TRoad::None) {
        fd_ = CreateNumberedFile(folder, temp_, ticket_);
        if (fd_ < 0) return Fail(errno);
        road_ = TRoad::Named;
    }
    // Keep the permission bits of the file being replaced; a new file gets
    // the creator's default (0666 less the umask) from open.
    if (exists && ::fchmod(fd_, existing.st_mode & 07777) != 0) return Fail(errno);
    return true;
}

bool TReplacementFile::OpenThrough(int fd) {
    if (fd < 0) return Fail(errno);
    road_ = TRoad::Through;
    fd_ = fd;
    temp_ = DescriptorPath(fd);
    return true;
}

bool TReplacementFile::Write(const uint8_t* bytes, size_t length) {
    if (fd_ < 0) return false;
    TQuietWrites quiet;
    while (length > 0) {
        const ssize_t n = ::write(fd_, bytes, std::min(length, kLargestWrite));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Fail(n < 0 ? errno : EIO);
        bytes += n;
        length -= size_t(n);
    }
    return true;
}

bool TReplacementFile::Commit() {
    if (road_ == TRoad::None || committed_ || error_ != 0) return false;
    bool done = false;
    switch (road_) {
    case TRoad::Unnamed: done = CommitUnnamed(); break;
    case TRoad::Named: done = CommitNamed(); break;
    case TRoad::Through: {
        const int fd = fd_;
        fd_ = -1;
        // Linux closes the descriptor even when close is interrupted.
        done = ::close(fd) == 0 || errno == EINTR || Fail(errno);
        break;
    }
    case TRoad::None: break;
    }
    committed_ = done;
    return done;
}

bool TReplacementFile::CommitUnnamed() {
    if (::fsync(fd_) != 0) return Fail(errno);
    fs::path linked;
    int unlinked = 0;
    {
        // The numbered name exists only inside this step, which an
        // interruption cannot split.
        TInterruptHold hold;
        unlinked = LinkNumbered(fd_, FolderOf(target_), linked);
        if (unlinked == 0 && ::rename(linked.c_str(), target_.c_str()) != 0) {
            const int error = errno;
            ::unlink(linked.c_str());
            return Fail(error);
        }
    }
    // No way to give the file a name: it is copied into a named one, which
    // the interruption handler knows of, so an interruption may come.
    if (unlinked != 0) return CopyIntoNamedFile() && CommitNamed();
    ::close(fd_);
    fd_ = -1;
    temp_.clear();
    SyncFolder(FolderOf(target_));
    return true;
}

bool TReplacementFile::CommitNamed() {
    if (::fsync(fd_) != 0) return Fail(errno);
    // close() can report a failed delayed write, so its result counts too.
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Fail(errno);
    TInterruptHold hold;
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return Fail(errno);
    ForgetTemporaryFile(ticket_);
    ticket_ = -1;
    temp_.clear();
    SyncFolder(FolderOf(target_));
    return true;
}

bool TReplacementFile::CopyIntoNamedFile() {
    struct stat unnamed {};
    if (::fstat(fd_, &unnamed) != 0) return Fail(errno);
    fs::path named;
    int ticket = -1;
    const int out = CreateNumberedFile(FolderOf(target_), named, ticket);
    if (out < 0) return Fail(errno);
    const int in = fd_;
    fd_ = out;
    temp_ = std::move(named);
    ticket_ = ticket;
    road_ = TRoad::Named;

    TQuietWrites quiet;
    off_t offset = 0;
    int error = ::fchmod(out, unnamed.st_mode & 07777) == 0 ? 0 : errno;
    while (error == 0 && offset < unnamed.st_size) {
        const ssize_t n = ::sendfile(out, in, &offset, size_t(unnamed.st_size - offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) error = n < 0 ? errno : EIO;
    }
    ::close(in);
    return error == 0 || Fail(error);
}

bool TReplacementFile::Fail(int error) {
    if (error_ == 0) error_ = error != 0 ? error : EIO;
    lastError = error_;
    Discard();
    return false;
}

void TReplacementFile::Discard() {
    // An unnamed file goes with its last descriptor.
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (road_ == TRoad::Named && !temp_.empty()) {
        TInterruptHold hold;
        ::unlink(temp_.c_str());
        ForgetTemporaryFile(ticket_);
        ticket_ = -1;
    }
    temp_.clear();
}

bool ReplaceFileContents(const fs::path& target, const uint8_t* bytes, size_t length) {
    TReplacementFile file;
    return file.Create(target) && file.Write(bytes, length) && file.Commit();
}

int LastWriteError() { return lastError; }

}  // namespace quil
