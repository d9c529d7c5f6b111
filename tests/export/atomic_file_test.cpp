#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "export/atomic_file.h"
#include "test_folder.h"

namespace quil {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::TTestFolder;
using testing::WriteText;

bool Replace(const fs::path& target, const std::string& text) {
    return ReplaceFileContents(target, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(ReplacementFile, WritesNewFileAndLeavesNoTemporaryFile) {
    TTestFolder folder;
    ASSERT_TRUE(Replace(folder / "page.png", "new contents"));
    EXPECT_EQ(ReadText(folder / "page.png"), "new contents");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.png"});
}

TEST(ReplacementFile, ReplacesAndKeepsPermissionBits) {
    TTestFolder folder;
    WriteText(folder / "page.bmp", "old contents that are longer");
    ASSERT_EQ(::chmod((folder / "page.bmp").c_str(), 0640), 0);
    ASSERT_TRUE(Replace(folder / "page.bmp", "new"));
    EXPECT_EQ(ReadText(folder / "page.bmp"), "new");
    struct stat st {};
    ASSERT_EQ(::stat((folder / "page.bmp").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.bmp"});
}

TEST(ReplacementFile, SymbolicLinkStaysAndItsFileIsReplaced) {
    TTestFolder folder;
    WriteText(folder / "real.png", "old");
    fs::create_symlink("real.png", folder / "link.png");
    ASSERT_TRUE(Replace(folder / "link.png", "new"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.png"));
    EXPECT_EQ(ReadText(folder / "real.png"), "new");
}

TEST(ReplacementFile, FailureLeavesTargetAndFolderUntouched) {
    TTestFolder folder;
    fs::create_directory(folder / "page.png");
    WriteText(folder / "page.png" / "inside", "kept");
    EXPECT_FALSE(Replace(folder / "page.png", "new")) << "a folder is no file to replace";
    EXPECT_EQ(ReadText(folder / "page.png" / "inside"), "kept");
    EXPECT_FALSE(Replace(folder / "missing" / "page.png", "new"));
    EXPECT_FALSE(Replace(fs::path(), "new"));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.png"});
}

TEST(ReplacementFile, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "running as root: folder permissions do not stop writes";
    TTestFolder folder;
    fs::create_directory(folder / "locked");
    WriteText(folder / "locked" / "page.jpg", "old");
    fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(Replace(folder / "locked" / "page.jpg", "new"));
    EXPECT_EQ(ReadText(folder / "locked" / "page.jpg"), "old");
}

// A write that fails half-way (here: the file size limit, which holds even
// for root, standing in for a full disk) must not touch the old file.
TEST(ReplacementFile, FailedWriteKeepsTheOldFile) {
    TTestFolder folder;
    WriteText(folder / "page.png", "old");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = Replace(folder / "page.png", std::string(5000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadText(folder / "page.png"), "old");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.png"});
}

TEST(ReplacementFile, UncommittedFileIsRemoved) {
    TTestFolder folder;
    WriteText(folder / "page.svgz", "old");
    {
        TReplacementFile file;
        ASSERT_TRUE(file.Create(folder / "page.svgz"));
        EXPECT_EQ(file.Path().parent_path(), folder.Path());
        ASSERT_TRUE(file.Write(reinterpret_cast<const uint8_t*>("half"), 4));
        EXPECT_EQ(folder.Entries().size(), 2u);
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.svgz"});
    EXPECT_EQ(ReadText(folder / "page.svgz"), "old");
}

TEST(ReplacementFile, NumberedNameSkipsNamesInUse) {
    TTestFolder folder;
    WriteText(folder / "Tmp00000.tmp", "someone else's");
    TReplacementFile file;
    ASSERT_TRUE(file.Create(folder / "page.png"));
    EXPECT_EQ(file.Path().filename(), "Tmp00001.tmp");
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadText(folder / "Tmp00000.tmp"), "someone else's");
    EXPECT_EQ(ReadText(folder / "page.png"), "");
}

}  // namespace
}  // namespace quil
