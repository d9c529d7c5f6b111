// quil replay run as a program: its frames against quil render of the
// same recording, FFmpeg's own ffprobe reading the files, the errors, and
// the progress line on a terminal.

#include <gtest/gtest.h>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "picture_decoders.h"
#include "recording_writer.h"
#include "run_tool.h"
#include "test_folder.h"
#include "video_decoder.h"
#include "video_fixtures.h"

namespace quil::test {
namespace {

constexpr int64_t kPageFrames = kPageTicks + 60;

class ReplayCommand : public ::testing::Test {
protected:
    testing::TTestFolder folder;
    std::string recording;
    std::string gridRecording;

    void SetUp() override {
        recording = (folder / "page.stk").string();
        fixture::WriteFile(recording, PageRecording());
        gridRecording = (folder / "grid.stk").string();
        fixture::WriteFile(gridRecording, PageRecording(300, 200, true));
    }

    std::string Path(const std::string& name) const { return (folder / name).string(); }

    // quil render's picture after the same steps, as top-down RGB rows.
    std::vector<uint8_t> Rendered(std::vector<std::string> args, const std::string& file) {
        const std::string png = Path("render.png");
        args.insert(args.begin(), {"render", file, "-o", png});
        const ToolRun run = RunQuil(args);
        EXPECT_EQ(run.status, 0) << run.err;
        testing::TRgbaPicture picture;
        EXPECT_TRUE(testing::DecodePng(testing::ReadWholeFile(png), picture));
        std::vector<uint8_t> rgb;
        for (size_t i = 0; i < picture.pixels.size(); i += 4)
            rgb.insert(rgb.end(),
                       {picture.pixels[i], picture.pixels[i + 1], picture.pixels[i + 2]});
        std::remove(png.c_str());
        return rgb;
    }

    TDecodedVideo Replayed(const std::string& name, std::vector<std::string> args,
                           const std::string& file) {
        args.insert(args.begin(), {"replay", file, "-o", Path(name)});
        const ToolRun run = RunQuil(args, VideoChildEnvironment());
        EXPECT_EQ(run.status, 0) << run.err;
        // Not a terminal: no progress line, nothing at all.
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, "");
        TDecodedVideo video = DecodeVideo(Path(name));
        EXPECT_TRUE(video.ok) << video.error;
        return video;
    }
};

TEST_F(ReplayCommand, FramesAreWhatQuilRenderShowsAfterTheTicksDue) {
    const TDecodedVideo gif = Replayed("page.gif", {}, recording);
    const TDecodedVideo mp4 = Replayed("page.mp4", {}, recording);
    ASSERT_EQ(gif.frames.size(), size_t(kPageFrames));
    ASSERT_EQ(mp4.frames.size(), size_t(kPageFrames));
    for (int64_t k : {0, 1, 9, 16, 17, 28, 29, 88}) {
        SCOPED_TRACE(k);
        const std::vector<uint8_t> rendered =
            Rendered({"--play", std::to_string(TicksDue(k, 30))}, recording);
        EXPECT_EQ(gif.frames[size_t(k)], rendered);
        EXPECT_LE(MeanDifference(mp4.frames[size_t(k)], rendered), 2.5);
    }
}

TEST_F(ReplayCommand, OptionsActAsTheyDoForQuilRender) {
    const TDecodedVideo gif =
        Replayed("options.gif",
                 {"--size", "160x160", "--rate", "7", "--quality", "middle", "--background", "off",
                  "--reverse", "--from", "1", "--fps", "20", "--hold", "0.5"},
                 gridRecording);
    // The fit rule: 160 / 300 is below 160 / 200, so 160 x trunc(200 * 160 / 300).
    EXPECT_EQ(gif.width, 160);
    EXPECT_EQ(gif.height, 106);
    // From position 1, step 17: 1 + 3 ticks for the stroke of 40 points, 1 for
    // the stamp, 1 + 3 for the stroke of 50, one that stops: 10 ticks, due by
    // frame 7 at 20 frames per second; then 10 frames of hold.
    ASSERT_EQ(gif.frames.size(), 17u);
    for (int64_t k : {0, 3, 6, 7, 16}) {
        SCOPED_TRACE(k);
        EXPECT_EQ(gif.frames[size_t(k)],
                  Rendered({"--size", "160x160", "--step", "17", "--quality", "middle",
                            "--background", "off", "--position", "1", "--play",
                            std::to_string(TicksDue(k, 20)), "--reverse"},
                           gridRecording));
    }
}

TEST_F(ReplayCommand, FfprobeReadsEveryTypeWithoutAWarning) {
    for (const char* name : {"probe.mp4", "probe.webm", "probe.gif"}) {
        SCOPED_TRACE(name);
        Replayed(name, {"--hold", "1"}, recording);
        const ToolRun quiet = RunProgram("ffprobe", {"-v", "warning", Path(name)});
        EXPECT_EQ(quiet.status, 0);
        EXPECT_EQ(quiet.err, "");
        EXPECT_EQ(quiet.out, "");
        const ToolRun counted =
            RunProgram("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0",
                                   "-show_entries", "stream=nb_read_frames,avg_frame_rate,width",
                                   "-of", "default=noprint_wrappers=1", Path(name)});
        EXPECT_EQ(counted.status, 0) << counted.err;
        EXPECT_NE(counted.out.find("width=300\n"), std::string::npos) << counted.out;
        EXPECT_NE(counted.out.find("avg_frame_rate=30/1\n"), std::string::npos) << counted.out;
        EXPECT_NE(counted.out.find("nb_read_frames=" + std::to_string(kPageTicks + 30) + "\n"),
                  std::string::npos)
            << counted.out;
    }
}

TEST_F(ReplayCommand, ErrorsLeaveTheOldFileAndNoOther) {
    const std::string out = Path("keep.mp4");
    testing::WriteText(out, "old");
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"--fps", "0"}, 64},
        {{"--fps", "61"}, 64},
        {{"--type", "avi"}, 64},
        {{"--hold", "-1"}, 64},
        {{"--hold", "3601"}, 64},
        {{"--hold", "soon"}, 64},
        {{"--from", "-1"}, 64},
        {{"--zoom", "1", "--size", "10x10"}, 64},
        {{"--step", "3", "--rate", "2"}, 64},
        {{"--quality", "ultra"}, 64},
        {{"--bogus"}, 64},
        {{"--zoom", "30"}, 7},  // 9000 x 6000
        {{"--zoom", "0.001"}, 7},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"replay", recording, "-o", out};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolRun run = RunQuil(args, VideoChildEnvironment());
        EXPECT_EQ(run.status, c.status) << c.args[0] << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    struct Other {
        std::vector<std::string> args;
        int status;
        const char* says;
    };
    const Other others[] = {
        {{"replay", recording, "-o", Path("page.avi")}, 64, "OUT must end in .mp4, .webm or .gif"},
        {{"replay", recording}, 64, "replay needs -o OUT"},
        {{"replay", Path("missing.stk"), "-o", out}, 1, "cannot open the file (code 1)"},
        {{"replay", recording, "-o", Path("no/such/dir.gif")}, 70, "No such file or directory"},
        {{"replay", recording, "-o", out, "--zoom", "30"}, 7, "above the largest side of 8192"},
    };
    for (const Other& c : others) {
        const ToolRun run = RunQuil(c.args, VideoChildEnvironment());
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.err.rfind("quil: ", 0), 0u) << run.err;
    }
    EXPECT_EQ(testing::ReadText(out), "old");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"grid.stk", "keep.mp4", "page.stk"}));
}

// A quil whose video module is not where it looks (beside it, or in the
// installed folder under it): the one line says so, and nothing is written.
TEST_F(ReplayCommand, WithoutItsVideoModuleQuilSaysSoAndWritesNothing) {
    const std::filesystem::path bin = folder / "bin";
    std::filesystem::create_directories(bin);
    std::filesystem::copy_file(QuilBinary(), bin / "quil");
    const std::string out = Path("alone.gif");
    const ToolRun run = RunProgram((bin / "quil").string(), {"replay", recording, "-o", out});
    EXPECT_EQ(run.status, 7);
    const std::string says = "quil: " + recording +
                             ": this installation has no video support: quil-video.so is in "
                             "neither " +
                             bin.string() + " nor " + folder.Path().string() + "/";
    EXPECT_EQ(run.err.substr(0, says.size()), says);
    EXPECT_EQ(run.err.substr(run.err.size() - 13), "/quil-reader\n") << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
    // The other subcommands need no module.
    EXPECT_EQ(RunProgram((bin / "quil").string(), {"info", recording}).status, 0);
}

// Runs quil on a terminal of its own; returns what the terminal received.
std::string RunOnTerminal(const std::vector<std::string>& args, int& status) {
    // Made before the fork: the child only calls execve.
    const TSpawnVectors spawn(QuilBinary(), args, VideoChildEnvironment());
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
        execve(spawn.Argv()[0], spawn.Argv(), spawn.Envp());
        _exit(127);
    }
    std::string received;
    if (pid > 0) {
        char buffer[4096];
        for (;;) {
            const ssize_t n = read(terminal, buffer, sizeof buffer);
            if (n > 0)
                received.append(buffer, size_t(n));
            else if (n < 0 && errno == EINTR)
                continue;
            else
                break;  // EIO once the program has closed its side
        }
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
        close(terminal);
    }
    return received;
}

TEST_F(ReplayCommand, ATerminalSeesTheProgressLineErasedAtTheEnd) {
    int status = -1;
    const std::string shown = RunOnTerminal({"replay", recording, "-o", Path("tty.gif")}, status);
    EXPECT_EQ(status, 0) << shown;
    EXPECT_NE(shown.find("frame 1 of 89 (palette, pass 1 of 2)"), std::string::npos) << shown;
    EXPECT_NE(shown.find("frame 89 of 89 (pass 2 of 2)"), std::string::npos) << shown;
    EXPECT_NE(shown.find("elapsed"), std::string::npos);
    // Erased, so that the shell's prompt starts on a clean line.
    EXPECT_TRUE(shown.size() >= 4 && shown.substr(shown.size() - 4) == "\r\x1b[K") << shown;

    // A folder where the file should be: found out only when writing, after
    // the progress line has been drawn.
    const std::string failed =
        RunOnTerminal({"replay", recording, "-o", folder.Path().string(), "--type", "gif"}, status);
    EXPECT_EQ(status, 70);
    const size_t line = failed.find("quil: " + recording + ": cannot write");
    ASSERT_GE(line, 4u) << failed;
    EXPECT_EQ(failed.substr(line - 4, 4), "\r\x1b[K") << failed;
}

}  // namespace
}  // namespace quil::test
