// quil-reader: the viewer's entry point.

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/qt_print_command.h"
#include "app/quil3_reader_win.h"
#include "app/window_font.h"
#include "app/window_texts.h"

int main(int argc, char** argv) {
    // --help and --version answer before anything needs a display.
    const quil::TCommandLine line =
        quil::ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.help || line.version) {
        std::fputs(line.help ? quil::CommandLineHelp() : quil::CommandLineVersion(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(quil::kApplicationTitle));
    // Desktops match the window to its installed entry, quil-reader.desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral("quil-reader"));
    QApplication::setFont(quil::WindowFont());

    // The toolkit has taken its own options (-platform, -display, ...) out.
    quil::TReaderStartup startup;
    startup.programPath = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        startup.arguments.push_back(QFile::encodeName(arguments[i]).toStdString());

    quil::TQuil3ReaderWin window(startup);
    window.SetPrintCommand(std::make_unique<quil::TQtPrintCommand>());
    window.show();
    return application.exec();
}
