// The main window's commands on the offscreen platform: enabling around long
// drawings and the commands held back meanwhile, the replay strip, the
// picture commands, the clipboard, "Replay video..." without its module and
// its options dialog, keys, dropping a file and printing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QUrl>
#include <QtTest/QTest>

#include "app/display_panel.h"
#include "app/status_bar.h"
#include "app/video_options_dialog.h"
#include "run_tool.h"
#include "window_fixture.h"

namespace quil::test {
namespace {

class WindowCommands : public ::testing::Test, public TWindowTest {
protected:
    std::unique_ptr<TQuil3ReaderWin> Opened(int strokes = 40) {
        recording = Write("page.stk", SmallRecording(strokes));
        auto window = Start({recording});
        EXPECT_TRUE(WaitUntilStopped(*window));
        return window;
    }
    std::string recording;
};

const TReplayStrip& StripOf(TQuil3ReaderWin& window) {
    return window.StatusPanel().Strip().Strip();
}

TEST_F(WindowCommands, ALongDrawingDisablesTheCommandsAndHoldsBackWhatArrives) {
    auto window = Start({});
    const std::string many = Write("many.stk", SmallRecording(60));
    // Runs from the message loop inside the drawing, at its first progress
    // event: what the user sees and does in the middle of it.
    struct {
        bool busy = false, play = true, open = false, quality = false, about = false,
             progress = false, strip = true;
    } seen;
    QTimer::singleShot(0, window.get(), [&] {
        seen.busy = window->Player().IsBusy();
        seen.play = FindAction(*window, "ActionPlay")->isEnabled();
        seen.open = FindAction(*window, "FileOpen")->isEnabled();
        seen.quality = FindAction(*window, "OptionQuality1X")->isEnabled();
        seen.about = FindAction(*window, "About1")->isEnabled();
        seen.progress = window->StatusPanel().Progress().isVisible();
        seen.strip = window->StatusPanel().Strip().isEnabled();
        FindAction(*window, "OptionQuality1X")->trigger();
        FindAction(*window, "About1")->trigger();
        QTest::mouseClick(&window->DisplayPanel(), Qt::LeftButton, {}, QPoint(10, 10));
    });
    ASSERT_EQ(window->OpenRecording(many), 1);
    ASSERT_TRUE(seen.busy);
    EXPECT_FALSE(seen.play);
    EXPECT_FALSE(seen.strip);
    EXPECT_TRUE(seen.open && seen.quality && seen.about && seen.progress);
    // Nothing ran inside the drawing: no quality change, no box, no play.
    EXPECT_EQ(window->Player().Quality(), 2);
    EXPECT_TRUE(script->messages.empty());
    EXPECT_EQ(window->Player().PlayState(), kStopped);
    // After it, in the order they came.
    ASSERT_TRUE(WaitFor([&] { return window->Player().PlayState() == kPlaying; }));
    EXPECT_EQ(window->Player().Quality(), 0);
    ASSERT_EQ(script->messages.size(), 1u);
    EXPECT_EQ(script->messages[0].first, "About Zorvan Quil Reader");
    EXPECT_TRUE(FindAction(*window, "ActionPlay")->isEnabled());
    EXPECT_FALSE(window->StatusPanel().Progress().isVisible());
    EXPECT_EQ(window->StatusPanel().Progress().value(), 0);
}

TEST_F(WindowCommands, ExitDuringADrawingClosesTheWindowAfterIt) {
    auto window = Start({});
    QTimer::singleShot(0, window.get(), [&] {
        FindAction(*window, "Exit1")->trigger();
        EXPECT_TRUE(window->isVisible());
    });
    ASSERT_EQ(window->OpenRecording(Write("many.stk", SmallRecording(60))), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(WaitFor([&] { return !window->isVisible(); }));
}

TEST_F(WindowCommands, TheStripFollowsTheReplayAndAPressSeeks) {
    auto window = Opened(39);  // and a stamp: 40 elements
    const TReplayStrip& strip = StripOf(*window);
    EXPECT_EQ(strip.Total(), 40);
    EXPECT_EQ(strip.FillEnd(), -1);  // complete: green
    EXPECT_EQ(strip.PaintedWidth(), 0);

    QTest::mouseClick(&window->StatusPanel().Strip(), Qt::LeftButton, {}, QPoint(125, 5));
    EXPECT_EQ(window->Player().Position(), 20);
    EXPECT_EQ(strip.FillEnd(), 125);

    FindAction(*window, "OptionReplayRate9")->trigger();
    EXPECT_EQ(window->Player().ReplayStep(), 38);
    FindAction(*window, "ActionPlay")->trigger();
    ASSERT_TRUE(WaitFor([&] { return window->Player().Position() >= 24; }));
    FindAction(*window, "ActionPause")->trigger();
    EXPECT_EQ(strip.FillEnd(), window->Player().Position() * kStripWidth / 40);

    FindAction(*window, "ActionStop")->trigger();
    EXPECT_EQ(strip.FillEnd(), -1);
    EXPECT_EQ(strip.PaintedWidth(), 0);

    FindAction(*window, "FileClose")->trigger();
    EXPECT_EQ(strip.Total(), 0);
    EXPECT_EQ(strip.FillEnd(), -1);
    EXPECT_EQ(strip.PaintedWidth(), kStripWidth);
    EXPECT_EQ(window->DisplayPanel().size(), QSize(0, 0));
    EXPECT_FALSE(FindAction(*window, "ActionPlay")->isEnabled());
    EXPECT_EQ(window->StatusPanel().Text(), "page.stk");
    // A disabled strip takes no presses.
    QTest::mouseClick(&window->StatusPanel().Strip(), Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_EQ(window->Player().Position(), 0);
}

TEST_F(WindowCommands, ImageFileWritesTheChosenTypeAndRemembersIt) {
    auto window = Opened(6);
    script->saveAnswer = QString::fromStdString((folder / "page.jpeg").string());
    script->saveAnswerIndex = 3;
    FindAction(*window, "File2")->trigger();
    EXPECT_EQ(script->saveNameOffered, "page");
    EXPECT_EQ(script->saveFilters, (QStringList{"Bitmap Image (*.bmp)", "JPEG Image (*.jpg *.jpeg)",
                                                "PNG Image (*.png)", "SVGZ Image (*.svgz)"}));
    // The type chosen, not the one typed: page.jpeg as PNG is page.png,
    // and it holds what quil export writes for the page.
    const std::string exported = (folder / "export.png").string();
    ASSERT_EQ(RunQuil({"export", recording, "-o", exported}).status, 0);
    EXPECT_EQ(testing::ReadWholeFile((folder / "page.png").string()),
              testing::ReadWholeFile(exported));
    EXPECT_FALSE(std::filesystem::exists(folder / "page.jpeg"));

    script->saveAnswer = QString::fromStdString((folder / "scan.png").string());
    script->saveAnswerIndex = 1;
    FindAction(*window, "File2")->trigger();
    const std::vector<uint8_t> bmp = testing::ReadWholeFile((folder / "scan.bmp").string());
    ASSERT_GT(bmp.size(), 2u);
    EXPECT_EQ(std::string(bmp.begin(), bmp.begin() + 2), "BM");
    // The dialog opened with the type last chosen.
    EXPECT_EQ(script->saveIndexOffered, (std::vector<int>{1, 3}));
    EXPECT_TRUE(script->messages.empty());

    // Cancelling keeps the type; a page that cannot be written says so.
    script->saveAnswer.reset();
    FindAction(*window, "File2")->trigger();
    script->saveAnswer = QString::fromStdString((folder / "no" / "such" / "page").string());
    FindAction(*window, "File2")->trigger();
    EXPECT_EQ(script->saveIndexOffered, (std::vector<int>{1, 3, 1, 1}));
    ASSERT_EQ(script->messages.size(), 1u);
    EXPECT_EQ(script->messages[0].first, "Zorvan Quil Reader");
    EXPECT_EQ(script->messages[0].second, QString::fromUtf8("無法儲存檔案"));
}

TEST_F(WindowCommands, ClipboardHoldsThePage) {
    auto window = Opened(6);
    QGuiApplication::clipboard()->setText("something else");
    FindAction(*window, "FileSaveClip")->trigger();
    const QImage image = QGuiApplication::clipboard()->image();
    EXPECT_TRUE(
        SamePixels(image, QuilPicture({"export", recording}, (folder / "page.png").string())));
    EXPECT_TRUE(script->messages.empty());
}

TEST_F(WindowCommands, KeysRunTheirCommandsOnlyWhileTheCommandIsOn) {
    auto window = Start({});
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_Right);
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_EQ(window->Player().PlayState(), kNoRecording);

    ASSERT_EQ(window->OpenRecording(Write("keys.stk", SmallRecording(5))), 1);
    QTest::keyClick(window.get(), Qt::Key_Home);
    EXPECT_EQ(window->Player().Position(), 0);
    QTest::keyClick(window.get(), Qt::Key_Right);
    QTest::keyClick(window.get(), Qt::Key_Right);
    EXPECT_EQ(window->Player().Position(), 2);
    QTest::keyClick(window.get(), Qt::Key_Left);
    EXPECT_EQ(window->Player().Position(), 1);
    QTest::keyClick(window.get(), Qt::Key_End);
    EXPECT_EQ(window->Player().Position(), 6);
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_EQ(window->Player().PlayState(), kPlaying);
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_EQ(window->Player().PlayState(), kPaused);

    script->openAnswer = QString::fromStdString(Write("other.stk", SmallRecording(2)));
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(script->openAsked, 1);
    EXPECT_EQ(window->Player().ElementCount(), 3);
    QTest::keyClick(window.get(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(window->Player().PlayState(), kNoRecording);
}

TEST_F(WindowCommands, ASelfContainedProgramTakesNoOpenKeyAndNoDrop) {
    const fixture::Bytes region = fixture::Packed(SmallRecording(4));
    auto window = Start({}, Write("viewer", fixture::Appended(fixture::Bytes(512, 1), region)));
    ASSERT_TRUE(WaitUntilStopped(*window));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(script->openAsked, 0);
    EXPECT_EQ(window->Player().PlayState(), kStopped);
}

TEST_F(WindowCommands, DroppingARecordingOpensIt) {
    auto window = Start({});
    const std::string dropped = Write("dropped.STK", SmallRecording(7));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/notes.txt"),
                  QUrl::fromLocalFile(QString::fromStdString(dropped))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(window->Player().ElementCount(), 8);
    EXPECT_EQ(window->StatusPanel().Text(), "dropped.STK");

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile("/tmp/notes.txt")});
    QDragEnterEvent refused(QPoint(50, 50), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QCoreApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

// The program file the tests start the window with has no video module
// beside it: "Replay video..." says so and asks nothing.
TEST_F(WindowCommands, ReplayVideoWithoutTheVideoModuleSaysSo) {
    auto window = Opened(6);
    QAction* item = FindAction(*window, "FileReplayVideo");
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->isEnabled());
    item->trigger();
    ASSERT_EQ(script->messages.size(), 1u);
    EXPECT_EQ(script->messages[0].first, "Zorvan Quil Reader");
    EXPECT_TRUE(script->messages[0].second.startsWith("This installation cannot write videos.\n"))
        << script->messages[0].second.toStdString();
    EXPECT_TRUE(script->messages[0].second.contains("no video support"));
    EXPECT_TRUE(script->saveIndexOffered.empty());
    EXPECT_TRUE(script->videoProposed.empty());
}

// The toolkit's options dialog of "Replay video...", answered by a user
// through its widgets.
TEST(VideoOptionsDialog, ShowsTheProposalAndGivesBackWhatIsSet) {
    QWidget owner;
    TQtWindowDialogs dialogs(&owner);
    TVideoSettings proposed;
    proposed.rate = 7;
    proposed.width = 500;
    proposed.height = 333;
    const auto answer = [&](bool ok) {
        QTimer::singleShot(0, &owner, [&owner, ok] {
            auto* dialog = owner.findChild<TVideoOptionsDialog*>();
            ASSERT_TRUE(dialog);
            EXPECT_EQ(dialog->findChild<QComboBox*>("VideoRate")->currentText(), "7");
            EXPECT_EQ(dialog->findChild<QSpinBox*>("VideoWidth")->value(), 500);
            EXPECT_EQ(dialog->findChild<QSpinBox*>("VideoHeight")->value(), 333);
            EXPECT_EQ(dialog->findChild<QSpinBox*>("VideoFps")->value(), 30);
            dialog->findChild<QComboBox*>("VideoRate")->setCurrentIndex(9);
            dialog->findChild<QSpinBox*>("VideoWidth")->setValue(640);
            // Beyond what a video takes: the box keeps to 60.
            dialog->findChild<QSpinBox*>("VideoFps")->setValue(75);
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            QTest::mouseClick(buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                              Qt::LeftButton);
        });
        return dialogs.VideoSettings(proposed);
    };
    const std::optional<TVideoSettings> taken = answer(true);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->rate, 9);
    EXPECT_EQ(taken->width, 640);
    EXPECT_EQ(taken->height, 333);
    EXPECT_EQ(taken->fps, 60);
    EXPECT_FALSE(answer(false));
}

class TRecordedPrint final : public IPrintCommand {
public:
    explicit TRecordedPrint(std::vector<int>& tags) : tags_(tags) {}
    void Print(int tag, TQuil3Reader& player, QWidget&) override {
        tags_.push_back(tag);
        player.Pause();
    }

private:
    std::vector<int>& tags_;
};

TEST_F(WindowCommands, PrintItemsPassTheirTagToThePrintCommand) {
    auto window = Opened(6);
    // Without a print command the items do nothing.
    FindAction(*window, "Highquality1")->trigger();
    std::vector<int> tags;
    window->SetPrintCommand(std::make_unique<TRecordedPrint>(tags));
    for (const char* item : {"Highquality1", "NormalqualityA1orunder1", "NormallowqualityorA41"})
        FindAction(*window, item)->trigger();
    EXPECT_EQ(tags, (std::vector<int>{200, 150, 100}));
    FindAction(*window, "FileClose")->trigger();
    EXPECT_FALSE(FindAction(*window, "Highquality1")->isEnabled());
}

}  // namespace
}  // namespace quil::test
