// The window's plain rules: command line, enabling, deferral, names and texts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/command_state.h"
#include "app/deferred_commands.h"
#include "app/document_title.h"
#include "app/file_filters.h"
#include "app/window_texts.h"
#include "export/image_file_name.h"

namespace quil {
namespace {

TEST(CommandLine, TheLastNameWinsAndOptionsAreIgnored) {
    struct Case {
        std::vector<std::string> arguments;
        std::string path;
    };
    const Case cases[] = {
        {{"-x", "first.stk", "second.stk"}, "second.stk"},
        {{"/home/me/first.stk", "--unknown", "-geometry"}, "/home/me/first.stk"},
        {{"-x", "--y"}, ""},
        {{}, ""},
        {{"", "page.stk", ""}, "page.stk"},
        {{"-"}, ""},
        // After "--" a name may begin with "-".
        {{"--", "-odd.stk"}, "-odd.stk"},
    };
    for (const Case& c : cases) {
        const TCommandLine line = ReadCommandLine(c.arguments);
        EXPECT_EQ(line.path, c.path);
        EXPECT_FALSE(line.help || line.version);
    }
    EXPECT_TRUE(ReadCommandLine({"page.stk", "--help"}).help);
    EXPECT_TRUE(ReadCommandLine({"-h"}).help);
    EXPECT_TRUE(ReadCommandLine({"--version"}).version);
    EXPECT_FALSE(ReadCommandLine({"--", "--help"}).help);
}

TEST(CommandState, EnableCommandsSwitchesAllButOpenExitQualityAndAbout) {
    const TCommand always[] = {TCommand::FileOpen, TCommand::Exit1, TCommand::OptionQuality,
                               TCommand::About1};
    const TCommand switched[] = {
        TCommand::File2,      TCommand::FileSaveClip, TCommand::Print1,
        TCommand::FileClose,  TCommand::ActionPlay,   TCommand::ActionPause,
        TCommand::ActionStop, TCommand::ActionFirst,  TCommand::ActionPrevious,
        TCommand::ActionNext, TCommand::ActionLast,   TCommand::OptionReplayRate,
        TCommand::OptionGrid, TCommand::OptionBG,     TCommand::OptionReverse,
        TCommand::ReplayStrip};
    TCommandState state;
    for (bool on : {false, true, false}) {
        state.EnableCommands(on);
        for (TCommand c : always)
            EXPECT_TRUE(state.Enabled(c));
        for (TCommand c : switched)
            EXPECT_EQ(state.Enabled(c), on) << int(c);
    }
}

TEST(CommandState, GridAndBackgroundNeedSomethingToActOn) {
    TCommandState state;
    state.EnableCommands(true);
    state.SetAvailable(TCommand::OptionBG, false);
    EXPECT_FALSE(state.Enabled(TCommand::OptionBG));
    EXPECT_TRUE(state.Enabled(TCommand::OptionGrid));
    state.SetAvailable(TCommand::OptionGrid, false);
    state.SetAvailable(TCommand::OptionBG, true);
    EXPECT_FALSE(state.Enabled(TCommand::OptionGrid));
    EXPECT_TRUE(state.Enabled(TCommand::OptionBG));
    state.EnableCommands(false);
    EXPECT_FALSE(state.Enabled(TCommand::OptionBG));
}

TEST(DeferredCommands, WaitWhileBusyAndRunInOrderAfterwards) {
    bool busy = false;
    std::string log;
    TDeferredCommands deferred([&] { return busy; });
    deferred.Run([&] { log += "a"; });
    EXPECT_EQ(log, "a");
    busy = true;
    deferred.Run([&] { log += "b"; });
    deferred.Run([&] { log += "c"; });
    EXPECT_EQ(log, "a");
    EXPECT_TRUE(deferred.HasWaiting());
    deferred.RunWaiting();  // still busy: nothing runs
    EXPECT_EQ(log, "a");
    busy = false;
    // A new command does not overtake the waiting ones.
    deferred.Run([&] { log += "d"; });
    EXPECT_EQ(log, "abcd");
    EXPECT_FALSE(deferred.HasWaiting());
}

TEST(DeferredCommands, ACommandThatStartsADrawingHoldsTheRestBack) {
    bool busy = true;
    std::string log;
    TDeferredCommands deferred([&] { return busy; });
    deferred.Run([&] {
        log += "draw";
        busy = true;  // the command started a long drawing of its own
    });
    deferred.Run([&] { log += "+next"; });
    busy = false;
    deferred.RunWaiting();
    EXPECT_EQ(log, "draw");
    // A command that arrives from within a running one waits its turn.
    busy = false;
    deferred.Run([&] { log += "+later"; });
    EXPECT_EQ(log, "draw+next+later");
}

TEST(DeferredCommands, ACommandRunFromWithinARunningOneWaitsForIt) {
    std::string log;
    TDeferredCommands deferred([] { return false; });
    deferred.Run([&] {
        log += "outer(";
        deferred.Run([&] { log += "inner"; });
        log += ")";
    });
    // Not inside the outer command, but right after it.
    EXPECT_EQ(log, "outer()inner");
    EXPECT_FALSE(deferred.HasWaiting());
}

TEST(FileFilters, NameTheTypesAsTheDialogsDoInTheSameOrder) {
    EXPECT_EQ(DialogNameFilters(kOpenFilter), (std::vector<std::string>{"STK Files (*.stk)"}));
    EXPECT_EQ(DialogNameFilters(kImageFileFilter),
              (std::vector<std::string>{"Bitmap Image (*.bmp)", "JPEG Image (*.jpg *.jpeg)",
                                        "PNG Image (*.png)", "SVGZ Image (*.svgz)"}));
    EXPECT_TRUE(DialogNameFilters("").empty());
}

TEST(DocumentTitle, DropsTheLastExtensionOnlyWhenShorterThanTheName) {
    EXPECT_EQ(DocumentTitle("/home/me/page.stk"), "page");
    EXPECT_EQ(DocumentTitle("/home/me/a.b.stk"), "a.b");
    EXPECT_EQ(DocumentTitle("/home/my.dir/quil-reader"), "quil-reader");
    EXPECT_EQ(DocumentTitle("/home/me/.stk"), ".stk");
    EXPECT_EQ(DocumentTitle("page."), "page");
    EXPECT_EQ(DisplayFileName("/home/me/page.stk"), "page.stk");
}

TEST(WindowTexts, LoadMessagesForCodesOneToSixOnly) {
    EXPECT_EQ(LoadErrorMessage(0), nullptr);
    EXPECT_STREQ(LoadErrorMessage(1), "無法開啟檔案");
    EXPECT_STREQ(LoadErrorMessage(2), "檔案大小錯誤, 可能已經毀損");
    EXPECT_STREQ(LoadErrorMessage(3), "檔案格式不符");
    EXPECT_STREQ(LoadErrorMessage(4), "解壓縮失敗");
    EXPECT_STREQ(LoadErrorMessage(5), "主版本格式不合");
    EXPECT_STREQ(LoadErrorMessage(6), "不支援的新版本");
    EXPECT_EQ(LoadErrorMessage(7), nullptr);
    EXPECT_EQ(LoadErrorMessage(-1), nullptr);
}

TEST(WindowTexts, AboutNamesTheProgramAndCreditsEachLibrary) {
    const std::string text = AboutText("6.4.2");
    EXPECT_EQ(text.rfind(
                  "Zorvan Quil Reader\n  Version : 1.05\n  Published : 2008/2/22\n  Author  : ", 0),
              0u);
    EXPECT_NE(text.find("\n\n== Supports ==\n\n- Qt 6.4.2\n  "), std::string::npos);
    for (const char* credit : {"\n\n- ZLIB ", "\n\n- libpng ", "\n\n- libjpeg"})
        EXPECT_NE(text.find(credit), std::string::npos) << credit;
    EXPECT_NE(text.back(), '\n');
}

}  // namespace
}  // namespace quil
