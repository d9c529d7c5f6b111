#include "app/video_options_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include "app/window_texts.h"
#include "player/replay_rates.h"
#include "video/video_size.h"

namespace quil {

namespace {

QSpinBox* NumberBox(QWidget* owner, const char* name, int minimum, int maximum, int value) {
    auto* box = new QSpinBox(owner);
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

}  // namespace

TVideoOptionsDialog::TVideoOptionsDialog(QWidget* owner, const TVideoSettings& proposed)
    : QDialog(owner) {
    setWindowTitle(QStringLiteral("Replay video"));
    rate_ = new QComboBox(this);
    rate_->setObjectName("VideoRate");
    for (const char* caption : kReplayRateCaptions)
        rate_->addItem(QString::fromUtf8(caption));
    rate_->setCurrentIndex(proposed.rate);
    // The smallest frame any of the types takes is 2 x 2.
    width_ = NumberBox(this, "VideoWidth", 2, kMaxVideoSide, proposed.width);
    height_ = NumberBox(this, "VideoHeight", 2, kMaxVideoSide, proposed.height);
    fps_ = NumberBox(this, "VideoFps", kMinVideoFps, kMaxVideoFps, proposed.fps);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Replay rate"), rate_);
    form->addRow(QStringLiteral("Width"), width_);
    form->addRow(QStringLiteral("Height"), height_);
    form->addRow(QStringLiteral("Frames per second"), fps_);
    form->addRow(buttons);
}

TVideoSettings TVideoOptionsDialog::Settings() const {
    TVideoSettings settings;
    settings.rate = rate_->currentIndex();
    settings.width = width_->value();
    settings.height = height_->value();
    settings.fps = fps_->value();
    return settings;
}

}  // namespace quil
