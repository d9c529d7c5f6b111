#include "print_command_fixture.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "print/printer_dialog.h"

namespace quil::test {

TDialogHand::TDialogHand(std::string finish, TQuil3ReaderWin& window)
    : finish_(std::move(finish)), window_(window) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
    timer_.start();
}

void TDialogHand::Look() {
    if (accepted_) {
        // Runs from the messages the player lets through while it prints.
        if (window_.Player().IsBusy()) {
            sawBusy = true;
            commandsOn = commandsOn || window_.findChild<QAction*>("ActionPlay")->isEnabled();
        }
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messages.push_back(box->text());
            box->accept();
        }
        return;
    }
    auto* dialog = dynamic_cast<TPrinterDlg*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    seen = true;
    position = dialog->pos();
    size = dialog->size();
    preview = dialog->AreaPreview().Clone();
    dialog->findChild<QPushButton*>("NextBtn1")->click();
    dialog->findChild<QPushButton*>(QString::fromStdString(finish_))->click();
    choice = dialog->Choice();
    accepted_ = true;
    // From now on at every chance, to catch the drawing's progress events.
    timer_.setInterval(0);
}

}  // namespace quil::test
