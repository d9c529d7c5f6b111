#include "app/qt_print_command.h"

#include <QPrinter>
#include <QPrinterInfo>

#include "app/print_command_rules.h"
#include "app/window_dialogs.h"
#include "player/quil3_reader.h"
#include "print/printer_dialog.h"
#include "print/qt_printer.h"

namespace quil {

bool TQtPrintSystem::HasPrinter() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

void TQtPrintSystem::SetUpPrinter(QPrinter& printer) {
    // Without a default printer a new printer has none: take the first the
    // system lists, as the print dialog shows and prints on one.
    if (!printer.printerName().isEmpty()) return;
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (!names.isEmpty()) printer.setPrinterName(names.front());
}

void TQtPrintSystem::Message(QWidget& owner, const QString& caption, const QString& text) {
    TQtWindowDialogs(&owner).Message(caption, text);
}

TQtPrintCommand::TQtPrintCommand(std::unique_ptr<IPrintSystem> system)
    : system_(system ? std::move(system) : std::make_unique<TQtPrintSystem>()) {}

TQtPrintCommand::~TQtPrintCommand() = default;

void TQtPrintCommand::Message(QWidget& window, const char* text) {
    system_->Message(window, QString::fromUtf8(kPrintMessageCaption), QString::fromUtf8(text));
}

void TQtPrintCommand::Print(int tag, TQuil3Reader& player, QWidget& window) {
    const float quality = QualityFactor(tag);
    if (!system_->HasPrinter()) {
        Message(window, kNoPrinterMessage);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    system_->SetUpPrinter(printer);
    TPrinterDlg dialog(printer, player.PageWidth(), player.PageHeight(), &window);
    player.Pause();
    player.RenderToBitmap(dialog.AreaPreview(), false);
    const QRect frame = window.frameGeometry();
    const TPoint at = CentredDialogPosition(
        {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()},
        {dialog.width(), dialog.height()});
    dialog.move(at.x, at.y);
    dialog.PrepareRun();
    if (dialog.exec() != QDialog::Accepted) return;

    const TPrintChoice& choice = dialog.Choice();
    TQtPrinter target(printer);
    TPrintStatus status = TPrintStatus::Printed;
    player.RenderToPrinter(target, {choice.area, choice.target, quality}, &status);
    if (const char* text = PrintResultMessage(status)) Message(window, text);
}

}  // namespace quil
