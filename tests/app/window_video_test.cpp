// "Replay video..." in the window on the offscreen platform: the item among
// the picture commands, a video written and read back by FFmpeg's decoders
// against what the window itself shows (also in a program that carries its
// own recording), Cancel, and a video that cannot be written. The window
// finds the video module through a link beside the program file the tests
// start it with.

#include <gtest/gtest.h>

#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <set>

#include "app/display_panel.h"
#include "video_decoder.h"
#include "window_fixture.h"

namespace quil::test {
namespace {

class WindowVideo : public ::testing::Test, public TWindowTest {
protected:
    void SetUp() override {
        std::filesystem::create_symlink(QUIL_VIDEO_MODULE, folder / "quil-video.so");
    }

    std::unique_ptr<TQuil3ReaderWin> Opened(const fixture::Bytes& body) {
        recording = Write("ink.stk", body);
        auto window = Start({recording});
        EXPECT_TRUE(WaitUntilStopped(*window));
        return window;
    }

    void AnswerSave(const std::string& name, int filterIndex) {
        script->saveAnswer = QString::fromStdString((folder / name).string());
        script->saveAnswerIndex = filterIndex;
    }

    std::string recording;
};

// Strokes in one ink on white paper, without grid or stamp: few enough
// colours for a GIF's palette to hold every one, so that its frames are the
// displays exactly.
fixture::Bytes InkRecording(int strokes) {
    fixture::Header h;
    h.pageWidth = 300;
    h.pageHeight = 200;
    fixture::TRecordingWriter w(h);
    for (int i = 0; i < strokes; ++i) {
        std::vector<fixture::Point> points;
        const double y = 30 + 30.0 * i;
        for (int k = 0; k <= 12; ++k)
            points.push_back({20 + 21.0 * k, y + 8 * std::sin(k * 0.8), k == 12 ? 0 : 1.5 + i % 3});
        w.Stroke(points, {.color = 0x602000});
    }
    return w.Body();
}

// What the display panel shows, as top-down rows of red, green, blue.
std::vector<uint8_t> Rgb(const QImage& shown) {
    const QImage image = shown.convertToFormat(QImage::Format_RGB32);
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(image.width()) * size_t(image.height()) * 3);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            rgb.insert(rgb.end(), {uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p))});
        }
    return rgb;
}

TEST_F(WindowVideo, FollowsTheEnablingOfThePictureCommands) {
    auto window = Start({});
    QAction* item = FindAction(*window, "FileReplayVideo");
    ASSERT_TRUE(item);
    EXPECT_FALSE(item->isEnabled());

    // In the middle of the long drawing of opening, as "Image file..." is.
    bool onDuring = true, busy = false;
    QTimer::singleShot(0, window.get(), [&] {
        busy = window->Player().IsBusy();
        onDuring = item->isEnabled();
    });
    ASSERT_EQ(window->OpenRecording(Write("many.stk", SmallRecording(60))), 1);
    ASSERT_TRUE(busy);
    EXPECT_FALSE(onDuring);
    EXPECT_TRUE(item->isEnabled());
    FindAction(*window, "FileClose")->trigger();
    EXPECT_FALSE(item->isEnabled());
}

TEST_F(WindowVideo, TheVideoEndsWithTheWindowsCompletePageAndLeavesTheWindowAsItWas) {
    auto window = Opened(InkRecording(5));
    FindAction(*window, "OptionReplayRate9")->trigger();
    FindAction(*window, "OptionReverse")->trigger();
    FindAction(*window, "ActionFirst")->trigger();
    FindAction(*window, "ActionNext")->trigger();
    FindAction(*window, "ActionNext")->trigger();
    ASSERT_EQ(window->Player().Position(), 2);

    // The type chosen decides the extension, as for "Image file...".
    AnswerSave("replay.mp4", 3);
    FindAction(*window, "FileReplayVideo")->trigger();
    EXPECT_TRUE(script->messages.empty());
    EXPECT_EQ(script->saveNameOffered, "ink");
    EXPECT_EQ(script->saveFilters,
              (QStringList{"MP4 Video (*.mp4)", "WebM Video (*.webm)", "GIF Animation (*.gif)"}));
    ASSERT_EQ(script->videoProposed.size(), 1u);
    EXPECT_EQ(script->videoProposed[0].rate, 9);
    EXPECT_EQ(script->videoProposed[0].width, 300);
    EXPECT_EQ(script->videoProposed[0].height, 200);
    EXPECT_EQ(script->videoProposed[0].fps, 30);
    EXPECT_FALSE(std::filesystem::exists(folder / "replay.mp4"));

    // The window's player is where it was, with its options.
    EXPECT_EQ(window->Player().Position(), 2);
    EXPECT_EQ(window->Player().PlayState(), kStopped);
    EXPECT_EQ(window->Player().ReplayStep(), 38);
    EXPECT_TRUE(window->Player().Reverse());

    const TDecodedVideo video = DecodeVideo((folder / "replay.gif").string());
    ASSERT_TRUE(video.ok) << video.error;
    EXPECT_EQ(video.codec, "gif");
    EXPECT_EQ(video.width, 300);
    EXPECT_EQ(video.height, 200);
    // Five strokes of 12 segments at 38 points a tick: 2 ticks each, one
    // that stops, then two seconds of the page.
    ASSERT_EQ(video.frames.size(), size_t(5 * 2 + 1 + 60));
    // The last frame is the complete page as the window shows it, and the
    // first the empty page, both in Reverse.
    FindAction(*window, "ActionLast")->trigger();
    EXPECT_EQ(Rgb(window->DisplayPanel().Shown()), video.frames.back());
    FindAction(*window, "ActionFirst")->trigger();
    EXPECT_EQ(Rgb(window->DisplayPanel().Shown()), video.frames.front());

    // The dialog opens with the type last chosen.
    script->saveAnswer.reset();
    FindAction(*window, "FileReplayVideo")->trigger();
    EXPECT_EQ(script->saveIndexOffered, (std::vector<int>{1, 3}));
}

TEST_F(WindowVideo, CancelLeavesNoFileAndTheWindowAsItWas) {
    // Forty strokes at one point a tick, at twice the page's size and 60
    // frames per second: some 1,800 frames, twice over for a GIF, seconds of
    // work even on a fast machine, to be cancelled in the middle.
    auto window = Opened(SmallRecording(40));
    FindAction(*window, "OptionReplayRate0")->trigger();
    FindAction(*window, "ActionPrevious")->trigger();
    const int position = window->Player().Position();
    const std::vector<std::string> before = folder.Entries();
    AnswerSave("long.gif", 3);

    // Cancelled in the options dialog: nothing is written.
    script->videoAnswer = [](TVideoSettings) { return std::optional<TVideoSettings>(); };
    FindAction(*window, "FileReplayVideo")->trigger();
    EXPECT_EQ(script->videoProposed.size(), 1u);
    EXPECT_EQ(folder.Entries(), before);

    // Cancelled in the progress dialog, once the window has shown frames
    // going by: its message loop runs while the video is written.
    script->videoAnswer = [](TVideoSettings s) {
        s.width = 600;
        s.height = 400;
        s.fps = 60;
        return std::optional<TVideoSettings>(s);
    };
    std::set<int> shown;
    bool cancelled = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* progress = window->findChild<QProgressDialog*>("ReplayVideoProgress");
        if (!progress || !progress->isVisible() || cancelled) return;
        if (progress->value() > 0) shown.insert(progress->value());
        if (shown.size() < 2) return;
        cancelled = true;
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    });
    watch.start(5);
    FindAction(*window, "FileReplayVideo")->trigger();
    watch.stop();
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(window->findChild<QProgressDialog*>(), nullptr);
    EXPECT_EQ(folder.Entries(), before);
    EXPECT_TRUE(script->messages.empty());
    EXPECT_EQ(window->Player().Position(), position);
    EXPECT_EQ(window->Player().PlayState(), kStopped);
    EXPECT_TRUE(FindAction(*window, "FileReplayVideo")->isEnabled());
}

TEST_F(WindowVideo, ASelfContainedProgramReplaysItsOwnRecording) {
    const fixture::Bytes region = fixture::Packed(InkRecording(3));
    auto window = Start({}, Write("viewer", fixture::Appended(fixture::Bytes(512, 1), region)));
    ASSERT_TRUE(WaitUntilStopped(*window));
    AnswerSave("own", 3);
    FindAction(*window, "FileReplayVideo")->trigger();
    EXPECT_TRUE(script->messages.empty());
    EXPECT_EQ(script->saveNameOffered, "viewer");
    const TDecodedVideo video = DecodeVideo((folder / "own.gif").string());
    ASSERT_TRUE(video.ok) << video.error;
    EXPECT_EQ(Rgb(window->DisplayPanel().Shown()), video.frames.back());
}

TEST_F(WindowVideo, AVideoThatCannotBeWrittenSaysSo) {
    auto window = Opened(InkRecording(2));
    AnswerSave("no/such/folder/replay.webm", 2);
    FindAction(*window, "FileReplayVideo")->trigger();
    ASSERT_EQ(script->messages.size(), 1u);
    EXPECT_EQ(script->messages[0].first, "Zorvan Quil Reader");
    EXPECT_EQ(script->messages[0].second, QString::fromUtf8("無法儲存檔案"));
    EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

}  // namespace
}  // namespace quil::test
