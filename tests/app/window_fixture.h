#pragma once

// What the window tests share: dialogs that answer from a script instead of
// blocking, waiting on the message loop, and recordings made by our writer.

#include <QAction>
#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/quil3_reader_win.h"
#include "app/window_dialogs.h"
#include "picture_decoders.h"
#include "recording_writer.h"
#include "test_folder.h"

namespace quil::test {

// What the window asked and what it is answered. The window owns the
// dialogs; the test keeps this script.
struct TDialogScript {
    std::vector<std::pair<QString, QString>> messages;  // caption, text
    std::optional<QString> openAnswer;
    int openAsked = 0;
    std::optional<QString> saveAnswer;
    int saveAnswerIndex = 1;  // the filter the user picks
    std::vector<int> saveIndexOffered;
    QString saveNameOffered;
    QStringList saveFilters;
    // "Replay video..."'s options: what the window proposed, and the user's
    // answer to it (by default the proposal taken as it is).
    std::vector<TVideoSettings> videoProposed;
    std::function<std::optional<TVideoSettings>(TVideoSettings)> videoAnswer =
        [](TVideoSettings proposed) { return std::optional<TVideoSettings>(proposed); };
};

class TScriptedDialogs final : public IWindowDialogs {
public:
    explicit TScriptedDialogs(std::shared_ptr<TDialogScript> script) : script_(std::move(script)) {}
    void Message(const QString& caption, const QString& text) override;
    std::optional<QString> OpenFile(const QStringList& nameFilters) override;
    std::optional<QString> SaveFile(const QString& fileName, const QStringList& nameFilters,
                                    int& filterIndex) override;
    std::optional<TVideoSettings> VideoSettings(const TVideoSettings& proposed) override;

private:
    std::shared_ptr<TDialogScript> script_;
};

// Processes messages until `done` holds or `milliseconds` pass; whether it held.
bool WaitFor(const std::function<bool()>& done, int milliseconds = 30000);
// Processes messages for a while.
void Settle(int milliseconds = 100);
// Processes messages until the window's player stands stopped, as after a
// recording has opened and shown; whether it did.
bool WaitUntilStopped(TQuil3ReaderWin& window);

QAction* FindAction(QWidget& window, const char* component);

// A small page (300 x 200) with a grid: strokes of several widths and a stamp.
fixture::Bytes SmallRecording(int strokes = 3, bool background = false);

// The window's display as a decoded picture: whether `shown` (RGB32) has the
// pixels of `expected`.
bool SamePixels(const QImage& shown, const testing::TRgbaPicture& expected);

// Runs `quil ARGS` writing OUT and decodes the PNG it wrote.
testing::TRgbaPicture QuilPicture(const std::vector<std::string>& args, const std::string& out);

// A window started with `arguments`, shown, answering from a script.
class TWindowTest {
public:
    TWindowTest();
    std::unique_ptr<TQuil3ReaderWin> Start(const std::vector<std::string>& arguments,
                                           const std::filesystem::path& program = {});
    std::string Write(const std::string& name, const fixture::Bytes& bytes);

    testing::TTestFolder folder;
    std::shared_ptr<TDialogScript> script = std::make_shared<TDialogScript>();
    std::filesystem::path program;  // a program file without a recording
};

}  // namespace quil::test
