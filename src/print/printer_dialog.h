#pragma once

#include <QDialog>
#include <array>

#include "print/dialog_captions.h"
#include "print/print_choice.h"
#include "print/printer_dlg_model.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;

namespace quil {

class TAreaPanel;
class TPositionPanel;
class TUpDown;

// The print setup dialog: a two-page wizard. Page 1 chooses the part of the
// page to print on a 400 x 280 preview; page 2 the printer, the paper's
// orientation, where and how large that part goes on the paper, and the
// number of copies. Orientation and copies go into the printer's settings
// as soon as they change. "Print" closes the dialog with Accepted and
// leaves its choice in Choice().
//
// Use: construct, render the page into AreaPreview() (aspect kept,
// centred), PrepareRun, exec.
class TPrinterDlg final : public QDialog {
public:
    // `printer` is the printer the choice is made for; it must outlive the
    // dialog. The page size is the recording's, in page units. Captions come
    // from the language file the settings name.
    TPrinterDlg(QPrinter& printer, int pageWidth, int pageHeight, QWidget* owner = nullptr);
    TPrinterDlg(QPrinter& printer, int pageWidth, int pageHeight, const TCaptionPlaces& places,
                QWidget* owner = nullptr);
    ~TPrinterDlg() override;

    TBitmap& AreaPreview() { return model_.AreaPreview(); }
    void PrepareRun();
    const TPrintChoice& Choice() const { return choice_; }
    const TPrinterDlgModel& Model() const { return model_; }
    const TDialogCaptions& Captions() const { return captions_; }

    // What "Printer options..." does once the user confirmed the system's
    // print dialog: the printer's name, orientation and copies come back.
    void ApplyPrinterOptions();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPage1();
    void BuildPage2();
    void BuildPositionGroup(QGroupBox* parent);
    void SetCaptions();

    // Handlers of the controls.
    void AllBtn1Click();
    void AutoBtn1Click();
    void NextBtn1Click();
    void BackBtnClick();
    void ChangeBtnClick();
    void RadioButton1Click(int tag);
    void UpDown1Click(bool up);
    void UpDown2Click(bool up);
    void TrackBar1Change(int position);
    void TntButton4Click(int tag);
    void AutoBtn2Click();
    void NumEditChange(const QString& text);
    void UpDown3Click();
    void OKBtnClick();

    // The paper of the printer's page, then the print button's state.
    void UpdatePaper();
    // "Print" is offered only when the area covers part of the page and the
    // printer has a page.
    void UpdatePrintButton();
    // The controls that show the placement after the program moved it.
    void ShowPlacement();
    void CheckOrientation();
    QString PrinterName() const;

    QPrinter& printer_;
    TPrinterDlgModel model_;
    TDialogCaptions captions_;
    TPrintChoice choice_;

    QStackedWidget* pages_ = nullptr;
    TAreaPanel* panel1_ = nullptr;
    TPositionPanel* image2_ = nullptr;
    QCheckBox* bLineCheck_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QRadioButton* radioButton1_ = nullptr;
    QRadioButton* radioButton2_ = nullptr;
    TUpDown* upDown1_ = nullptr;
    TUpDown* upDown2_ = nullptr;
    TUpDown* upDown3_ = nullptr;
    QSlider* trackBar1_ = nullptr;
    QLineEdit* numEdit_ = nullptr;
    QPushButton* okBtn_ = nullptr;
    // The controls that show caption slots, by slot.
    std::array<QWidget*, kCaptionCount> captioned_{};
};

}  // namespace quil
