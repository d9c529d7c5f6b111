// The video module's loader: where it looks, what it loads, and what it says
// when there is nothing to load.

#include <gtest/gtest.h>

#include "run_tool.h"
#include "test_folder.h"
#include "video/video_module.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;

TEST(VideoModule, LooksBesideTheProgramThenInTheInstalledFolder) {
    const std::vector<fs::path> folders = VideoModuleFolders("/opt/quil/bin/quil");
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[0], "/opt/quil/bin");
    // <prefix>/<libdir>/quil-reader, whatever the libdir of this build.
    EXPECT_EQ(folders[1].filename(), "quil-reader");
    EXPECT_EQ(folders[1].string().rfind("/opt/quil/", 0), 0u) << folders[1];
    EXPECT_EQ(folders[1], folders[1].lexically_normal());
    EXPECT_TRUE(VideoModuleFolders("").empty());
}

TEST(VideoModule, LoadsTheModuleOfTheBuildFolderAlsoThroughALink) {
    testing::TTestFolder folder;
    // quil in the build folder, and reached through a link from elsewhere:
    // the module is looked for where the program really lies.
    fs::create_symlink(QuilBinary(), folder / "quil");
    for (const fs::path& program : {fs::path(QuilBinary()), folder / "quil"}) {
        const TVideoModule module = TVideoModule::Load(program);
        ASSERT_TRUE(module.Available()) << module.Problem();
        EXPECT_EQ(module.Problem(), "");
        TReplayVideoOptions options;
        options.width = options.height = 16;
        EXPECT_NE(module.MakeWriter(options), nullptr);
    }
}

TEST(VideoModule, SaysWhyThereIsNone) {
    testing::TTestFolder folder;
    fs::copy_file(QuilBinary(), folder / "quil");
    const TVideoModule missing = TVideoModule::Load(folder / "quil");
    EXPECT_FALSE(missing.Available());
    EXPECT_EQ(missing.MakeWriter(TReplayVideoOptions()), nullptr);
    EXPECT_EQ(missing.Problem().rfind("this installation has no video support: quil-video.so is "
                                      "in neither " +
                                          folder.Path().string() + " nor ",
                                      0),
              0u)
        << missing.Problem();

    // Something by that name that is no module of ours.
    testing::WriteText(folder / "quil-video.so", "not a shared object");
    const TVideoModule broken = TVideoModule::Load(folder / "quil");
    EXPECT_FALSE(broken.Available());
    EXPECT_NE(broken.Problem().find((folder / "quil-video.so").string() + " cannot be loaded: "),
              std::string::npos)
        << broken.Problem();
}

}  // namespace
}  // namespace quil::test
