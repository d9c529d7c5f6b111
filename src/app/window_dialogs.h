#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "app/replay_video_choices.h"

class QWidget;
class QFileDialog;

namespace quil {

// The main window's message boxes and file dialogs. The window asks through
// this interface, so that tests read what it would show instead of blocking
// in a modal loop.
class IWindowDialogs {
public:
    virtual ~IWindowDialogs() = default;

    // A message box with an OK button only.
    virtual void Message(const QString& caption, const QString& text) = 0;

    // The open dialog; no value when cancelled.
    virtual std::optional<QString> OpenFile(const QStringList& nameFilters) = 0;

    // The save dialog, starting with `fileName` and the 1-based filter
    // `filterIndex`, which it updates to the entry chosen; no value when
    // cancelled. An existing file is replaced without asking.
    virtual std::optional<QString> SaveFile(const QString& fileName, const QStringList& nameFilters,
                                            int& filterIndex) = 0;

    // The options of "Replay video...", starting from `proposed`; no value
    // when cancelled.
    virtual std::optional<TVideoSettings> VideoSettings(const TVideoSettings& proposed) = 0;
};

// The toolkit's message boxes and file dialogs, owned by `window`.
class TQtWindowDialogs final : public IWindowDialogs {
public:
    explicit TQtWindowDialogs(QWidget* window);
    ~TQtWindowDialogs() override;

    void Message(const QString& caption, const QString& text) override;
    std::optional<QString> OpenFile(const QStringList& nameFilters) override;
    std::optional<QString> SaveFile(const QString& fileName, const QStringList& nameFilters,
                                    int& filterIndex) override;
    std::optional<TVideoSettings> VideoSettings(const TVideoSettings& proposed) override;

private:
    QWidget* window_;
    // The save dialog lives as long as the window, so it opens where the
    // last picture went.
    std::unique_ptr<QFileDialog> saveDialog_;
};

}  // namespace quil
