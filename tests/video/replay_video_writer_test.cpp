// The replay video writer, its files read back by FFmpeg's decoders and
// compared frame by frame with the player driven here as the window drives
// it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "picture_decoders.h"
#include "reference_replay.h"
#include "test_folder.h"
#include "video/replay_video_writer.h"
#include "video_decoder.h"
#include "video_fixtures.h"

namespace quil::test {
namespace {

// Largest mean difference per channel value between a decoded H.264 or VP9
// frame and the display it was made from. The page's thin anti-aliased ink
// loses some colour to 4:2:0 sampling and the encoders' quantisation; a
// frame off by one tick differs from its neighbour by far less than the
// frames themselves, so that is checked apart (NearestReference).
constexpr double kLossyTolerance = 2.5;

class ReplayVideoWriter : public ::testing::Test {
protected:
    testing::TTestFolder folder;

    std::string Recording(const std::vector<uint8_t>& body, const std::string& name = "page.stk") {
        const std::string path = (folder / name).string();
        fixture::WriteFile(path, body);
        return path;
    }

    static TReplayVideoOptions Options(TVideoType type, int width = 300, int height = 200) {
        TReplayVideoOptions o;
        o.type = type;
        o.width = width;
        o.height = height;
        return o;
    }

    // The expected frames: the reference player after the ticks due at each
    // frame, `frames` of them, cropped to width x height.
    static std::vector<std::vector<uint8_t>> Expected(const std::string& recording,
                                                      const TReplayVideoOptions& o, int64_t frames,
                                                      int width, int height) {
        TReferenceReplay reference(recording, o);
        std::vector<std::vector<uint8_t>> out;
        int64_t ticked = 0;
        for (int64_t i = 0; i < frames; ++i) {
            const int64_t due = TicksDue(i, o.fps);
            reference.Tick(due - ticked);
            ticked = due;
            out.push_back(reference.Rgb(width, height));
        }
        return out;
    }

    TDecodedVideo Write(const std::string& recording, const TReplayVideoOptions& o,
                        const std::string& name) {
        const std::string out = (folder / name).string();
        TReplayVideoWriter writer(o);
        EXPECT_EQ(writer.Write(recording, out), TVideoResult::Done) << writer.Message();
        TDecodedVideo video = DecodeVideo(out);
        EXPECT_TRUE(video.ok) << video.error;
        return video;
    }

    // Every frame close to its own display, and closer to it than to the
    // displays one tick before and after (where those differ): the frames
    // are the right ones, not merely similar pages.
    static void ExpectCloseFrames(const TDecodedVideo& video,
                                  const std::vector<std::vector<uint8_t>>& expected) {
        ASSERT_EQ(video.frames.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const double own = MeanDifference(video.frames[i], expected[i]);
            ASSERT_GE(own, 0) << "frame " << i << " has the wrong size";
            EXPECT_LE(own, kLossyTolerance) << "frame " << i;
            for (size_t j : {i - 1, i + 1}) {
                if (j >= expected.size() || expected[j] == expected[i]) continue;
                EXPECT_LT(own, MeanDifference(video.frames[i], expected[j]))
                    << "frame " << i << " looks like frame " << j;
            }
        }
    }

    static void ExpectExactFrames(const TDecodedVideo& video,
                                  const std::vector<std::vector<uint8_t>>& expected) {
        ASSERT_EQ(video.frames.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(video.frames[i], expected[i]) << "frame " << i;
    }
};

// 29 ticks at one tick per frame, then two seconds of the complete page.
constexpr int64_t kPageFrames = kPageTicks + 60;

TEST_F(ReplayVideoWriter, GifFramesAreTheWindowsDisplayExactly) {
    const std::string recording = Recording(PageRecording());
    const TReplayVideoOptions o = Options(TVideoType::Gif);
    const TDecodedVideo video = Write(recording, o, "replay.gif");
    EXPECT_EQ(video.codec, "gif");
    EXPECT_EQ(video.width, 300);
    EXPECT_EQ(video.height, 200);
    const auto expected = Expected(recording, o, kPageFrames, 300, 200);
    // The palette can hold every colour only when there are at most 256.
    ASSERT_LE(CountColours(expected), 256u);
    ExpectExactFrames(video, expected);
    EXPECT_NEAR(video.duration, kPageFrames / 30.0, 0.02);
}

TEST_F(ReplayVideoWriter, Mp4AndWebmFramesFollowTheReplay) {
    const std::string recording = Recording(PageRecording());
    struct Case {
        TVideoType type;
        const char* name;
        const char* codec;
    };
    for (const Case c : {Case{TVideoType::Mp4, "replay.mp4", "h264"},
                         Case{TVideoType::Webm, "replay.webm", "vp9"}}) {
        SCOPED_TRACE(c.name);
        const TReplayVideoOptions o = Options(c.type);
        const TDecodedVideo video = Write(recording, o, c.name);
        EXPECT_EQ(video.codec, c.codec);
        EXPECT_EQ(video.pixelFormat, "yuv420p");
        EXPECT_EQ(video.frameRateNum * 1, 30 * video.frameRateDen);
        EXPECT_NEAR(video.duration, kPageFrames / 30.0, 0.02);
        ExpectCloseFrames(video, Expected(recording, o, kPageFrames, 300, 200));
    }
}

TEST_F(ReplayVideoWriter, FramesFollowTheTickClockAtOtherRates) {
    const std::string recording = Recording(PageRecording());
    struct Case {
        int fps;
        double hold;
        int64_t frames;  // ceil(29 ticks * 33 ms * fps) + the hold
    };
    for (const Case c : {Case{10, 1.0, 10 + 10}, Case{60, 0.25, 58 + 15}, Case{1, 0.0, 1 + 1}}) {
        SCOPED_TRACE(c.fps);
        TReplayVideoOptions o = Options(TVideoType::Gif);
        o.fps = c.fps;
        o.holdSeconds = c.hold;
        const TDecodedVideo video = Write(recording, o, "rate.gif");
        ExpectExactFrames(video, Expected(recording, o, c.frames, 300, 200));
    }
}

TEST_F(ReplayVideoWriter, DisplayOptionsAndTheStartPositionReachTheFrames) {
    const std::string recording = Recording(PageRecording(300, 200, true));
    TReplayVideoOptions o = Options(TVideoType::Gif, 150, 100);
    o.zoom = 0.5f;
    o.quality = 0;
    o.reverse = true;
    o.step = 38;
    o.from = 2;
    o.holdSeconds = 0.5;
    // From position 2: the stamp in one tick, the last stroke of 50 points
    // in 1 + 2 ticks, one tick that stops.
    const int64_t frames = 5 + 15;
    const TDecodedVideo video = Write(recording, o, "options.gif");
    const auto expected = Expected(recording, o, frames, 150, 100);
    ExpectExactFrames(video, expected);
    // The first frame already shows the first two strokes, inverted.
    TReplayVideoOptions blank = o;
    blank.from = 0;
    EXPECT_NE(expected[0], Expected(recording, blank, 1, 150, 100)[0]);

    o.grid = false;
    o.reverse = false;
    ExpectExactFrames(Write(recording, o, "no-grid.gif"), Expected(recording, o, frames, 150, 100));
}

TEST_F(ReplayVideoWriter, AnEmptyRecordingWritesTheHeldPageAlone) {
    const std::string recording = Recording(EmptyRecording(), "empty.stk");
    for (TVideoType type : {TVideoType::Gif, TVideoType::Mp4}) {
        TReplayVideoOptions o = Options(type);
        o.holdSeconds = 1.0;
        const TDecodedVideo video = Write(recording, o, "empty.video");
        EXPECT_EQ(video.frames.size(), 30u);
        const std::vector<uint8_t> white(300 * 200 * 3, 255);
        for (const auto& frame : video.frames)
            EXPECT_LE(MeanDifference(frame, white), type == TVideoType::Gif ? 0.0 : 1.0);
    }
    // A start at the complete page leaves nothing to replay either.
    TReplayVideoOptions o = Options(TVideoType::Gif);
    o.from = 1000;
    o.holdSeconds = 0.1;
    const std::string page = Recording(PageRecording());
    const TDecodedVideo video = Write(page, o, "complete.gif");
    TReplayVideoOptions complete = o;
    complete.from = 4;
    ASSERT_EQ(video.frames.size(), 3u);
    EXPECT_EQ(video.frames[0], TReferenceReplay(page, complete).Rgb());
}

TEST_F(ReplayVideoWriter, OddDisplaysLoseTheirLastColumnAndRowInMp4AndWebm) {
    const std::string recording = Recording(PageRecording(301, 201));
    for (TVideoType type : {TVideoType::Mp4, TVideoType::Webm}) {
        TReplayVideoOptions o = Options(type, 301, 201);
        o.holdSeconds = 0.1;
        const TDecodedVideo video = Write(recording, o, "odd.video");
        EXPECT_EQ(video.width, 300);
        EXPECT_EQ(video.height, 200);
        ExpectCloseFrames(video, Expected(recording, o, kPageTicks + 3, 300, 200));
    }
    TReplayVideoOptions o = Options(TVideoType::Gif, 301, 201);
    o.holdSeconds = 0.1;
    const TDecodedVideo gif = Write(recording, o, "odd.gif");
    EXPECT_EQ(gif.width, 301);
    EXPECT_EQ(gif.height, 201);
}

TEST_F(ReplayVideoWriter, Mp4KeepsItsIndexInFrontOfTheFrames) {
    const std::string recording = Recording(PageRecording());
    Write(recording, Options(TVideoType::Mp4), "front.mp4");
    const std::vector<uint8_t> file = testing::ReadWholeFile((folder / "front.mp4").string());
    // The top-level boxes, in order.
    std::vector<std::string> boxes;
    for (size_t at = 0; at + 8 <= file.size();) {
        const uint32_t size = uint32_t(file[at]) << 24 | uint32_t(file[at + 1]) << 16 |
                              uint32_t(file[at + 2]) << 8 | file[at + 3];
        boxes.emplace_back(file.begin() + long(at) + 4, file.begin() + long(at) + 8);
        if (size < 8) break;
        at += size;
    }
    const auto moov = std::find(boxes.begin(), boxes.end(), "moov");
    const auto mdat = std::find(boxes.begin(), boxes.end(), "mdat");
    ASSERT_NE(moov, boxes.end());
    ASSERT_NE(mdat, boxes.end());
    EXPECT_LT(moov, mdat);
}

TEST_F(ReplayVideoWriter, ProgressCountsTheFramesOfEveryPass) {
    const std::string recording = Recording(PageRecording());
    for (TVideoType type : {TVideoType::Mp4, TVideoType::Gif}) {
        TReplayVideoWriter writer(Options(type));
        std::vector<TVideoProgress> seen;
        writer.SetProgress([&](const TVideoProgress& p) { seen.push_back(p); });
        ASSERT_EQ(writer.Write(recording, (folder / "progress.video").string()),
                  TVideoResult::Done);
        const int passes = type == TVideoType::Gif ? 2 : 1;
        ASSERT_EQ(seen.size(), size_t(passes * kPageFrames));
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].frame, int64_t(i) % kPageFrames + 1);
            EXPECT_EQ(seen[i].frames, kPageFrames);
            EXPECT_EQ(seen[i].pass, int(i / kPageFrames) + 1);
            EXPECT_EQ(seen[i].passes, passes);
        }
        EXPECT_EQ(writer.FrameCount(), kPageFrames);
    }
}

TEST_F(ReplayVideoWriter, CancelLeavesTheOldFileAndNothingElse) {
    const std::string recording = Recording(PageRecording());
    const std::string out = (folder / "old.mp4").string();
    testing::WriteText(out, "old contents");
    for (TVideoType type : {TVideoType::Mp4, TVideoType::Gif}) {
        TReplayVideoWriter writer(Options(type));
        int64_t last = 0;
        writer.SetProgress([&](const TVideoProgress& p) {
            last = p.frame;
            if (p.pass == p.passes && p.frame == 5) writer.Cancel();
        });
        EXPECT_EQ(writer.Write(recording, out), TVideoResult::Cancelled);
        EXPECT_EQ(last, 5);
    }
    EXPECT_EQ(testing::ReadText(out), "old contents");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"old.mp4", "page.stk"}));
}

TEST_F(ReplayVideoWriter, RefusalsAndFailuresWriteNothing) {
    const std::string recording = Recording(PageRecording());
    const std::string out = (folder / "out.mp4").string();
    struct Case {
        TVideoType type;
        int width, height;
        TVideoResult result;
        const char* message;  // a part of the message
    };
    const Case cases[] = {
        {TVideoType::Mp4, 8194, 100, TVideoResult::Refused, "8194 x 100"},
        {TVideoType::Gif, 100, 8193, TVideoResult::Refused, "largest side of 8192"},
        // H.264's largest picture: 139264 macroblocks, here 512 x 273.
        {TVideoType::Mp4, 8192, 4368, TVideoResult::Refused, "H.264"},
        {TVideoType::Webm, 8192, 4354, TVideoResult::Refused, "VP9"},
        {TVideoType::Mp4, 1, 1, TVideoResult::Refused, "0 x 0"},
    };
    for (const Case& c : cases) {
        TReplayVideoWriter writer(Options(c.type, c.width, c.height));
        EXPECT_EQ(writer.Write(recording, out), c.result) << c.width << " x " << c.height;
        EXPECT_NE(writer.Message().find(c.message), std::string::npos) << writer.Message();
    }
    TReplayVideoWriter missing(Options(TVideoType::Mp4));
    EXPECT_EQ(missing.Write((folder / "missing.stk").string(), out), TVideoResult::NotLoaded);
    EXPECT_EQ(missing.LoadCode(), 1);
    TReplayVideoWriter unwritable(Options(TVideoType::Gif));
    EXPECT_EQ(unwritable.Write(recording, (folder / "no" / "such.gif").string()),
              TVideoResult::NotWritten);
    EXPECT_NE(unwritable.Message().find("No such file or directory"), std::string::npos)
        << unwritable.Message();
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.stk"});
}

}  // namespace
}  // namespace quil::test
