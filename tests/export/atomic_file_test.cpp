#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <future>
#include <thread>

#include "export/atomic_file.h"
#include "test_folder.h"

namespace quil {
namespace {

namespace fs = std::filesystem;
using testing::FileType;
using testing::ReadFifo;
using testing::ReadText;
using testing::TTestFolder;
using testing::WriteText;
using TRoad = TReplacementFile::TRoad;

bool Replace(const fs::path& target, const std::string& text) {
    return ReplaceFileContents(target, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

bool Write(TReplacementFile& file, const std::string& text) {
    return file.Write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

bool Create(TReplacementFile& file, const fs::path& target, TRoad road) {
    return road == TRoad::Named ? file.CreateNamed(target) : file.Create(target);
}

TEST(ReplacementFile, WritesNewFileAndLeavesNoTemporaryFile) {
    for (TRoad road : {TRoad::Unnamed, TRoad::Named}) {
        TTestFolder folder;
        TReplacementFile file;
        ASSERT_TRUE(Create(file, folder / "page.png", road));
        EXPECT_EQ(file.Road(), road);
        ASSERT_TRUE(Write(file, "new contents"));
        ASSERT_TRUE(file.Commit());
        EXPECT_EQ(ReadText(folder / "page.png"), "new contents");
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.png"});
    }
}

TEST(ReplacementFile, ReplacesAndKeepsPermissionBits) {
    for (TRoad road : {TRoad::Unnamed, TRoad::Named}) {
        TTestFolder folder;
        WriteText(folder / "page.bmp", "old contents that are longer");
        ASSERT_EQ(::chmod((folder / "page.bmp").c_str(), 0640), 0);
        TReplacementFile file;
        ASSERT_TRUE(Create(file, folder / "page.bmp", road));
        ASSERT_TRUE(Write(file, "new") && file.Commit());
        EXPECT_EQ(ReadText(folder / "page.bmp"), "new");
        struct stat st {};
        ASSERT_EQ(::stat((folder / "page.bmp").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.bmp"});
    }
}

TEST(ReplacementFile, SymbolicLinkStaysAndItsFileIsReplaced) {
    TTestFolder folder;
    WriteText(folder / "real.png", "old");
    fs::create_symlink("real.png", folder / "link.png");
    ASSERT_TRUE(Replace(folder / "link.png", "new"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.png"));
    EXPECT_EQ(ReadText(folder / "real.png"), "new");
}

// A path that cannot lead to a file ends the write at once, with the
// reason, however many numbered names there would be to try.
TEST(ReplacementFile, PathsThatCannotBeWrittenFailAtOnceWithTheirReason) {
    TTestFolder folder;
    WriteText(folder / "afile", "kept");
    fs::create_directory(folder / "page.png");
    WriteText(folder / "page.png" / "inside", "kept");
    fs::create_symlink("loop", folder / "loop");
    const struct {
        fs::path target;
        int error;
    } cases[] = {
        {folder / "afile" / "o.png", ENOTDIR},
        {folder / "loop" / "o.png", ELOOP},
        {folder / (std::string(300, 'n') + ".png"), ENAMETOOLONG},
        {folder / "page.png", EISDIR},
        {folder / "missing" / "page.png", ENOENT},
        {fs::path(), ENOENT},
    };
    for (const auto& c : cases) {
        for (TRoad road : {TRoad::Unnamed, TRoad::Named}) {
            TReplacementFile file;
            EXPECT_FALSE(Create(file, c.target, road)) << c.target;
            EXPECT_EQ(file.Error(), c.error) << c.target << ": " << std::strerror(file.Error());
            EXPECT_EQ(LastWriteError(), c.error) << c.target;
        }
    }
    EXPECT_EQ(ReadText(folder / "afile"), "kept");
    EXPECT_EQ(ReadText(folder / "page.png" / "inside"), "kept");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"afile", "loop", "page.png"}));
}

TEST(ReplacementFile, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "running as root: folder permissions do not stop writes";
    TTestFolder folder;
    fs::create_directory(folder / "locked");
    WriteText(folder / "locked" / "page.jpg", "old");
    fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(Replace(folder / "locked" / "page.jpg", "new"));
    EXPECT_EQ(LastWriteError(), EACCES);
    EXPECT_EQ(ReadText(folder / "locked" / "page.jpg"), "old");
}

// A write that fails half-way must not touch the old file. The file size
// limit, which holds even for root, stands in for a full disk; its signal
// must not end the process.
TEST(ReplacementFile, FailedWriteKeepsTheOldFile) {
    for (TRoad road : {TRoad::Unnamed, TRoad::Named}) {
        TTestFolder folder;
        WriteText(folder / "page.png", "old");
        rlimit saved{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 1000;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        TReplacementFile file;
        const bool written =
            Create(file, folder / "page.png", road) && Write(file, std::string(5000, 'x'));
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_FALSE(written);
        EXPECT_EQ(file.Error(), EFBIG);
        EXPECT_FALSE(file.Commit());
        EXPECT_EQ(ReadText(folder / "page.png"), "old");
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.png"});
    }
}

// Puts the calling process, not root, into a user and a mount namespace of
// its own, as root there (its own user and group mapped to 0).
bool BecomeRootOfOwnNamespaces() {
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    auto write = [](const char* path, const std::string& text) {
        const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
        const bool done = fd >= 0 && ::write(fd, text.data(), text.size()) == ssize_t(text.size());
        if (fd >= 0) ::close(fd);
        return done;
    };
    return write("/proc/self/setgroups", "deny") &&
           write("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
           write("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
}

// The same on a file system that is really full: a small tmpfs, mounted in
// a mount namespace of a child process.
TEST(ReplacementFile, FullFileSystemKeepsTheOldFile) {
    TTestFolder folder;
    fs::create_directory(folder / "disk");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 && !BecomeRootOfOwnNamespaces()) _exit(77);
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", (folder / "disk").c_str(), "tmpfs", 0, "size=64k") != 0)
            _exit(77);
        const fs::path page = folder / "disk" / "page.png";
        WriteText(page, "old");
        int failures = 0;
        for (TRoad road : {TRoad::Unnamed, TRoad::Named}) {
            TReplacementFile file;
            const bool written = Create(file, page, road) &&
                                 Write(file, std::string(256 * 1024, 'x')) && file.Commit();
            failures += written || file.Error() != ENOSPC;
        }
        failures += ReadText(page) != "old";
        failures +=
            std::distance(fs::directory_iterator(folder / "disk"), fs::directory_iterator()) != 1;
        _exit(failures == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot mount a tmpfs here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// The unnamed file is not in the folder while it is written, yet its path
// opens it for another writer.
TEST(ReplacementFile, UnnamedFileIsInvisibleUntilCommitted) {
    TTestFolder folder;
    WriteText(folder / "page.svgz", "old");
    {
        TReplacementFile file;
        ASSERT_TRUE(file.Create(folder / "page.svgz"));
        ASSERT_EQ(file.Road(), TRoad::Unnamed);
        WriteText(file.Path(), "through the path");
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.svgz"});
        ASSERT_TRUE(file.Commit());
    }
    EXPECT_EQ(ReadText(folder / "page.svgz"), "through the path");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.svgz"});
}

// Where the unnamed file cannot be given a name (an old kernel without
// /proc, here: linkat refused by a filter), its bytes are copied into a
// named file, which then replaces the target as usual.
TEST(ReplacementFile, UnnamedFileThatCannotBeLinkedIsCopied) {
    TTestFolder folder;
    WriteText(folder / "page.png", "old");
    ASSERT_EQ(::chmod((folder / "page.png").c_str(), 0604), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        sock_filter refuseLinks[] = {
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_linkat, 0, 1),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        };
        sock_fprog program{4, refuseLinks};
        if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
            ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
            _exit(77);
        TReplacementFile file;
        const bool unnamed = file.Create(folder / "page.png") && file.Road() == TRoad::Unnamed;
        _exit(unnamed && Write(file, std::string(100000, 'n')) && file.Commit() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no system call filters here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(ReadText(folder / "page.png") == std::string(100000, 'n'));
    struct stat st {};
    ASSERT_EQ(::stat((folder / "page.png").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.png"});
}

// Writers racing for one path: each link takes a name of its own, and the
// target ends up as one complete file of one of them.
TEST(ReplacementFile, ConcurrentWritersLeaveOneCompleteFile) {
    TTestFolder folder;
    std::vector<std::string> contents;
    for (char c = 'a'; c < 'i'; ++c)
        contents.push_back(std::string(100000, c));
    std::vector<std::thread> writers;
    for (const std::string& text : contents)
        writers.emplace_back([&folder, &text] { EXPECT_TRUE(Replace(folder / "page.png", text)); });
    for (std::thread& writer : writers)
        writer.join();
    const std::string result = ReadText(folder / "page.png");
    EXPECT_NE(std::find(contents.begin(), contents.end(), result), contents.end());
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.png"});
}

TEST(ReplacementFile, UncommittedFileIsRemoved) {
    for (TRoad road : {TRoad::Unnamed, TRoad::Named}) {
        TTestFolder folder;
        WriteText(folder / "page.svgz", "old");
        {
            TReplacementFile file;
            ASSERT_TRUE(Create(file, folder / "page.svgz", road));
            ASSERT_TRUE(Write(file, "half"));
            if (road == TRoad::Named) {
                EXPECT_EQ(file.Path().parent_path(), folder.Path());
                EXPECT_EQ(folder.Entries().size(), 2u);
            }
        }
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.svgz"});
        EXPECT_EQ(ReadText(folder / "page.svgz"), "old");
    }
}

TEST(ReplacementFile, NumberedNameSkipsNamesInUse) {
    for (TRoad road : {TRoad::Unnamed, TRoad::Named}) {
        TTestFolder folder;
        WriteText(folder / "Tmp00000.tmp", "someone else's");
        TReplacementFile file;
        ASSERT_TRUE(Create(file, folder / "page.png", road));
        if (road == TRoad::Named) {
            EXPECT_EQ(file.Path().filename(), "Tmp00001.tmp");
        }
        ASSERT_TRUE(Write(file, "new") && file.Commit());
        EXPECT_EQ(ReadText(folder / "Tmp00000.tmp"), "someone else's");
        EXPECT_EQ(ReadText(folder / "page.png"), "new");
        EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"Tmp00000.tmp", "page.png"}));
    }
}

// Outputs that are not regular files are written through and stay what
// they are. Device nodes are made in the scratch folder, never used from /dev.
TEST(ReplacementFile, SpecialFilesAreWrittenThroughNotReplaced) {
    TTestFolder folder;
    const bool nodes = ::mknod((folder / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
                       ::mknod((folder / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0666), 0);
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (folder / "socket").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    const std::string picture(200000, 'p');
    if (nodes) {
        EXPECT_TRUE(Replace(folder / "null", picture));
        EXPECT_FALSE(Replace(folder / "full", picture));
        EXPECT_EQ(LastWriteError(), ENOSPC);
        EXPECT_EQ(FileType(folder / "null"), mode_t(S_IFCHR));
        EXPECT_EQ(FileType(folder / "full"), mode_t(S_IFCHR));
    }
    std::future<std::string> received = ReadFifo(folder / "fifo");
    EXPECT_TRUE(Replace(folder / "fifo", picture));
    EXPECT_TRUE(received.get() == picture);
    EXPECT_EQ(FileType(folder / "fifo"), mode_t(S_IFIFO));

    // A reader that goes away: the write fails, the process lives on.
    std::thread quitter([&] { ::close(::open((folder / "fifo").c_str(), O_RDONLY)); });
    EXPECT_FALSE(Replace(folder / "fifo", std::string(4 << 20, 'p')));
    quitter.join();
    EXPECT_EQ(LastWriteError(), EPIPE);

    EXPECT_FALSE(Replace(folder / "socket", picture));
    EXPECT_EQ(LastWriteError(), ENXIO);
    EXPECT_EQ(FileType(folder / "socket"), mode_t(S_IFSOCK));
    ::close(server);
    if (!nodes) GTEST_SKIP() << "no permission to make device nodes";
}

// A writer killed while its file is half written leaves the old file and
// nothing else: SIGINT and SIGTERM remove a named file before the process
// ends by that signal; an unnamed file vanishes even with SIGKILL.
TEST(ReplacementFile, InterruptedWriterLeavesNothingBehind) {
    const struct {
        TRoad road;
        int signal;
    } cases[] = {
        {TRoad::Named, SIGINT},    {TRoad::Named, SIGTERM},   {TRoad::Unnamed, SIGINT},
        {TRoad::Unnamed, SIGTERM}, {TRoad::Unnamed, SIGKILL},
    };
    struct sigaction interrupt {};
    ::sigaction(SIGINT, nullptr, &interrupt);
    for (const auto& c : cases) {
        // A process started in a shell's background has SIGINT ignored.
        if (c.signal == SIGINT && interrupt.sa_handler == SIG_IGN) continue;
        TTestFolder folder;
        WriteText(folder / "page.svgz", "old");
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TReplacementFile file;
            if (!Create(file, folder / "page.svgz", c.road) || !Write(file, "half")) _exit(1);
            (void)!::write(ready[1], "w", 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the child could not write";
        ::close(ready[0]);
        ASSERT_EQ(::kill(child, c.signal), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
        EXPECT_EQ(WTERMSIG(status), c.signal);
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.svgz"}) << c.signal;
        EXPECT_EQ(ReadText(folder / "page.svgz"), "old");
    }
}

TEST(ReplacementFile, DashWritesToStandardOutput) {
    TTestFolder folder;
    const int saved = ::dup(STDOUT_FILENO);
    const int out = ::open((folder / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(out, 0);
    ::fflush(stdout);
    ::dup2(out, STDOUT_FILENO);
    const bool written = Replace("-", "to standard output");
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(out);
    EXPECT_TRUE(written);
    EXPECT_EQ(ReadText(folder / "stdout"), "to standard output");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"stdout"});
}

}  // namespace
}  // namespace quil
