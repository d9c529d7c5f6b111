// Where quil writes: special files written through, standard output, the
// recording itself refused, paths that cannot be written, a full disk and
// interruptions. The old file is kept and nothing is left beside it.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <future>

#include "picture_decoders.h"
#include "recording_writer.h"
#include "run_tool.h"
#include "test_folder.h"

namespace quil {
namespace {

namespace fs = std::filesystem;
using fixture::Header;
using fixture::TRecordingWriter;
using test::RunProgram;
using test::RunQuil;
using test::ToolRun;
using testing::FileType;
using testing::ReadFifo;
using testing::ReadText;
using testing::TTestFolder;
using testing::WriteText;

fixture::Bytes SmallPage() {
    TRecordingWriter w(Header{});
    w.Stroke({{150, 300, 6}, {250, 350, 6}, {350, 300, 0}}, {.color = 0x0000C0});
    return w.Body();
}

// 200 strokes in scattered colours and places: enough to fill a small disk
// as PNG and as SVGZ.
fixture::Bytes ScatteredPage() {
    TRecordingWriter w(Header{});
    uint32_t state = 12345;
    auto next = [&state](uint32_t range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    for (int s = 0; s < 200; ++s) {
        // Short steps from a place anywhere on the page.
        double x = next(1000), y = next(700);
        std::vector<fixture::Point> stroke;
        for (int i = 0; i < 30; ++i) {
            x += double(next(9)) - 4;
            y += double(next(9)) - 4;
            stroke.push_back({x, y, i == 29 ? 0.0 : 1.0 + next(3)});
        }
        w.Stroke(stroke, {.color = next(0x1000000)});
    }
    return w.Body();
}

// A recording of a million points, whose SVGZ takes quil a few seconds.
fixture::Bytes LargeRecording() {
    TRecordingWriter w(Header{});
    std::vector<fixture::Point> stroke(1000);
    for (int s = 0; s < 1000; ++s) {
        for (int i = 0; i < 1000; ++i)
            stroke[size_t(i)] = {double(i % 1000), double(s % 700), i == 999 ? 0.0 : 2.5};
        w.Stroke(stroke, {.color = uint32_t(s)});
    }
    return w.Body();
}

bool IsPng(const std::string& bytes) { return bytes.rfind("\x89PNG\r\n\x1a\n", 0) == 0; }
bool IsGzip(const std::string& bytes) { return bytes.rfind("\x1f\x8b", 0) == 0; }

class OutputTargets : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fixture::WriteFile(folder / "page.stk", SmallPage()));
        recording = (folder / "page.stk").string();
    }

    std::string At(const std::string& name) const { return (folder / name).string(); }

    TTestFolder folder;
    std::string recording;
};

// The commands that write a file, each with the type its OUT needs.
std::vector<std::vector<std::string>> Writers(const std::string& recording,
                                              const std::string& out) {
    return {
        {"export", recording, "-o", out, "--type", "png"},
        {"export", recording, "-o", out, "--type", "svgz"},
        {"render", recording, "-o", out},
    };
}

std::string Describe(const std::vector<std::string>& args) {
    std::string text;
    for (const std::string& a : args)
        text += (text.empty() ? "" : " ") + a;
    return text;
}

// Device nodes and FIFOs made in the scratch folder, never the real ones.
TEST_F(OutputTargets, SpecialFilesAreWrittenThroughAndStay) {
    const bool nodes = ::mknod(At("null.png").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
                       ::mknod(At("full.png").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
    ASSERT_EQ(::mkfifo(At("fifo.png").c_str(), 0666), 0);
    for (const auto& args : Writers(recording, At("fifo.png"))) {
        std::future<std::string> received = ReadFifo(At("fifo.png"));
        const ToolRun run = RunQuil(args);
        EXPECT_EQ(run.status, 0) << Describe(args) << ": " << run.err;
        const std::string bytes = received.get();
        EXPECT_TRUE(args.back() == "svgz" ? IsGzip(bytes) : IsPng(bytes)) << Describe(args);
    }
    EXPECT_EQ(FileType(At("fifo.png")), mode_t(S_IFIFO));
    if (!nodes) GTEST_SKIP() << "no permission to make device nodes";
    for (const auto& args : Writers(recording, At("null.png")))
        EXPECT_EQ(RunQuil(args).status, 0) << Describe(args);
    for (const auto& args : Writers(recording, At("full.png"))) {
        const ToolRun run = RunQuil(args);
        EXPECT_EQ(run.status, 70) << Describe(args);
        EXPECT_EQ(run.err, "quil: " + recording + ": cannot write " + At("full.png") +
                               ": No space left on device\n");
    }
    // info and dump write to their standard output, here the full device.
    for (const char* command : {"info", "dump"}) {
        const ToolRun run =
            RunProgram("sh", {"-c", "exec \"$0\" " + std::string(command) + " \"$1\" > \"$2\"",
                              test::QuilBinary(), recording, At("full.png")});
        EXPECT_EQ(run.status, 70) << command;
        EXPECT_EQ(run.err,
                  "quil: " + recording + ": cannot write the output: No space left on device\n");
    }
    EXPECT_EQ(FileType(At("null.png")), mode_t(S_IFCHR));
    EXPECT_EQ(FileType(At("full.png")), mode_t(S_IFCHR));
}

// "-" is standard output: the same bytes as the file, and a usage error
// when standard output is a terminal (given by `script`).
TEST_F(OutputTargets, DashIsStandardOutputButNeverATerminal) {
    for (const auto& args : Writers(recording, "-")) {
        std::vector<std::string> toFile = args;
        toFile[3] = At("file.png");
        ASSERT_EQ(RunQuil(toFile).status, 0) << Describe(toFile);
        const ToolRun run = RunQuil(args);
        EXPECT_EQ(run.status, 0) << Describe(args) << ": " << run.err;
        EXPECT_TRUE(run.out == ReadText(At("file.png"))) << Describe(args);
        EXPECT_TRUE(run.err.empty());

        const ToolRun onTerminal = RunProgram(
            "script",
            {"-qec", "'" + std::string(test::QuilBinary()) + "' " + Describe(args), "/dev/null"});
        EXPECT_EQ(onTerminal.status, 64) << Describe(args);
        EXPECT_NE(onTerminal.out.find("standard output is a terminal"), std::string::npos)
            << onTerminal.out;
        EXPECT_LT(onTerminal.out.size(), 200u) << "no picture on the terminal";
    }
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"file.png", "page.stk"}));
}

// The recording as its own output, by any path, is refused and kept. The
// recording is named .png so that render takes it as an output name.
TEST_F(OutputTargets, OutputThatIsTheRecordingIsRefused) {
    fs::rename(folder / "page.stk", folder / "page.png");
    const std::string page = At("page.png");
    const std::string original = ReadText(page);
    fs::create_symlink("page.png", folder / "link.png");
    fs::create_directory(folder / "sub");
    fs::create_hard_link(page, folder / "hard.png");
    for (const std::string& out : {page, At("link.png"), At("sub/../page.png"), At("hard.png")}) {
        for (const auto& args : Writers(page, out)) {
            const ToolRun run = RunQuil(args);
            EXPECT_EQ(run.status, 64) << Describe(args);
            EXPECT_EQ(run.err, "quil: the output " + out + " is the recording " + page +
                                   " itself (see 'quil " + args[0] + " --help')\n");
        }
    }
    EXPECT_TRUE(ReadText(page) == original);
    EXPECT_EQ(folder.Entries(),
              (std::vector<std::string>{"hard.png", "link.png", "page.png", "sub"}));
}

// A path that cannot lead to a file ends the command at once with 70 and
// the reason; there is no search through numbered names.
TEST_F(OutputTargets, PathsThatCannotBeWrittenNameTheReason) {
    WriteText(At("afile"), "kept");
    fs::create_symlink("loop", folder / "loop");
    fs::create_directory(folder / "taken.png");
    struct Case {
        std::string out;
        std::string reason;
    };
    std::vector<Case> cases = {
        {At("afile/o.png"), "Not a directory"},
        {At("loop/o.png"), "Too many levels of symbolic links"},
        {At(std::string(300, 'n') + ".png"), "File name too long"},
        {At("missing/o.png"), "No such file or directory"},
        {At("taken.png"), "Is a directory"},
    };
    if (::geteuid() != 0) {
        fs::create_directory(folder / "closed");
        fs::permissions(folder / "closed", fs::perms::owner_read);
        cases.push_back({At("closed/o.png"), "Permission denied"});
    }
    for (const Case& c : cases) {
        for (const auto& args : Writers(recording, c.out)) {
            const ToolRun run = RunQuil(args);
            EXPECT_EQ(run.status, 70) << Describe(args);
            EXPECT_EQ(run.err,
                      "quil: " + recording + ": cannot write " + c.out + ": " + c.reason + "\n");
        }
    }
    EXPECT_EQ(ReadText(At("afile")), "kept");
}

// A disk that fills up while the picture is written: a small tmpfs where
// one can be mounted, and the file size limit, which holds everywhere.
TEST_F(OutputTargets, FullDiskKeepsTheOldFile) {
    fs::create_directory(folder / "disk");
    ASSERT_TRUE(fixture::WriteFile(folder / "scattered.stk", ScatteredPage()));
    recording = At("scattered.stk");
    const std::string out = At("disk/out.png");
    for (const auto& args : Writers(recording, out)) {
        WriteText(out, "old");
        const ToolRun limited = test::RunQuilLimited("--fsize=2000", args);
        EXPECT_EQ(limited.status, 70) << Describe(args) << " signal " << limited.signal;
        EXPECT_EQ(limited.err,
                  "quil: " + recording + ": cannot write " + out + ": File too large\n");
        EXPECT_EQ(ReadText(out), "old");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder / "disk"), fs::directory_iterator()),
                  1);

        // In a mount namespace of its own, with the old file copied in.
        const std::string script =
            "mount -t tmpfs -o size=16k tmpfs '" + At("disk") + "' || exit 77; echo old > '" + out +
            "'; '" + test::QuilBinary() + "' " + Describe(args) + "; echo \"status $?\"; cat '" +
            out + "'; ls '" + At("disk") + "'";
        const ToolRun full = RunProgram("unshare", {"-rm", "sh", "-c", script});
        if (full.status == 77 || full.out.empty()) continue;  // no tmpfs to be had here
        EXPECT_EQ(full.out, "status 70\nold\nout.png\n") << Describe(args);
        EXPECT_EQ(full.err,
                  "quil: " + recording + ": cannot write " + out + ": No space left on device\n");
    }
}

// An export stopped by a signal half-way (its SVGZ takes more than the 3
// seconds it is given) keeps the old file and leaves no temporary file; the
// status is the signal's (130, 143; 137 for SIGKILL).
TEST_F(OutputTargets, InterruptedExportLeavesTheOldFile) {
    ASSERT_TRUE(fixture::WriteFile(folder / "large.stk", LargeRecording()));
    WriteText(At("out.svgz"), "old");
    for (const char* signal : {"INT", "TERM", "KILL"}) {
        const ToolRun run =
            RunProgram("timeout", {"--preserve-status", "-s", signal, "3", test::QuilBinary(),
                                   "export", At("large.stk"), "-o", At("out.svgz")});
        // timeout passes the signal on to itself for SIGKILL.
        const int expected = std::string(signal) == "INT" ? 130 : signal[0] == 'T' ? 143 : 137;
        EXPECT_TRUE(run.status == expected || run.signal == expected - 128)
            << signal << ": status " << run.status << ", signal " << run.signal << ", " << run.err;
        EXPECT_EQ(ReadText(At("out.svgz")), "old") << signal;
        EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"large.stk", "out.svgz", "page.stk"}))
            << signal;
    }
}

}  // namespace
}  // namespace quil
