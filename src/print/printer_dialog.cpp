#include "print/printer_dialog.h"

#include <QBitmap>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <algorithm>

#include "platform/truncate.h"
#include "print/area_panel.h"
#include "print/copies_rule.h"
#include "print/position_panel.h"
#include "print/up_down.h"

namespace quil {

namespace {

constexpr int kClientWidth = 473;
constexpr int kClientHeight = 465;
// The position up-downs count over the preview and beyond it.
constexpr int kPositionRange = 240;

template <class T>
T* Make(QWidget* parent, const char* name, int x, int y, int w, int h) {
    T* widget = new T(parent);
    widget->setObjectName(name);
    widget->setGeometry(x, y, w, h);
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const char* name, int x, int y, int w, int h) {
    QPushButton* button = Make<QPushButton>(parent, name, x, y, w, h);
    button->setAutoDefault(false);
    return button;
}

void SetCaption(QWidget* widget, const QString& text) {
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        box->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else
        widget->setWindowTitle(text);
}

// The small printer beside the copies: drawn on pure blue, which is then
// made transparent.
QPixmap CopiesPicture() {
    QImage image(32, 30, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(236, 236, 236));
    painter.drawRect(9, 3, 14, 10);  // the sheet going in
    painter.setBrush(QColor(160, 160, 160));
    painter.drawRect(3, 11, 26, 11);  // the body
    painter.setBrush(Qt::white);
    painter.drawRect(8, 19, 16, 8);  // the sheet coming out
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(QColor(0, 0, 255).rgb())));
    return pixmap;
}

}  // namespace

TPrinterDlg::TPrinterDlg(QPrinter& printer, int pageWidth, int pageHeight, QWidget* owner)
    : TPrinterDlg(printer, pageWidth, pageHeight, TCaptionPlaces::FromEnvironment(), owner) {}

TPrinterDlg::TPrinterDlg(QPrinter& printer, int pageWidth, int pageHeight,
                         const TCaptionPlaces& places, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      printer_(printer),
      model_(pageWidth, pageHeight) {
    setObjectName("PrinterDlg");
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);
    captioned_[0] = this;
    pages_ = Make<QStackedWidget>(this, "PageControl", 0, 0, kClientWidth, kClientHeight);
    BuildPage1();
    BuildPage2();
    captions_.LoadCaptions(places);
    SetCaptions();
}

TPrinterDlg::~TPrinterDlg() = default;

void TPrinterDlg::BuildPage1() {
    QWidget* page = new QWidget(pages_);
    page->setObjectName("Page1");
    pages_->addWidget(page);
    auto* group = Make<QGroupBox>(page, "GroupBox1", 8, 0, 449, 385);
    panel1_ = new TAreaPanel(model_, group);
    panel1_->setObjectName("Panel1");
    panel1_->setGeometry(24, 32, kAreaPreviewWidth, kAreaPreviewHeight);
    auto* all = MakeButton(group, "AllBtn1", 24, 328, 97, 33);
    auto* autoBtn = MakeButton(group, "AutoBtn1", 136, 328, 89, 33);
    bLineCheck_ = Make<QCheckBox>(group, "BLineCheck", 280, 336, 129, 17);
    auto* next = MakeButton(page, "NextBtn1", 240, 408, 89, 33);
    auto* cancel = MakeButton(page, "CancelBtn1", 368, 408, 89, 33);
    captioned_[1] = group;
    captioned_[2] = all;
    captioned_[3] = autoBtn;
    captioned_[4] = next;
    captioned_[5] = cancel;
    captioned_[19] = bLineCheck_;
    connect(all, &QPushButton::clicked, this, [this] { AllBtn1Click(); });
    connect(autoBtn, &QPushButton::clicked, this, [this] { AutoBtn1Click(); });
    connect(next, &QPushButton::clicked, this, [this] { NextBtn1Click(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TPrinterDlg::BuildPage2() {
    QWidget* page = new QWidget(pages_);
    page->setObjectName("Page2");
    pages_->addWidget(page);
    auto* printerBox = Make<QGroupBox>(page, "GroupBox2", 8, 8, 449, 65);
    edit1_ = Make<QLineEdit>(printerBox, "Edit1", 16, 24, 265, 20);
    edit1_->setReadOnly(true);
    auto* change = MakeButton(printerBox, "ChangeBtn", 296, 22, 137, 25);
    auto* position = Make<QGroupBox>(page, "GroupBox3", 8, 80, 449, 313);
    BuildPositionGroup(position);
    auto* back = MakeButton(page, "BackBtn", 120, 408, 89, 33);
    okBtn_ = Make<QPushButton>(page, "OKBtn", 240, 408, 89, 33);
    okBtn_->setDefault(true);
    auto* cancel = MakeButton(page, "CancelBtn2", 368, 408, 89, 33);
    captioned_[6] = printerBox;
    captioned_[7] = change;
    captioned_[8] = position;
    captioned_[15] = back;
    captioned_[16] = okBtn_;
    captioned_[17] = cancel;
    connect(change, &QPushButton::clicked, this, [this] { ChangeBtnClick(); });
    connect(back, &QPushButton::clicked, this, [this] { BackBtnClick(); });
    connect(okBtn_, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TPrinterDlg::BuildPositionGroup(QGroupBox* group) {
    image2_ = new TPositionPanel(model_, group);
    image2_->setObjectName("Image2");
    image2_->setGeometry(16, 24, kPositionPreviewSize, kPositionPreviewSize);

    auto* orientation = Make<QGroupBox>(group, "GroupBox4", 272, 16, 161, 81);
    radioButton1_ = Make<QRadioButton>(orientation, "RadioButton1", 16, 24, 129, 17);
    radioButton2_ = Make<QRadioButton>(orientation, "RadioButton2", 16, 48, 129, 17);
    connect(radioButton1_, &QRadioButton::clicked, this, [this] { RadioButton1Click(0); });
    connect(radioButton2_, &QRadioButton::clicked, this, [this] { RadioButton1Click(1); });

    auto* place = Make<QGroupBox>(group, "GroupBox5", 272, 104, 161, 193);
    upDown1_ = new TUpDown(Qt::Horizontal, place);
    upDown1_->setObjectName("UpDown1");
    upDown1_->setGeometry(48, 17, 90, 25);
    upDown2_ = new TUpDown(Qt::Vertical, place);
    upDown2_->setObjectName("UpDown2");
    upDown2_->setGeometry(16, 50, 25, 75);
    for (TUpDown* upDown : {upDown1_, upDown2_})
        upDown->SetRange(-kPositionRange, kPositionRange);
    upDown1_->SetOnClick([this](bool up) { UpDown1Click(up); });
    upDown2_->SetOnClick([this](bool up) { UpDown2Click(up); });

    // Row by row, the arrow of each button and where it sends the picture.
    static const struct {
        const char* caption;
        int tag;
    } kButtons[9] = {{"↖", 5}, {"↑", 2}, {"↗", 6}, {"←", 1}, {"⊕", 0},
                     {"→", 3}, {"↙", 7}, {"↓", 4}, {"↘", 8}};
    for (int i = 0; i < 9; ++i) {
        const int tag = kButtons[i].tag;
        const std::string name = "PositionButton" + std::to_string(tag);
        auto* button =
            MakeButton(place, name.c_str(), 48 + 30 * (i % 3), 50 + 25 * (i / 3), 30, 25);
        button->setText(QString::fromUtf8(kButtons[i].caption));
        connect(button, &QPushButton::clicked, this, [this, tag] { TntButton4Click(tag); });
    }

    auto* zoom = Make<QLabel>(place, "Label1", 16, 136, 57, 13);
    trackBar1_ = Make<QSlider>(place, "TrackBar1", 8, 152, 73, 33);
    trackBar1_->setOrientation(Qt::Horizontal);
    trackBar1_->setRange(kZoomMinPosition, kZoomMaxPosition);
    trackBar1_->setValue(kZoomMaxPosition);
    trackBar1_->setTickInterval(1);
    trackBar1_->setTickPosition(QSlider::TicksBelow);
    connect(trackBar1_, &QSlider::valueChanged, this, [this](int v) { TrackBar1Change(v); });
    auto* reset = MakeButton(place, "AutoBtn2", 88, 136, 65, 41);
    connect(reset, &QPushButton::clicked, this, [this] { AutoBtn2Click(); });

    auto* copies = Make<QLabel>(group, "CopiesLabel", 48, 280, 81, 13);
    copies->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* picture = Make<QLabel>(group, "Image3", 136, 272, 32, 30);
    picture->setPixmap(CopiesPicture());
    numEdit_ = Make<QLineEdit>(group, "NumEdit", 176, 276, 48, 20);
    numEdit_->setMaxLength(kCopiesDigits);
    numEdit_->installEventFilter(this);
    connect(numEdit_, &QLineEdit::textChanged, this,
            [this](const QString& t) { NumEditChange(t); });
    upDown3_ = new TUpDown(Qt::Vertical, group);
    upDown3_->setObjectName("UpDown3");
    upDown3_->setGeometry(224, 276, 33, 21);
    upDown3_->SetRange(kMinCopies, kMaxCopies);
    upDown3_->SetPosition(kMinCopies);
    upDown3_->SetOnClick([this](bool) { UpDown3Click(); });

    captioned_[9] = orientation;
    captioned_[10] = radioButton1_;
    captioned_[11] = radioButton2_;
    captioned_[12] = place;
    captioned_[13] = zoom;
    captioned_[14] = reset;
    captioned_[18] = copies;
}

void TPrinterDlg::SetCaptions() {
    for (int slot = 0; slot < kCaptionCount; ++slot)
        SetCaption(captioned_[slot], QString::fromStdString(captions_.CaptionText(slot)));
}

QString TPrinterDlg::PrinterName() const {
    if (!printer_.printerName().isEmpty()) return printer_.printerName();
    return printer_.outputFileName();  // printing to a PDF file
}

void TPrinterDlg::PrepareRun() {
    printer_.setCopyCount(kMinCopies);
    numEdit_->setText(QString::number(kMinCopies));
    upDown3_->SetPosition(kMinCopies);
    model_.Selection().MouseUp();
    model_.Placement().MouseUp();
    bLineCheck_->setChecked(choice_.boundary);
    edit1_->setText(PrinterName());
    CheckOrientation();  // lays out the paper and enables "Print"
    pages_->setCurrentIndex(0);
}

void TPrinterDlg::CheckOrientation() {
    const bool landscape = printer_.pageLayout().orientation() == QPageLayout::Landscape;
    (landscape ? radioButton2_ : radioButton1_)->setChecked(true);
    RadioButton1Click(landscape ? 1 : 0);
}

void TPrinterDlg::UpdatePaper() {
    model_.Placement().UpdatePaper(printer_.width(), printer_.height());
    UpdatePrintButton();
}

void TPrinterDlg::UpdatePrintButton() {
    okBtn_->setEnabled(model_.CanPrint(printer_.width(), printer_.height()));
}

void TPrinterDlg::ShowPlacement() {
    const TPaperPlacement& placement = model_.Placement();
    {
        const QSignalBlocker blocker(trackBar1_);
        trackBar1_->setValue(placement.ZoomPosition());
    }
    upDown1_->SetPosition(TruncToInt(placement.PosX()));
    upDown2_->SetPosition(TruncToInt(placement.PosY()));
    image2_->update();
}

void TPrinterDlg::AllBtn1Click() {
    model_.Selection().SelectAll();
    panel1_->update();
}

void TPrinterDlg::AutoBtn1Click() {
    model_.Selection().Auto(model_.AreaPreview());
    panel1_->update();
}

void TPrinterDlg::NextBtn1Click() {
    model_.Next();
    ShowPlacement();
    UpdatePrintButton();
    pages_->setCurrentIndex(1);
}

void TPrinterDlg::BackBtnClick() { pages_->setCurrentIndex(0); }

void TPrinterDlg::ChangeBtnClick() {
    QPrintDialog dialog(&printer_, this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() == QDialog::Accepted) ApplyPrinterOptions();
}

void TPrinterDlg::ApplyPrinterOptions() {
    edit1_->setText(PrinterName());
    const int copies = std::clamp(printer_.copyCount(), kMinCopies, kMaxCopies);
    CheckOrientation();
    numEdit_->setText(QString::number(copies));
    upDown3_->SetPosition(copies);
}

void TPrinterDlg::RadioButton1Click(int tag) {
    printer_.setPageOrientation(tag == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    UpdatePaper();
    AutoBtn2Click();
}

void TPrinterDlg::UpDown1Click(bool up) {
    model_.Placement().Nudge(up ? 1 : -1, 0);
    image2_->update();
}

void TPrinterDlg::UpDown2Click(bool up) {
    model_.Placement().Nudge(0, up ? -1 : 1);
    image2_->update();
}

void TPrinterDlg::TrackBar1Change(int position) {
    model_.Placement().SetZoomPosition(position);
    image2_->update();
}

void TPrinterDlg::TntButton4Click(int tag) {
    model_.Placement().PlaceAt(tag);
    ShowPlacement();
}

void TPrinterDlg::AutoBtn2Click() {
    model_.Placement().ResetPlacement();
    ShowPlacement();
}

bool TPrinterDlg::eventFilter(QObject* watched, QEvent* event) {
    // NumEditKeyPress: typed characters other than digits and backspace are
    // dropped; keys without a character (arrows, Tab, Delete) pass.
    if (watched == numEdit_ && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !AcceptCopiesKey(text.at(0).unicode()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TPrinterDlg::NumEditChange(const QString& text) {
    const int copies = CopiesFromText(text.toStdString());
    if (copies == 0) {
        numEdit_->setText(QString::number(kMinCopies));  // runs this again with "1"
        return;
    }
    printer_.setCopyCount(copies);
    upDown3_->SetPosition(copies);
}

void TPrinterDlg::UpDown3Click() {
    const int copies = upDown3_->Position();
    printer_.setCopyCount(copies);
    numEdit_->setText(QString::number(copies));
    numEdit_->setFocus();
    numEdit_->selectAll();
}

void TPrinterDlg::OKBtnClick() {
    const int width = printer_.width(), height = printer_.height();
    if (!model_.CanPrint(width, height)) return;  // nothing of the page to print
    choice_.printer = PrinterName().toStdString();
    choice_.landscape = printer_.pageLayout().orientation() == QPageLayout::Landscape;
    choice_.copies = printer_.copyCount();
    choice_.area = model_.AreaResult();
    choice_.target = model_.TargetResult(width, height);
    choice_.boundary = bLineCheck_->isChecked();
    accept();
}

}  // namespace quil
