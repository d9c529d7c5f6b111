// The language files as an installation has them: cmake --install into a
// scratch DESTDIR puts them in the data folder, not beside the programs,
// and the installed program's default skin path finds them there.

#include <gtest/gtest.h>

#include <filesystem>

#include "print/dialog_captions.h"
#include "run_tool.h"
#include "test_folder.h"

namespace quil {
namespace {

namespace fs = std::filesystem;

TEST(SkinInstall, TheLanguageFilesLieInTheDataFolderWhereTheProgramFindsThem) {
    testing::TTestFolder folder;
    const fs::path root = folder / "root";
    const test::ToolRun run =
        test::RunProgram(QUIL_CMAKE, {"--install", QUIL_BUILD_DIR, "--prefix", "/opt/quil"},
                         {"DESTDIR=" + root.string()});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const fs::path prefix = root / "opt/quil";
    for (const char* language : {"English", "Chinese"})
        EXPECT_TRUE(
            fs::is_regular_file(prefix / "share/quil-reader/Skin" / language / "PrinterDlg.txt"))
            << language;
    EXPECT_FALSE(fs::exists(prefix / "bin/Skin"));
    ASSERT_TRUE(fs::exists(prefix / "bin/quil-reader"));

    // The installed program's folder, moved with the rest of the tree.
    const fs::path moved = folder / "moved";
    fs::rename(prefix, moved);
    TCaptionPlaces places{{folder / "user.conf", {folder / "machine.conf"}},
                          (moved / "bin/").string()};
    TDialogCaptions english;
    english.LoadCaptions(places);
    ASSERT_NE(english.Reader(), nullptr);
    EXPECT_EQ(english.Reader()->GetVersion(), 2);
    EXPECT_EQ(english.CaptionText(16), "Print");

    testing::WriteText(folder / "machine.conf", "[General]\nLanguage=Chinese\n");
    TDialogCaptions chinese;
    chinese.LoadCaptions(places);
    EXPECT_EQ(chinese.CaptionText(16), "列印");
}

}  // namespace
}  // namespace quil
