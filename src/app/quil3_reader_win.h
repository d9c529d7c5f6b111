#pragma once

#include <QMainWindow>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/command_state.h"
#include "app/deferred_commands.h"
#include "app/print_command.h"
#include "app/qt_clipboard.h"
#include "app/qt_timers.h"
#include "app/replay_video_choices.h"
#include "app/window_dialogs.h"
#include "player/quil3_reader_c.h"
#include "player/window_layout.h"
#include "video/video_module.h"

class QAction;
class QMenu;

namespace quil {

class TClientArea;
class TDisplayPanel;
class TStatusBar;

// What the program starts with: its own file (which may carry a recording)
// and its command line without the program name and the toolkit's options.
struct TReaderStartup {
    std::filesystem::path programPath;
    std::vector<std::string> arguments;
};

// The main window: menus, the grey base panel with the display panel the
// player draws in, and the status bar with the file name, the replay strip
// and the progress bar. It opens the recording it was started with (or the
// one it carries) shortly after it is shown, sizes itself to the page, routes
// the commands to the player and the exporters, and reflects the player's
// host events.
class TQuil3ReaderWin final : public QMainWindow, private IReaderHost {
public:
    // `dialogs` nullptr: the toolkit's message boxes and file dialogs.
    explicit TQuil3ReaderWin(const TReaderStartup& startup,
                             std::unique_ptr<IWindowDialogs> dialogs = nullptr);
    ~TQuil3ReaderWin() override;

    // Opens a recording, lays the page out and shows it; a load error is
    // shown in a message box. 1 when the recording is shown, 0 otherwise.
    int OpenRecording(const std::filesystem::path& path);
    // Enables or disables the commands that need a recording, together.
    void EnableCommands(bool on);
    // The print command behind the "Print" items; none: they do nothing.
    void SetPrintCommand(std::unique_ptr<IPrintCommand> print);

    TQuil3ReaderC& Player() { return *player_; }
    TDisplayPanel& DisplayPanel() { return *displayPanel_; }
    QWidget& BasePanel();
    TStatusBar& StatusPanel();
    bool SelfContained() const { return selfContained_; }
    const std::string& DocumentTitle() const { return documentTitle_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void HostEvent(int code, int value) override;

    // Start-up.
    void TntFormCreate(const TReaderStartup& startup);
    void BuildMenus();
    // A menu item whose command runs `handler` through the deferral.
    QAction* AddCommand(QMenu* menu, const char* caption, const char* component, TCommand command,
                        std::function<void()> handler, const char* shortcut = nullptr);
    QAction* AddCommand(QMenu* menu, const char* caption, const char* component, TCommand command,
                        void (TQuil3ReaderWin::*handler)(), const char* shortcut = nullptr);
    void SizeAtStartup();
    void TimerDelayTimer();

    // Layout.
    TWindowLayout ScreenRules() const;
    void BasePanelResize();
    void FitDisplay();
    void LayOutOpenedPage();
    void PlaceDisplay(const TDisplayLayout& layout);

    // Commands; each runs through the deferral, so none re-enters a drawing.
    void Run(void (TQuil3ReaderWin::*handler)());
    // The save dialog for the types of `filter`, starting at the type last
    // taken, which `lastIndex` (1-based) keeps when the user accepts.
    std::optional<QString> AskSaveName(const char* filter, int& lastIndex);
    void FileOpenExecute();
    void File2Click();
    void FileSaveClipExecute();
    void FileReplayVideoClick();
    TWindowView CurrentView() const;
    void WriteReplayVideo(const TReplayVideoOptions& options, const std::filesystem::path& out);
    void Print1Click(int tag);
    void FileCloseExecute();
    void Exit1Click();
    void ActionPlayExecute();
    void ActionPauseExecute();
    void ActionStopExecute();
    void ActionFirstExecute();
    void ActionPreviousExecute();
    void ActionNextExecute();
    void ActionLastExecute();
    void OptionReplayRate0Execute(int tag);
    void OptionGridExecute();
    void OptionBGExecute();
    void OptionReverseExecute();
    void OptionQuality16XExecute(int tag);
    void About1Click();
    void DisplayPanelClick();
    void StripMouseDown(int x);

    void SetDocumentTitle(const std::filesystem::path& path);
    void ShowMessage(const char* text);

    TQtTimerFactory timers_;
    TQtClipboard clipboard_;
    std::unique_ptr<IWindowDialogs> dialogs_;
    std::unique_ptr<IPrintCommand> print_;
    TCommandState state_;
    TDeferredCommands deferred_;

    TClientArea* client_ = nullptr;
    TDisplayPanel* displayPanel_ = nullptr;
    QTimer delayTimer_;

    // Commands and the menus EnableCommands switches.
    std::vector<std::pair<QAction*, TCommand>> commands_;
    std::vector<QMenu*> switchedMenus_;
    // Hidden in self-contained mode.
    std::vector<QAction*> fileItems_;
    QAction* optionGrid_ = nullptr;
    QAction* optionBG_ = nullptr;
    QAction* optionReverse_ = nullptr;

    std::filesystem::path programPath_;
    std::string documentTitle_;
    std::filesystem::path pendingPath_;
    bool selfContained_ = false;
    bool sizing_ = false;
    int saveFilterIndex_ = 1;
    // The recording shown (the program itself in self-contained mode).
    std::filesystem::path recordingPath_;
    // The rate entry checked in the "Replay rate" menu.
    int replayRate_ = 3;
    // "Replay video...": the type its save dialog last took, the video
    // module once loaded, and whether a video is being written.
    int videoFilterIndex_ = 1;
    std::optional<TVideoModule> videoModule_;
    bool writingVideo_ = false;

    // Declared last so that it goes first: its host and its display outlive it.
    std::unique_ptr<TQuil3ReaderC> player_;
};

}  // namespace quil
