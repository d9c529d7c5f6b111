#include "window_fixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cmath>

#include "run_tool.h"

namespace quil::test {

void TScriptedDialogs::Message(const QString& caption, const QString& text) {
    script_->messages.emplace_back(caption, text);
}

std::optional<QString> TScriptedDialogs::OpenFile(const QStringList&) {
    ++script_->openAsked;
    return script_->openAnswer;
}

std::optional<QString> TScriptedDialogs::SaveFile(const QString& fileName,
                                                  const QStringList& nameFilters,
                                                  int& filterIndex) {
    script_->saveIndexOffered.push_back(filterIndex);
    script_->saveNameOffered = fileName;
    script_->saveFilters = nameFilters;
    if (!script_->saveAnswer) return std::nullopt;
    filterIndex = script_->saveAnswerIndex;
    return script_->saveAnswer;
}

std::optional<TVideoSettings> TScriptedDialogs::VideoSettings(const TVideoSettings& proposed) {
    script_->videoProposed.push_back(proposed);
    return script_->videoAnswer(proposed);
}

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

void Settle(int milliseconds) {
    WaitFor([] { return false; }, milliseconds);
}

bool WaitUntilStopped(TQuil3ReaderWin& window) {
    return WaitFor([&] { return window.Player().PlayState() == kStopped; });
}

QAction* FindAction(QWidget& window, const char* component) {
    return window.findChild<QAction*>(component);
}

fixture::Bytes SmallRecording(int strokes, bool background) {
    fixture::Header h;
    h.pageWidth = 300;
    h.pageHeight = 200;
    h.gridCellSize = 25u << 16 | 25u;
    fixture::TRecordingWriter w(h);
    if (background) w.Background(1, 0, fixture::EncodeBmp(fixture::PatternPicture(24, 16)));
    for (int i = 0; i < strokes; ++i) {
        std::vector<fixture::Point> points;
        const double y = 20 + (160.0 * i) / std::max(strokes, 1);
        for (int k = 0; k <= 20; ++k)
            points.push_back(
                {15 + 13.5 * k, y + 6 * std::sin(k * 0.9), k == 20 ? 0 : 1.0 + (i % 4)});
        w.Stroke(points, {.color = uint32_t(0x201080 + 0x301020 * (i % 5))});
    }
    w.Stamp(230, 120, 50, 40, fixture::EncodeBmp(fixture::PatternPicture(20, 16)));
    return w.Body();
}

bool SamePixels(const QImage& shown, const testing::TRgbaPicture& expected) {
    if (shown.width() != expected.width || shown.height() != expected.height) return false;
    const QImage rgb = shown.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) {
            const QRgb a = rgb.pixel(x, y);
            const uint8_t* b = expected.At(x, y);
            if (qRed(a) != b[0] || qGreen(a) != b[1] || qBlue(a) != b[2]) return false;
        }
    return true;
}

testing::TRgbaPicture QuilPicture(const std::vector<std::string>& args, const std::string& out) {
    std::vector<std::string> all = args;
    all.push_back("-o");
    all.push_back(out);
    const ToolRun run = RunQuil(all);
    testing::TRgbaPicture picture;
    if (run.status == 0) testing::DecodePng(testing::ReadWholeFile(out), picture);
    return picture;
}

TWindowTest::TWindowTest() {
    program = folder / "quil-reader";
    testing::WriteText(program, "a program without a recording");
}

std::unique_ptr<TQuil3ReaderWin> TWindowTest::Start(const std::vector<std::string>& arguments,
                                                    const std::filesystem::path& programPath) {
    TReaderStartup startup{programPath.empty() ? program : programPath, arguments};
    auto window =
        std::make_unique<TQuil3ReaderWin>(startup, std::make_unique<TScriptedDialogs>(script));
    window->show();
    return window;
}

std::string TWindowTest::Write(const std::string& name, const fixture::Bytes& bytes) {
    return folder.Write(name, bytes).string();
}

}  // namespace quil::test
