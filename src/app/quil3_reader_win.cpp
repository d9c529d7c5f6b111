#include "app/quil3_reader_win.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QUrl>
#include <optional>
#include <tuple>

#include "app/client_area.h"
#include "app/command_line.h"
#include "app/display_panel.h"
#include "app/document_title.h"
#include "app/file_filters.h"
#include "app/print_command.h"
#include "app/replay_video_job.h"
#include "app/status_bar.h"
#include "app/video_progress_dialog.h"
#include "app/window_dialogs.h"
#include "app/window_texts.h"
#include "export/image_file_name.h"
#include "export/picture_export.h"
#include "model/document.h"
#include "player/replay_rates.h"

namespace quil {

namespace {

// The client area (base panel and status bar) at design: 792 x 546.
constexpr int kDesignClientWidth = 792;
constexpr int kDesignClientHeight = 546;

std::filesystem::path ToPath(const QString& text) {
    return std::filesystem::path(QFile::encodeName(text).toStdString());
}

QString ToText(const std::string& utf8) { return QString::fromUtf8(utf8.c_str()); }

QStringList ToList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << ToText(text);
    return list;
}

// The recording a drag carries: the first local .stk file.
std::optional<QString> DroppedRecording(const QMimeData* data) {
    if (!data || !data->hasUrls()) return std::nullopt;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(".stk", Qt::CaseInsensitive))
            return url.toLocalFile();
    return std::nullopt;
}

}  // namespace

TQuil3ReaderWin::TQuil3ReaderWin(const TReaderStartup& startup,
                                 std::unique_ptr<IWindowDialogs> dialogs)
    : dialogs_(std::move(dialogs)), deferred_([this] { return player_ && player_->IsBusy(); }) {
    if (!dialogs_) dialogs_ = std::make_unique<TQtWindowDialogs>(this);
    TntFormCreate(startup);
}

TQuil3ReaderWin::~TQuil3ReaderWin() = default;

QWidget& TQuil3ReaderWin::BasePanel() { return client_->BasePanel(); }

TStatusBar& TQuil3ReaderWin::StatusPanel() { return client_->StatusBar(); }

void TQuil3ReaderWin::SetPrintCommand(std::unique_ptr<IPrintCommand> print) {
    print_ = std::move(print);
}

// ---- Start-up -----------------------------------------------------------------

void TQuil3ReaderWin::TntFormCreate(const TReaderStartup& startup) {
    setWindowTitle(kWindowCaption);
    client_ = new TClientArea(this);
    setCentralWidget(client_);
    displayPanel_ = new TDisplayPanel(&client_->BasePanel());
    displayPanel_->setObjectName("DisplayPanel");
    displayPanel_->setGeometry(0, 0, 0, 0);
    BuildMenus();

    // The strip and the progress bar live on the status bar.
    TStripControl& strip = client_->StatusBar().Strip();
    strip.SetOnPress([this](int x) { deferred_.Run([this, x] { StripMouseDown(x); }); });
    displayPanel_->SetOnClick([this] { Run(&TQuil3ReaderWin::DisplayPanelClick); });

    IReaderHost& host = *this;
    player_ = std::make_unique<TQuil3ReaderC>(timers_, host, displayPanel_, 0, 0);
    SizeAtStartup();
    client_->SetOnBaseResize([this] { BasePanelResize(); });

    programPath_ = startup.programPath;
    SetDocumentTitle(programPath_);
    strip.DrawReplayStrip(0, 0);
    EnableCommands(false);

    // A program that carries its own recording opens it and nothing else.
    selfContained_ = TPenReplayWT::FindAppendedRecording(programPath_);
    if (selfContained_) {
        for (QAction* item : fileItems_)
            item->setVisible(false);
        pendingPath_ = programPath_;
    } else {
        pendingPath_ = ReadCommandLine(startup.arguments).path;
        setAcceptDrops(true);
    }
    // Opened from the message loop once the window is shown.
    delayTimer_.setSingleShot(true);
    delayTimer_.setInterval(10);
    connect(&delayTimer_, &QTimer::timeout, this, [this] { TimerDelayTimer(); });
    if (!pendingPath_.empty()) delayTimer_.start();
}

QAction* TQuil3ReaderWin::AddCommand(QMenu* menu, const char* caption, const char* component,
                                     TCommand command, std::function<void()> handler,
                                     const char* shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(component);
    if (shortcut) action->setShortcut(QKeySequence(shortcut));
    connect(action, &QAction::triggered, this,
            [this, handler = std::move(handler)] { deferred_.Run(handler); });
    commands_.emplace_back(action, command);
    return action;
}

QAction* TQuil3ReaderWin::AddCommand(QMenu* menu, const char* caption, const char* component,
                                     TCommand command, void (TQuil3ReaderWin::*handler)(),
                                     const char* shortcut) {
    return AddCommand(
        menu, caption, component, command, [this, handler] { (this->*handler)(); }, shortcut);
}

void TQuil3ReaderWin::BuildMenus() {
    using W = TQuil3ReaderWin;
    QMenu* file = menuBar()->addMenu("File");
    file->setObjectName("File");
    QAction* open =
        AddCommand(file, "Open", "FileOpen", TCommand::FileOpen, &W::FileOpenExecute, "Ctrl+O");
    QAction* afterOpen = file->addSeparator();
    QMenu* save = file->addMenu("Save picture to");
    save->setObjectName("SavePictureTo");
    AddCommand(save, "Image file...", "File2", TCommand::File2, &W::File2Click, "Ctrl+S");
    AddCommand(save, "Clipboard", "FileSaveClip", TCommand::FileSaveClip, &W::FileSaveClipExecute,
               "Ctrl+C");
    AddCommand(save, "Replay video...", "FileReplayVideo", TCommand::FileReplayVideo,
               &W::FileReplayVideoClick);
    QMenu* print = file->addMenu("Print");
    print->setObjectName("Print");
    const std::pair<const char*, const char*> printItems[] = {
        {"Ultra (High quality or A1+)...", "Highquality1"},
        {"High (Normal quality or A4~A1)...", "NormalqualityA1orunder1"},
        {"Normal (low quality or A4-)...", "NormallowqualityorA41"},
    };
    const int printTags[] = {200, 150, 100};
    for (int i = 0; i < 3; ++i) {
        const int tag = printTags[i];
        QAction* item = AddCommand(print, printItems[i].first, printItems[i].second,
                                   TCommand::Print1, [this, tag] { Print1Click(tag); });
        item->setData(tag);
    }
    QAction* beforeClose = file->addSeparator();
    QAction* close =
        AddCommand(file, "Close", "FileClose", TCommand::FileClose, &W::FileCloseExecute, "Ctrl+W");
    file->addSeparator();
    AddCommand(file, "Exit", "Exit1", TCommand::Exit1, &W::Exit1Click, "Ctrl+Q");
    fileItems_ = {open, afterOpen, beforeClose, close};

    QMenu* action = menuBar()->addMenu("Action");
    action->setObjectName("Action");
    AddCommand(action, "Play", "ActionPlay", TCommand::ActionPlay, &W::ActionPlayExecute);
    AddCommand(action, "Pause", "ActionPause", TCommand::ActionPause, &W::ActionPauseExecute);
    AddCommand(action, "Stop", "ActionStop", TCommand::ActionStop, &W::ActionStopExecute);
    action->addSeparator();
    AddCommand(action, "First", "ActionFirst", TCommand::ActionFirst, &W::ActionFirstExecute,
               "Home");
    AddCommand(action, "Previous", "ActionPrevious", TCommand::ActionPrevious,
               &W::ActionPreviousExecute, "Left");
    AddCommand(action, "Next", "ActionNext", TCommand::ActionNext, &W::ActionNextExecute, "Right");
    AddCommand(action, "Last", "ActionLast", TCommand::ActionLast, &W::ActionLastExecute, "End");
    action->addSeparator();

    QMenu* option = menuBar()->addMenu("Option");
    option->setObjectName("Option");
    QMenu* rate = option->addMenu("Replay rate");
    rate->setObjectName("ReplayRate");
    auto* rates = new QActionGroup(this);
    for (int tag = 0; tag < kReplayRateCount; ++tag) {
        const std::string component = "OptionReplayRate" + std::to_string(tag);
        QAction* item =
            AddCommand(rate, kReplayRateCaptions[tag], component.c_str(),
                       TCommand::OptionReplayRate, [this, tag] { OptionReplayRate0Execute(tag); });
        item->setData(tag);
        item->setCheckable(true);
        item->setChecked(tag == replayRate_);
        rates->addAction(item);
    }
    option->addSeparator();
    optionGrid_ =
        AddCommand(option, "Grid", "OptionGrid", TCommand::OptionGrid, &W::OptionGridExecute);
    option->addSeparator();
    optionBG_ =
        AddCommand(option, "Background", "OptionBG", TCommand::OptionBG, &W::OptionBGExecute);
    option->addSeparator();
    optionReverse_ = AddCommand(option, "Reverse", "OptionReverse", TCommand::OptionReverse,
                                &W::OptionReverseExecute);
    for (QAction* toggle : {optionGrid_, optionBG_, optionReverse_})
        toggle->setCheckable(true);

    QMenu* quality = menuBar()->addMenu("Quality");
    quality->setObjectName("Quality");
    auto* qualities = new QActionGroup(this);
    const std::tuple<const char*, const char*, int> qualityItems[] = {
        {"Best", "OptionQuality16X", 2},
        {"Middle", "OptionQuality4X", 1},
        {"Low", "OptionQuality1X", 0}};
    for (const auto& [caption, component, tag] : qualityItems) {
        const int q = tag;
        QAction* item = AddCommand(quality, caption, component, TCommand::OptionQuality,
                                   [this, q] { OptionQuality16XExecute(q); });
        item->setData(tag);
        item->setCheckable(true);
        item->setChecked(tag == 2);
        qualities->addAction(item);
    }

    QMenu* about = menuBar()->addMenu("About");
    about->setObjectName("About");
    AddCommand(about, "About", "About1", TCommand::About1, &W::About1Click);

    // Space toggles play as a click on the display does; like the click it
    // is always reachable, and waits while the player draws.
    auto* playPause = new QAction(this);
    playPause->setObjectName("PlayPauseKey");
    playPause->setShortcut(QKeySequence(Qt::Key_Space));
    connect(playPause, &QAction::triggered, this, [this] { Run(&W::DisplayPanelClick); });
    addAction(playPause);

    switchedMenus_ = {save, print, action, option};
}

void TQuil3ReaderWin::SizeAtStartup() {
    // The window is not shown yet: its size is its client area, and the
    // frame the desktop will add is not known.
    const QSize design(kDesignClientWidth, menuBar()->sizeHint().height() + kDesignClientHeight);
    setMinimumSize(design);
    resize(design);
    const QSize base(kDesignClientWidth, kDesignClientHeight - TStatusBar::kHeight);
    const QRect screenArea = screen()->availableGeometry();
    const std::optional<TWindowRect> grown =
        ScreenRules().Startup({player_->PageWidth(), player_->PageHeight()},
                              {design.width(), design.height()}, {base.width(), base.height()});
    if (grown) {
        resize(grown->width, grown->height);
        move(screenArea.x() + grown->left, screenArea.y() + grown->top);
    } else {
        move(screenArea.x() + (screenArea.width() - width()) / 2,
             screenArea.y() + (screenArea.height() - height()) / 2);
    }
}

void TQuil3ReaderWin::TimerDelayTimer() {
    delayTimer_.stop();
    deferred_.Run([this] { OpenRecording(pendingPath_); });
}

void TQuil3ReaderWin::SetDocumentTitle(const std::filesystem::path& path) {
    documentTitle_ = quil::DocumentTitle(path);
}

// ---- Opening and layout ----------------------------------------------------------

int TQuil3ReaderWin::OpenRecording(const std::filesystem::path& path) {
    SetDocumentTitle(path);
    EnableCommands(false);
    const int code = player_->Open(path);
    if (code != kLoadOk) {
        if (const char* message = LoadErrorMessage(code)) ShowMessage(message);
        return 0;
    }
    recordingPath_ = path;
    LayOutOpenedPage();
    client_->StatusBar().SetText(ToText(DisplayFileName(path)));
    // The Background and Grid commands act only on a recording that has one;
    // such a recording opens with the option on.
    const bool background = player_->HasBackground(), grid = player_->HasGrid();
    state_.SetAvailable(TCommand::OptionBG, background);
    optionBG_->setChecked(background);
    if (background) player_->SetBackground(true);
    state_.SetAvailable(TCommand::OptionGrid, grid);
    optionGrid_->setChecked(grid);
    if (grid) player_->SetGrid(true);
    player_->Show(true);
    EnableCommands(true);
    return 1;
}

TWindowLayout TQuil3ReaderWin::ScreenRules() const {
    const QRect area = screen()->availableGeometry();
    return TWindowLayout(area.width(), area.height());
}

void TQuil3ReaderWin::LayOutOpenedPage() {
    const QSize window = frameGeometry().size();
    const QSize frame = window - size();
    const QSize base = client_->BasePanel().size();
    const TOpenLayout layout = ScreenRules().AfterOpen(
        {player_->PageWidth(), player_->PageHeight()}, {window.width(), window.height()},
        {base.width(), base.height()}, isMaximized());
    if (layout.resize) {
        // The resize handler leaves the page alone while the window takes
        // the page's size; a minimum window size may leave grey around it.
        sizing_ = true;
        resize(QSize(layout.window.width, layout.window.height) - frame);
        sizing_ = false;
    }
    PlaceDisplay(layout.display);
}

void TQuil3ReaderWin::BasePanelResize() {
    if (sizing_) return;
    // Without a recording the display stays 0 x 0 and only grey shows.
    if (player_->PlayState() == kNoRecording) return;
    // A resize in the middle of a drawing would be refused by the player;
    // the page is fitted once the drawing is over, to the size then.
    deferred_.Run([this] { FitDisplay(); });
}

void TQuil3ReaderWin::FitDisplay() {
    if (player_->PlayState() == kNoRecording) return;
    const QSize base = client_->BasePanel().size();
    PlaceDisplay(TWindowLayout::Fit(player_->PageWidth(), player_->PageHeight(), base.width(),
                                    base.height()));
}

void TQuil3ReaderWin::PlaceDisplay(const TDisplayLayout& layout) {
    displayPanel_->setGeometry(layout.left, layout.top, layout.width, layout.height);
    const TDeviceDisplay device = TWindowLayout::ToDevice(layout, devicePixelRatioF());
    player_->SetLayout(displayPanel_, device.width, device.height, device.zoom, 0.0f, 0.0f);
}

// ---- Enabling and host events ------------------------------------------------------

void TQuil3ReaderWin::EnableCommands(bool on) {
    state_.EnableCommands(on);
    for (const auto& [action, command] : commands_)
        action->setEnabled(state_.Enabled(command));
    for (QMenu* menu : switchedMenus_)
        menu->menuAction()->setEnabled(on);
    client_->StatusBar().Strip().setEnabled(state_.Enabled(TCommand::ReplayStrip));
}

void TQuil3ReaderWin::HostEvent(int code, int value) {
    QProgressBar& progress = client_->StatusBar().Progress();
    TStripControl& strip = client_->StatusBar().Strip();
    switch (code) {
    case kEventBusyEnd:
        EnableCommands(true);
        progress.hide();
        progress.setValue(0);
        // The commands that came during the drawing run from the message
        // loop, once the player has left the drawing.
        QTimer::singleShot(0, this, [this] { deferred_.RunWaiting(); });
        break;
    case kEventBusyStart:
        EnableCommands(false);
        progress.setMaximum(value);
        progress.show();
        break;
    case kEventProgress:
        progress.setValue(value);
        QCoreApplication::processEvents();
        break;
    case kEventNoRecording: strip.DrawReplayStrip(0, 0); break;
    case kEventTotal: strip.DrawReplayStrip(-1, value); break;
    case kEventPosition: strip.DrawReplayStrip(value, -1); break;
    case kEventEndReached: strip.DrawReplayStrip(-2, -2); break;
    default: break;
    }
}

// ---- Commands ----------------------------------------------------------------------

void TQuil3ReaderWin::Run(void (TQuil3ReaderWin::*handler)()) {
    deferred_.Run([this, handler] { (this->*handler)(); });
}

void TQuil3ReaderWin::ShowMessage(const char* text) {
    dialogs_->Message(kApplicationTitle, QString::fromUtf8(text));
}

void TQuil3ReaderWin::FileOpenExecute() {
    if (selfContained_) return;
    const std::optional<QString> path = dialogs_->OpenFile(ToList(DialogNameFilters(kOpenFilter)));
    if (path) OpenRecording(ToPath(*path));
}

std::optional<QString> TQuil3ReaderWin::AskSaveName(const char* filter, int& lastIndex) {
    int filterIndex = lastIndex;
    std::optional<QString> chosen =
        dialogs_->SaveFile(ToText(documentTitle_), ToList(DialogNameFilters(filter)), filterIndex);
    if (chosen) lastIndex = filterIndex;
    return chosen;
}

void TQuil3ReaderWin::File2Click() {
    const std::optional<QString> chosen = AskSaveName(kImageFileFilter, saveFilterIndex_);
    if (!chosen) return;
    const std::filesystem::path path = ImageFileName(ToPath(*chosen), saveFilterIndex_);
    // A page that was not saved is said so; the old file stays as it was.
    if (!SaveImageFile(*player_, ImageTypeForFilter(saveFilterIndex_), path))
        ShowMessage(kSaveFailedMessage);
}

void TQuil3ReaderWin::FileSaveClipExecute() {
    if (!CopyToClipboard(*player_, clipboard_)) ShowMessage(kSaveFailedMessage);
}

void TQuil3ReaderWin::FileReplayVideoClick() {
    // FFmpeg's libraries come with the module, loaded the first time a
    // video is wanted, so that the window starts without them.
    if (!videoModule_) videoModule_ = TVideoModule::Load(programPath_);
    if (!videoModule_->Available()) {
        dialogs_->Message(kApplicationTitle, QString::fromUtf8(kNoVideoMessage) + "\n" +
                                                 ToText(videoModule_->Problem()));
        return;
    }
    const std::optional<QString> chosen = AskSaveName(kVideoFileFilter, videoFilterIndex_);
    if (!chosen) return;
    const TWindowView view = CurrentView();
    const std::optional<TVideoSettings> settings =
        dialogs_->VideoSettings(ProposedVideoSettings(view));
    if (!settings) return;
    WriteReplayVideo(ReplayVideoOptions(view, *settings, VideoTypeForFilter(videoFilterIndex_)),
                     VideoFileName(ToPath(*chosen), videoFilterIndex_));
}

void TQuil3ReaderWin::WriteReplayVideo(const TReplayVideoOptions& options,
                                       const std::filesystem::path& out) {
    // The writer replays the recording file with a player of its own; the
    // window's player, its position and its options stay as they are.
    TReplayVideoJob job(videoModule_->MakeWriter(options), recordingPath_, out);
    writingVideo_ = true;
    const TVideoResult result = RunWithProgress(*this, job);
    writingVideo_ = false;
    // A video that was not written is said so; Cancel is not a failure.
    if (result != TVideoResult::Done && result != TVideoResult::Cancelled)
        ShowMessage(kSaveFailedMessage);
}

TWindowView TQuil3ReaderWin::CurrentView() const {
    TWindowView view;
    view.pageWidth = player_->PageWidth();
    view.pageHeight = player_->PageHeight();
    view.displayWidth = player_->DisplayWidth();
    view.displayHeight = player_->DisplayHeight();
    view.zoom = player_->Zoom();
    view.quality = player_->Quality();
    view.grid = player_->GridOption();
    view.background = player_->BackgroundOption();
    view.reverse = player_->Reverse();
    view.rate = replayRate_;
    return view;
}

void TQuil3ReaderWin::Print1Click(int tag) {
    if (print_) print_->Print(tag, *player_, *this);
}

void TQuil3ReaderWin::FileCloseExecute() {
    if (selfContained_) return;
    EnableCommands(false);
    player_->Close();
    displayPanel_->setGeometry(0, 0, 0, 0);
}

void TQuil3ReaderWin::Exit1Click() { close(); }

void TQuil3ReaderWin::ActionPlayExecute() { player_->Play(); }
void TQuil3ReaderWin::ActionPauseExecute() { player_->Pause(); }
void TQuil3ReaderWin::ActionStopExecute() { player_->Stop(); }
void TQuil3ReaderWin::ActionFirstExecute() { player_->First(); }
void TQuil3ReaderWin::ActionPreviousExecute() { player_->Previous(); }
void TQuil3ReaderWin::ActionNextExecute() { player_->Next(); }
void TQuil3ReaderWin::ActionLastExecute() { player_->Last(); }

void TQuil3ReaderWin::OptionReplayRate0Execute(int tag) {
    replayRate_ = tag;
    player_->SetReplayStep(ReplayStepForRate(tag));
}

// The check mark has flipped already; the option follows it.
void TQuil3ReaderWin::OptionGridExecute() { player_->SetGrid(optionGrid_->isChecked()); }
void TQuil3ReaderWin::OptionBGExecute() { player_->SetBackground(optionBG_->isChecked()); }
void TQuil3ReaderWin::OptionReverseExecute() { player_->SetReverse(optionReverse_->isChecked()); }

void TQuil3ReaderWin::OptionQuality16XExecute(int tag) { player_->SetQuality(tag); }

void TQuil3ReaderWin::About1Click() {
    dialogs_->Message(kAboutCaption, ToText(AboutText(qVersion())));
}

void TQuil3ReaderWin::DisplayPanelClick() { player_->PlayPause(); }

void TQuil3ReaderWin::StripMouseDown(int x) { player_->Seek(x, kStripWidth); }

// ---- Window events -------------------------------------------------------------------

void TQuil3ReaderWin::closeEvent(QCloseEvent* event) {
    // Closing destroys the player, which must not happen inside its drawing,
    // nor while a video is written (its dialog holds the window's commands
    // back); the window closes once that is over.
    if (player_->IsBusy() || writingVideo_) {
        event->ignore();
        Run(&TQuil3ReaderWin::Exit1Click);
        return;
    }
    event->accept();
}

void TQuil3ReaderWin::dragEnterEvent(QDragEnterEvent* event) {
    if (!selfContained_ && DroppedRecording(event->mimeData())) event->acceptProposedAction();
}

void TQuil3ReaderWin::dropEvent(QDropEvent* event) {
    const std::optional<QString> path =
        selfContained_ ? std::nullopt : DroppedRecording(event->mimeData());
    if (!path) return;
    event->acceptProposedAction();
    const std::filesystem::path recording = ToPath(*path);
    deferred_.Run([this, recording] { OpenRecording(recording); });
}

}  // namespace quil
