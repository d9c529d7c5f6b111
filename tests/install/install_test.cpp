// The desktop integration as a desktop meets it: cmake --install into a
// scratch DESTDIR; the recording type found by xdg-mime through the
// installed shared-mime-info package, on both of its roads; and the
// thumbnailer entry run as a file manager runs it, in a bubblewrap sandbox
// that sees /usr and nothing else; quil starting without FFmpeg's libraries
// and finding the installed video module when it writes a video.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "picture_decoders.h"
#include "recording_writer.h"
#include "run_tool.h"
#include "test_folder.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;
using fixture::Bytes;

constexpr char kPrefix[] = "/usr/local";
constexpr char kType[] = "application/x-quil-recording";

// Key=value lines of the group `group` of a desktop-style file.
std::map<std::string, std::string> ReadEntry(const fs::path& path, const std::string& group) {
    std::map<std::string, std::string> keys;
    std::ifstream in(path);
    std::string line;
    bool inGroup = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '[') {
            inGroup = line == "[" + group + "]";
            continue;
        }
        const size_t eq = line.find('=');
        if (inGroup && eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

fixture::Bytes PageBody() {
    fixture::Header h;
    h.pageWidth = 600;
    h.pageHeight = 400;
    h.gridCellSize = 50 | (50u << 16);
    fixture::TRecordingWriter w(h);
    w.Stroke({{40, 60, 6}, {300, 200, 9}, {560, 80, 4}, {560, 80, 0}}, {.color = 0xA03000});
    w.Stamp(400, 250, 120, 90, fixture::EncodeBmp(fixture::PatternPicture(12, 9)));
    return w.Body();
}

// One installation per test program, removed with its folder at the end.
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<testing::TTestFolder>();
        const ToolRun run =
            RunProgram(QUIL_CMAKE, {"--install", QUIL_BUILD_DIR, "--prefix", kPrefix},
                       {"DESTDIR=" + (folder_->Path() / "root").string()});
        installStatus_ = run.status;
        installLog_ = run.out + run.err;
    }
    static void TearDownTestSuite() { folder_.reset(); }

    void SetUp() override { ASSERT_EQ(installStatus_, 0) << installLog_; }

    static fs::path Root() { return folder_->Path() / "root"; }
    static fs::path Prefix() { return Root() / "usr/local"; }
    static fs::path Share() { return Prefix() / "share"; }
    static fs::path Scratch(const std::string& name) {
        const fs::path path = folder_->Path() / "scratch" / name;
        fs::create_directories(path.parent_path());
        return path;
    }
    static std::string Write(const std::string& name, const Bytes& bytes) {
        const fs::path path = Scratch(name);
        EXPECT_TRUE(fixture::WriteFile(path, bytes));
        return path.string();
    }

    static std::unique_ptr<testing::TTestFolder> folder_;
    static int installStatus_;
    static std::string installLog_;
};

std::unique_ptr<testing::TTestFolder> Installed::folder_;
int Installed::installStatus_ = -1;
std::string Installed::installLog_;

TEST_F(Installed, EveryPieceLandsUnderThePrefix) {
    EXPECT_TRUE(fs::exists(Prefix() / "bin/quil"));
    EXPECT_NE(fs::status(Prefix() / "bin/quil").permissions() & fs::perms::owner_exec,
              fs::perms::none);
    for (const char* file : {"applications/quil-reader.desktop", "mime/packages/quil-reader.xml",
                             "icons/hicolor/scalable/apps/quil-reader.svg",
                             "icons/hicolor/scalable/mimetypes/application-x-quil-recording.svg",
                             "thumbnailers/quil.thumbnailer"})
        EXPECT_TRUE(fs::is_regular_file(Share() / file)) << file;
}

TEST_F(Installed, DesktopEntryIsValidAndOpensRecordings) {
    const fs::path entry = Share() / "applications/quil-reader.desktop";
    const ToolRun validate = RunProgram("desktop-file-validate", {entry.string()});
    EXPECT_EQ(validate.status, 0);
    EXPECT_EQ(validate.out + validate.err, "");
    auto keys = ReadEntry(entry, "Desktop Entry");
    EXPECT_EQ(keys["Exec"], "quil-reader %f");
    EXPECT_EQ(keys["MimeType"], std::string(kType) + ";");
    EXPECT_EQ(keys["Icon"], "quil-reader");
}

TEST_F(Installed, IconsRenderInAnSvgRenderer) {
    for (const char* icon :
         {"apps/quil-reader.svg", "mimetypes/application-x-quil-recording.svg"}) {
        const fs::path png = Scratch(fs::path(icon).stem().string() + ".png");
        const ToolRun run =
            RunProgram("rsvg-convert", {"-w", "48", "-h", "48", "-o", png.string(),
                                        (Share() / "icons/hicolor/scalable" / icon).string()});
        ASSERT_EQ(run.status, 0) << icon << ": " << run.err;
        testing::TRgbaPicture picture;
        ASSERT_TRUE(testing::DecodePng(testing::ReadWholeFile(png.string()), picture)) << icon;
        EXPECT_EQ(picture.width, 48);
        // Something is drawn: not every pixel is transparent.
        int opaque = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                opaque += picture.At(x, y)[3] > 128;
        EXPECT_GT(opaque, 48 * 48 / 2) << icon;
    }
}

// xdg-mime answers through `mimetype` on a desktop it does not know and
// through `gio` on GNOME; both read the installed package, by name and,
// for a name no type claims, by the tag at the start of the file.
TEST_F(Installed, XdgMimeNamesTheRecordingType) {
    const fs::path mime = Share() / "mime";
    const ToolRun update = RunProgram("update-mime-database", {mime.string()});
    ASSERT_EQ(update.status, 0) << update.err;

    const Bytes body = PageBody();
    const Bytes packed = fixture::Packed(body);
    fixture::Header qui2;
    qui2.generation = fixture::Generation::Qui2;
    fixture::Header quil;
    quil.generation = fixture::Generation::Quil;
    struct TCase {
        std::string name;
        Bytes bytes;
        bool ours;
    };
    const std::vector<TCase> cases = {
        {"plain.stk", body, true},
        {"packed.stk", packed, true},
        {"leading.stk", fixture::LeadingBlock(Bytes(13056, 3), packed), true},
        {"not-a-recording.stk", Bytes(40, 'x'), true},  // the name alone decides
        {"packed-copy", packed, true},
        {"leading-copy.pen", fixture::LeadingBlock(Bytes(16, 1), packed), true},
        {"leading-plain-copy", fixture::LeadingBlock(Bytes(16, 1), body), true},
        {"qui3-copy", body, true},
        {"qui2-copy.pen", fixture::TRecordingWriter(qui2).Body(), true},
        {"quil-copy", fixture::TRecordingWriter(quil).Body(), true},
        {"quilting-notes",
         Bytes({'Q', 'u', 'i', 'l', 't', 'i', 'n', 'g', ' ', 'n', 'o', 't', 'e', 's',
                ':', ' ', 'c', 'u', 't', ' ', 'f', 'a', 'b', 'r', 'i', 'c', '\n'}),
         false},
    };
    const std::string home = Scratch("home").string();
    fs::create_directories(home);
    for (const char* desktop : {"", "GNOME"}) {
        for (const TCase& c : cases) {
            const std::string file = Write(c.name, c.bytes);
            std::vector<std::string> args = {"-i", "PATH=/usr/bin:/bin", "HOME=" + home,
                                             "GIO_USE_VFS=local",
                                             "XDG_DATA_DIRS=" + Share().string() + ":/usr/share"};
            if (*desktop) args.push_back(std::string("XDG_CURRENT_DESKTOP=") + desktop);
            for (const char* word : {"xdg-mime", "query", "filetype"})
                args.push_back(word);
            args.push_back(file);
            const ToolRun run = RunProgram("/usr/bin/env", args);
            EXPECT_EQ(run.status, 0) << desktop << " " << c.name << ": " << run.err;
            const bool ours = run.out == std::string(kType) + "\n";
            EXPECT_EQ(ours, c.ours) << "desktop '" << desktop << "', " << c.name << ": " << run.out;
        }
    }
}

// How a file manager runs a thumbnailer: the program found under /usr, the
// input copied under another name with the same extension and shown
// read-only, a folder for the output, and nothing else: no /etc (so no
// fonts), no home folder, no display, no network, an empty environment.
class TSandbox {
public:
    // `input` is seen as /tmp/file-to-thumbnail.EXT, `output` as /tmp/out.
    TSandbox(const fs::path& prefix, const fs::path& input, const fs::path& output)
        : prefix_(prefix), input_(input), output_(output) {
        const ToolRun probe = RunProgram("bwrap", Arguments({"/usr/bin/true"}));
        usable_ = probe.status == 0;
        if (!usable_)
            std::cout << "bwrap cannot make a sandbox here ("
                      << (probe.err.empty() ? "it did not run" : probe.err)
                      << "); running the thumbnailer with env -i instead\n";
    }

    ToolRun Run(const std::vector<std::string>& command) const {
        if (usable_) return RunProgram("bwrap", Arguments(command));
        // Without the sandbox the installed program lies under DESTDIR.
        std::vector<std::string> args = {"-i", "PATH=/usr/bin:/bin"};
        args.insert(args.end(), command.begin(), command.end());
        const fs::path program = fs::path(command.at(0)).lexically_relative(kPrefix);
        if (!program.empty() && *program.begin() != "..") args[2] = (prefix_ / program).string();
        return RunProgram("/usr/bin/env", args);
    }

    std::string Input() const {
        return usable_ ? "/tmp/file-to-thumbnail" + input_.extension().string() : input_.string();
    }
    std::string Output(const std::string& name) const {
        return usable_ ? "/tmp/out/" + name : (output_ / name).string();
    }

private:
    std::vector<std::string> Arguments(const std::vector<std::string>& command) const {
        std::vector<std::string> args = {
            "--ro-bind", "/usr", "/usr", "--ro-bind-try", "/etc/ld.so.cache", "/etc/ld.so.cache",
            "--symlink", "usr/lib", "/lib", "--symlink", "usr/lib64", "/lib64", "--symlink",
            "usr/bin", "/bin", "--symlink", "usr/sbin", "/sbin", "--proc", "/proc", "--dev", "/dev",
            "--tmpfs", "/tmp",
            // The installation's prefix, which lies under /usr, over the
            // system's own.
            "--ro-bind", prefix_.string(), kPrefix, "--ro-bind", input_.string(),
            "/tmp/file-to-thumbnail" + input_.extension().string(), "--bind", output_.string(),
            "/tmp/out", "--chdir", "/", "--unshare-all", "--die-with-parent", "--clearenv",
            "--setenv", "PATH", "/usr/bin:/bin"};
        args.insert(args.end(), command.begin(), command.end());
        return args;
    }

    fs::path prefix_;
    fs::path input_;
    fs::path output_;
    bool usable_ = false;
};

// The thumbnailer entry's command line with %i, %o and %s filled in.
std::vector<std::string> ThumbnailerCommand(const fs::path& entry, const std::string& input,
                                            const std::string& output, int size) {
    std::vector<std::string> words = Words(ReadEntry(entry, "Thumbnailer Entry")["Exec"]);
    for (std::string& w : words) {
        if (w == "%i") w = input;
        if (w == "%o") w = output;
        if (w == "%s") w = std::to_string(size);
    }
    return words;
}

TEST_F(Installed, ThumbnailerWritesThePageInAFileManagersSandbox) {
    const fs::path entry = Share() / "thumbnailers/quil.thumbnailer";
    auto keys = ReadEntry(entry, "Thumbnailer Entry");
    EXPECT_EQ(keys["MimeType"], std::string(kType) + ";");
    EXPECT_EQ(keys["TryExec"], std::string(kPrefix) + "/bin/quil");
    EXPECT_EQ(Words(keys["Exec"]), (std::vector<std::string>{std::string(kPrefix) + "/bin/quil",
                                                             "thumbnail", "%i", "%o", "%s"}));

    const std::string recording = Write("My Page.stk", fixture::Packed(PageBody()));
    const fs::path out = Scratch("out");
    fs::create_directories(out);
    const TSandbox sandbox(Prefix(), recording, out);
    const ToolRun run = sandbox.Run(
        ThumbnailerCommand(entry, sandbox.Input(), sandbox.Output("thumbnail.png"), 128));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");

    // The picture quil export makes at that size, outside the sandbox.
    const fs::path expected = Scratch("expected.png");
    ASSERT_EQ(RunQuil({"export", recording, "-o", expected.string(), "--size", "128x85"}).status,
              0);
    testing::TRgbaPicture thumbnail, wanted;
    ASSERT_TRUE(
        testing::DecodePng(testing::ReadWholeFile((out / "thumbnail.png").string()), thumbnail));
    ASSERT_TRUE(testing::DecodePng(testing::ReadWholeFile(expected.string()), wanted));
    EXPECT_EQ(thumbnail.width, 128);
    EXPECT_EQ(thumbnail.height, 85);
    EXPECT_EQ(thumbnail.pixels, wanted.pixels);
}

TEST_F(Installed, ThumbnailerFailsAndWritesNothingForARecordingThatDoesNotLoad) {
    const fs::path entry = Share() / "thumbnailers/quil.thumbnailer";
    const std::string junk = Write("junk.stk", Bytes(100, 'z'));
    const fs::path out = Scratch("out-of-junk");
    fs::create_directories(out);
    const TSandbox sandbox(Prefix(), junk, out);
    const ToolRun run = sandbox.Run(
        ThumbnailerCommand(entry, sandbox.Input(), sandbox.Output("thumbnail.png"), 256));
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err.rfind("quil: ", 0), 0u) << run.err;
    EXPECT_EQ(fs::directory_iterator(out), fs::directory_iterator());
}

// FFmpeg's libraries come with the video module, which only quil replay
// loads: quil itself starts without them (a hundred and more libraries,
// some of which a file manager's sandbox cannot reach).
TEST_F(Installed, QuilLinksNoneOfFfmpegAndReplayFindsTheModule) {
    const fs::path quil = Prefix() / "bin/quil";
    const ToolRun ldd = RunProgram("ldd", {quil.string()});
    ASSERT_EQ(ldd.status, 0) << ldd.err;
    for (const char* library :
         {"libavcodec", "libavformat", "libavfilter", "libavutil", "libswscale", "libswresample"})
        EXPECT_EQ(ldd.out.find(library), std::string::npos) << library << " in\n" << ldd.out;

    const fs::path module = Prefix() / QUIL_INSTALL_LIBDIR / "quil-reader/quil-video.so";
    const std::string recording = Write("replayed.stk", PageBody());
    const fs::path video = Scratch("replayed.gif");
    // The installation lies under DESTDIR, away from the prefix it was made
    // for: the module is found from where quil is.
    const ToolRun replay =
        RunProgram(quil.string(), {"replay", recording, "-o", video.string(), "--hold", "0.1"},
                   VideoChildEnvironment());
    if (!QUIL_VIDEO_BUILT) {
        EXPECT_FALSE(fs::exists(module));
        EXPECT_EQ(replay.status, 7);
        EXPECT_NE(replay.err.find("no video support"), std::string::npos) << replay.err;
        return;
    }
    ASSERT_TRUE(fs::is_regular_file(module));
    EXPECT_NE(RunProgram("ldd", {module.string()}).out.find("libavcodec"), std::string::npos);
    ASSERT_EQ(replay.status, 0) << replay.err;
    const std::vector<uint8_t> gif = testing::ReadWholeFile(video.string());
    ASSERT_GT(gif.size(), 6u);
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
}

}  // namespace
}  // namespace quil::test
