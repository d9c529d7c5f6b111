#include "app/window_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "app/video_options_dialog.h"

namespace quil {

TQtWindowDialogs::TQtWindowDialogs(QWidget* window) : window_(window) {}

TQtWindowDialogs::~TQtWindowDialogs() = default;

void TQtWindowDialogs::Message(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, window_);
    box.exec();
}

std::optional<QString> TQtWindowDialogs::OpenFile(const QStringList& nameFilters) {
    const QString path =
        QFileDialog::getOpenFileName(window_, QString(), QString(), nameFilters.join(";;"));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> TQtWindowDialogs::SaveFile(const QString& fileName,
                                                  const QStringList& nameFilters,
                                                  int& filterIndex) {
    if (!saveDialog_) {
        saveDialog_ = std::make_unique<QFileDialog>(window_);
        saveDialog_->setAcceptMode(QFileDialog::AcceptSave);
        saveDialog_->setFileMode(QFileDialog::AnyFile);
        saveDialog_->setOption(QFileDialog::DontConfirmOverwrite);
    }
    QFileDialog& dialog = *saveDialog_;
    dialog.setNameFilters(nameFilters);
    if (filterIndex >= 1 && filterIndex <= nameFilters.size())
        dialog.selectNameFilter(nameFilters[filterIndex - 1]);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    filterIndex = int(nameFilters.indexOf(dialog.selectedNameFilter())) + 1;
    return dialog.selectedFiles().first();
}

std::optional<TVideoSettings> TQtWindowDialogs::VideoSettings(const TVideoSettings& proposed) {
    TVideoOptionsDialog dialog(window_, proposed);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Settings();
}

}  // namespace quil
