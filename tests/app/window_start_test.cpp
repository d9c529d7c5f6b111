// The main window on the offscreen platform: start-up, opening, load errors,
// layout, self-contained mode and the menus.

#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>

#include "app/display_panel.h"
#include "app/status_bar.h"
#include "run_tool.h"
#include "window_fixture.h"

namespace quil::test {
namespace {

class WindowStart : public ::testing::Test, public TWindowTest {};

// The strip's picture reads as green, blue or grey at its middle.
char StripColour(TQuil3ReaderWin& window, int x) {
    const TBitmap& strip = window.StatusPanel().Strip().Strip().Picture();
    const uint8_t* p = strip.ScanLine(strip.Height() / 2) + 3 * x;
    if (p[1] > p[0] + 30 && p[1] > p[2] + 30) return 'G';
    if (p[0] > p[2] + 30) return 'b';
    return p[0] == p[1] && p[1] == p[2] ? 'g' : '?';
}

TEST_F(WindowStart, OpensTheLastNameOfTheCommandLineOnceShown) {
    const std::string first = Write("first.stk", SmallRecording(2));
    const std::string second = Write("second.stk", SmallRecording(5));
    auto window = Start({"-x", first, second});
    // Nothing opens before the message loop runs.
    EXPECT_EQ(window->Player().PlayState(), kNoRecording);
    ASSERT_TRUE(WaitUntilStopped(*window));
    EXPECT_EQ(window->Player().ElementCount(), 6);
    EXPECT_EQ(window->Player().Position(), 6);
    EXPECT_EQ(window->DocumentTitle(), "second");
    EXPECT_EQ(window->StatusPanel().Text(), "second.stk");
    EXPECT_TRUE(script->messages.empty());
    EXPECT_TRUE(FindAction(*window, "ActionPlay")->isEnabled());
    // Complete: the strip is green.
    EXPECT_EQ(StripColour(*window, 125), 'G');
    // The window shows what quil render draws for the same recording.
    ASSERT_TRUE(WaitFor([&] { return window->DisplayPanel().Shown().size() == QSize(300, 200); }));
    EXPECT_TRUE(SamePixels(window->DisplayPanel().Shown(),
                           QuilPicture({"render", second}, (folder / "render.png").string())));
}

TEST_F(WindowStart, OnlySwitchesOpenNothing) {
    auto window = Start({"-x", "--geometry"});
    Settle(200);
    EXPECT_EQ(window->Player().PlayState(), kNoRecording);
    EXPECT_EQ(window->DisplayPanel().size(), QSize(0, 0));
    EXPECT_FALSE(FindAction(*window, "ActionPlay")->isEnabled());
    EXPECT_EQ(StripColour(*window, 125), 'g');
    EXPECT_EQ(window->DocumentTitle(), "quil-reader");
    EXPECT_TRUE(script->messages.empty());
}

TEST_F(WindowStart, EachLoadErrorShowsItsMessageAndLeavesTheCommandsOff) {
    fixture::Header sizeWrong;
    sizeWrong.bodySize = 5000;
    fixture::Header major2;
    major2.major = 2;
    fixture::Header minor9;
    minor9.minor = 9;
    const struct {
        std::string path;
        const char* text;
    } cases[] = {
        {(folder / "missing.stk").string(), "無法開啟檔案"},
        {Write("size.stk", fixture::Packed(fixture::TRecordingWriter(sizeWrong).Body())),
         "檔案大小錯誤, 可能已經毀損"},
        {Write("format.stk", fixture::Bytes(64, 'x')), "檔案格式不符"},
        {Write("packed.stk", fixture::Packed(SmallRecording(), 0u)), "解壓縮失敗"},
        {Write("major.stk", fixture::TRecordingWriter(major2).Body()), "主版本格式不合"},
        {Write("minor.stk", fixture::TRecordingWriter(minor9).Body()), "不支援的新版本"},
    };
    auto window = Start({});
    const std::string good = Write("good.stk", SmallRecording());
    for (const auto& c : cases) {
        // Each after a good recording, which the failed open releases.
        ASSERT_EQ(window->OpenRecording(good), 1);
        script->messages.clear();
        EXPECT_EQ(window->OpenRecording(c.path), 0);
        ASSERT_EQ(script->messages.size(), 1u) << c.path;
        EXPECT_EQ(script->messages[0].first, "Zorvan Quil Reader");
        EXPECT_EQ(script->messages[0].second, QString::fromUtf8(c.text));
        EXPECT_EQ(window->Player().PlayState(), kNoRecording);
        EXPECT_FALSE(FindAction(*window, "FileClose")->isEnabled());
        EXPECT_TRUE(FindAction(*window, "FileOpen")->isEnabled());
        EXPECT_EQ(StripColour(*window, 125), 'g');
    }
}

TEST_F(WindowStart, ASmallPageShowsAtZoomOneAndAMaximisedWindowFitsIt) {
    auto window = Start({Write("small.stk", SmallRecording())});
    ASSERT_TRUE(WaitUntilStopped(*window));
    Settle(100);
    // Smaller than the minimum window allows: top-left, at zoom 1.0.
    EXPECT_EQ(window->DisplayPanel().geometry(), QRect(0, 0, 300, 200));
    EXPECT_EQ(window->Player().Zoom(), 1.0f);
    EXPECT_EQ(window->Player().DisplayWidth(), 300);
    EXPECT_GT(window->BasePanel().width(), 300);
    EXPECT_EQ(window->size(), window->minimumSize());

    window->showMaximized();
    ASSERT_TRUE(WaitFor([&] { return window->isMaximized() && window->Player().Zoom() > 1.0f; }));
    const QSize base = window->BasePanel().size();
    const TDisplayLayout fit = TWindowLayout::Fit(300, 200, base.width(), base.height());
    EXPECT_EQ(window->DisplayPanel().geometry(), QRect(fit.left, fit.top, fit.width, fit.height));
    EXPECT_EQ(window->Player().Zoom(), fit.zoom);
    EXPECT_EQ(window->Player().DisplayHeight(), fit.height);
    // What it shows is the page at that zoom, as quil render fits it.
    ASSERT_TRUE(WaitFor(
        [&] { return window->DisplayPanel().Shown().size() == QSize(fit.width, fit.height); }));
    const std::string size = std::to_string(base.width()) + "x" + std::to_string(base.height());
    EXPECT_TRUE(SamePixels(window->DisplayPanel().Shown(),
                           QuilPicture({"render", (folder / "small.stk").string(), "--size", size},
                                       (folder / "fit.png").string())));
}

TEST_F(WindowStart, APageLargerThanTheScreenIsFittedIntoTheWindow) {
    fixture::Header h;
    h.pageWidth = 4000;
    h.pageHeight = 1000;
    auto window = Start({Write("wide.stk", fixture::TRecordingWriter(h).Body())});
    ASSERT_TRUE(WaitUntilStopped(*window));
    const QSize base = window->BasePanel().size();
    // The base panel spans the width; the page is reduced and centred.
    EXPECT_EQ(window->DisplayPanel().geometry().width(), base.width());
    EXPECT_LT(window->Player().Zoom(), 1.0f);
    EXPECT_EQ(window->DisplayPanel().geometry().top(),
              (base.height() - window->DisplayPanel().height()) / 2);
}

TEST_F(WindowStart, ASelfContainedProgramOpensItselfAndHidesOpenAndClose) {
    const fixture::Bytes region =
        fixture::LeadingBlock(fixture::Bytes(16, 0), fixture::Packed(SmallRecording(4)));
    const std::string viewer =
        Write("viewer", fixture::Appended(fixture::Bytes(4096, 0x7F), region));
    auto window = Start({Write("other.stk", SmallRecording(1))}, viewer);
    ASSERT_TRUE(WaitUntilStopped(*window));
    EXPECT_TRUE(window->SelfContained());
    EXPECT_EQ(window->Player().ElementCount(), 5);  // its own, not other.stk
    EXPECT_EQ(window->DocumentTitle(), "viewer");
    // The File menu shows "Save picture to", "Print", a separator and "Exit".
    QMenu* file = window->findChild<QMenu*>("File");
    QStringList shown;
    for (QAction* a : file->actions())
        if (a->isVisible()) shown << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(shown, (QStringList{"Save picture to", "Print", "-", "Exit"}));
    EXPECT_FALSE(window->acceptDrops());
}

TEST_F(WindowStart, MenusReadAsTheyShouldWithTheirChecksAndTags) {
    auto window = Start({});
    auto read = [&](const char* menu) {
        QStringList items;
        for (QAction* a : window->findChild<QMenu*>(menu)->actions())
            items << (a->isSeparator() ? "-" : a->text());
        return items;
    };
    EXPECT_EQ(read("File"),
              (QStringList{"Open", "-", "Save picture to", "Print", "-", "Close", "-", "Exit"}));
    EXPECT_EQ(read("SavePictureTo"),
              (QStringList{"Image file...", "Clipboard", "Replay video..."}));
    EXPECT_EQ(read("Print"),
              (QStringList{"Ultra (High quality or A1+)...", "High (Normal quality or A4~A1)...",
                           "Normal (low quality or A4-)..."}));
    EXPECT_EQ(read("Action"), (QStringList{"Play", "Pause", "Stop", "-", "First", "Previous",
                                           "Next", "Last", "-"}));
    EXPECT_EQ(read("Option"),
              (QStringList{"Replay rate", "-", "Grid", "-", "Background", "-", "Reverse"}));
    EXPECT_EQ(read("ReplayRate"), (QStringList{"0 (Slowest)", "1", "2", "3 (Normal)", "4", "5",
                                               "6 (Fast)", "7", "8", "9 (Fastest)"}));
    EXPECT_EQ(read("Quality"), (QStringList{"Best", "Middle", "Low"}));
    EXPECT_EQ(read("About"), (QStringList{"About"}));
    QStringList bar;
    for (QAction* a : window->menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"File", "Action", "Option", "Quality", "About"}));

    EXPECT_EQ(FindAction(*window, "Highquality1")->data().toInt(), 200);
    EXPECT_EQ(FindAction(*window, "NormalqualityA1orunder1")->data().toInt(), 150);
    EXPECT_EQ(FindAction(*window, "NormallowqualityorA41")->data().toInt(), 100);
    EXPECT_TRUE(FindAction(*window, "OptionReplayRate3")->isChecked());
    EXPECT_TRUE(FindAction(*window, "OptionQuality16X")->isChecked());
    for (const char* off : {"OptionGrid", "OptionBG", "OptionReverse"})
        EXPECT_FALSE(FindAction(*window, off)->isChecked()) << off;
    // Without a recording: Action and Option are off, Open, Quality and About on.
    EXPECT_FALSE(window->findChild<QMenu*>("Action")->menuAction()->isEnabled());
    EXPECT_FALSE(window->findChild<QMenu*>("Option")->menuAction()->isEnabled());
    EXPECT_TRUE(window->findChild<QMenu*>("Quality")->menuAction()->isEnabled());
    for (const char* on : {"FileOpen", "Exit1", "OptionQuality1X", "About1"})
        EXPECT_TRUE(FindAction(*window, on)->isEnabled()) << on;
    EXPECT_EQ(window->windowTitle(), "Zorvan Quil Reader v1.05");
    EXPECT_EQ(FindAction(*window, "ActionNext")->shortcut(), QKeySequence(Qt::Key_Right));
}

TEST_F(WindowStart, GridAndBackgroundFollowWhatTheRecordingHas) {
    auto window = Start({});
    ASSERT_EQ(window->OpenRecording(Write("bg.stk", SmallRecording(2, true))), 1);
    QAction* bg = FindAction(*window, "OptionBG");
    EXPECT_TRUE(bg->isEnabled());
    EXPECT_TRUE(bg->isChecked());
    EXPECT_TRUE(window->Player().BackgroundOption());
    bg->trigger();
    EXPECT_FALSE(window->Player().BackgroundOption());

    fixture::Header plain;
    plain.pageWidth = 200;
    plain.pageHeight = 100;
    ASSERT_EQ(window->OpenRecording(Write("plain.stk", fixture::TRecordingWriter(plain).Body())),
              1);
    for (const char* option : {"OptionBG", "OptionGrid"}) {
        EXPECT_FALSE(FindAction(*window, option)->isEnabled()) << option;
        EXPECT_FALSE(FindAction(*window, option)->isChecked()) << option;
    }
    EXPECT_TRUE(FindAction(*window, "OptionReverse")->isEnabled());
}

TEST(ReaderProgram, AnswersHelpAndVersionWithoutADisplay) {
    // With the X platform and no display the toolkit could not start: the
    // answers come before it.
    const std::vector<std::string> noDisplay = {
        "DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=xcb"};
    const ToolRun help = RunProgram(QUIL_READER, {"page.stk", "--help"}, noDisplay);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: quil-reader [FILE]\n", 0), 0u);
    const ToolRun version = RunProgram(QUIL_READER, {"--version"}, noDisplay);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "quil-reader 1.05\n");
}

}  // namespace
}  // namespace quil::test
