// The print dialog's widgets on Qt's offscreen platform: where every
// control sits, its caption, its range, and runs driven through the
// controls as a user would.

#include "print/printer_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QtTest/QTest>

#include "pdf_page.h"
#include "platform/canvas.h"
#include "print/up_down.h"
#include "test_folder.h"

namespace quil {
namespace {

class PrinterDialog : public ::testing::Test {
protected:
    void SetUp() override {
        testing::MakePdfPrinter(printer, folder / "page.pdf", 144, QPageSize::A4);
        printer.setPageOrientation(QPageLayout::Portrait);
    }

    // A dialog for a page of the given size, its preview white with a
    // black square, prepared for its run.
    std::unique_ptr<TPrinterDlg> Open(int pageWidth = 1022, int pageHeight = 718,
                                      TRect ink = {100, 50, 110, 60}) {
        auto dialog = std::make_unique<TPrinterDlg>(printer, pageWidth, pageHeight, places);
        TCanvas canvas(&dialog->AreaPreview());
        canvas.SetBrushColor(kBlack);
        canvas.FillRect(ink);
        dialog->PrepareRun();
        return dialog;
    }

    template <class T>
    static T* Child(const TPrinterDlg& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void Click(const TPrinterDlg& dialog, const char* button) {
        if (auto* b = Child<QAbstractButton>(dialog, button)) b->click();
    }
    static int Page(const TPrinterDlg& dialog) {
        return Child<QStackedWidget>(dialog, "PageControl")->currentIndex();
    }

    testing::TTestFolder folder;
    QPrinter printer{QPrinter::HighResolution};
    TCaptionPlaces places{{folder / "user.conf", {folder / "machine.conf"}}, ProgramFolder()};
};

QString ShownCaption(QWidget* widget) {
    if (auto* box = qobject_cast<QGroupBox*>(widget)) return box->title();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    return widget->windowTitle();
}

TEST_F(PrinterDialog, EveryControlSitsWhereTheFormPutsItWithTheCaptionOfItsSlot) {
    // The second language installed with the program, so that every
    // caption comes from its file.
    testing::WriteText(folder / "machine.conf", "[General]\nLanguage=Chinese\n");
    const auto dialog = Open();
    EXPECT_EQ(dialog->size(), QSize(473, 465));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("列印選項"));
    const struct {
        const char* name;
        const char* parent;
        int x, y, w, h;
        int slot;  // -1: no caption
    } controls[] = {
        {"GroupBox1", "Page1", 8, 0, 449, 385, 1},
        {"Panel1", "GroupBox1", 24, 32, 400, 280, -1},
        {"AllBtn1", "GroupBox1", 24, 328, 97, 33, 2},
        {"AutoBtn1", "GroupBox1", 136, 328, 89, 33, 3},
        {"BLineCheck", "GroupBox1", 280, 336, 129, 17, 19},
        {"NextBtn1", "Page1", 240, 408, 89, 33, 4},
        {"CancelBtn1", "Page1", 368, 408, 89, 33, 5},
        {"GroupBox2", "Page2", 8, 8, 449, 65, 6},
        {"Edit1", "GroupBox2", 16, 24, 265, 20, -1},
        {"ChangeBtn", "GroupBox2", 296, 22, 137, 25, 7},
        {"GroupBox3", "Page2", 8, 80, 449, 313, 8},
        {"Image2", "GroupBox3", 16, 24, 240, 240, -1},
        {"GroupBox4", "GroupBox3", 272, 16, 161, 81, 9},
        {"RadioButton1", "GroupBox4", 16, 24, 129, 17, 10},
        {"RadioButton2", "GroupBox4", 16, 48, 129, 17, 11},
        {"GroupBox5", "GroupBox3", 272, 104, 161, 193, 12},
        {"UpDown1", "GroupBox5", 48, 17, 90, 25, -1},
        {"UpDown2", "GroupBox5", 16, 50, 25, 75, -1},
        {"Label1", "GroupBox5", 16, 136, 57, 13, 13},
        {"TrackBar1", "GroupBox5", 8, 152, 73, 33, -1},
        {"AutoBtn2", "GroupBox5", 88, 136, 65, 41, 14},
        {"CopiesLabel", "GroupBox3", 48, 280, 81, 13, 18},
        {"Image3", "GroupBox3", 136, 272, 32, 30, -1},
        {"NumEdit", "GroupBox3", 176, 276, 48, 20, -1},
        {"UpDown3", "GroupBox3", 224, 276, 33, 21, -1},
        {"BackBtn", "Page2", 120, 408, 89, 33, 15},
        {"OKBtn", "Page2", 240, 408, 89, 33, 16},
        {"CancelBtn2", "Page2", 368, 408, 89, 33, 17},
    };
    for (const auto& c : controls) {
        QWidget* widget = Child<QWidget>(*dialog, c.name);
        if (!widget) continue;
        EXPECT_EQ(widget->parentWidget()->objectName(), c.parent) << c.name;
        EXPECT_EQ(widget->geometry(), QRect(c.x, c.y, c.w, c.h)) << c.name;
        if (c.slot < 0) continue;
        const QString expected = QString::fromStdString(dialog->Captions().CaptionText(c.slot));
        EXPECT_EQ(ShownCaption(widget), expected) << c.name;
        EXPECT_NE(expected, QString::fromUtf8(EnglishCaption(c.slot))) << c.name;
    }
    EXPECT_EQ(Child<QPushButton>(*dialog, "OKBtn")->text(), QString::fromUtf8("列印"));

    // The nine position buttons, row by row.
    const char* arrows[9] = {"↖", "↑", "↗", "←", "⊕", "→", "↙", "↓", "↘"};
    const int tags[9] = {5, 2, 6, 1, 0, 3, 7, 4, 8};
    for (int i = 0; i < 9; ++i) {
        const std::string name = "PositionButton" + std::to_string(tags[i]);
        auto* button = Child<QPushButton>(*dialog, name.c_str());
        if (!button) continue;
        EXPECT_EQ(button->parentWidget()->objectName(), "GroupBox5");
        EXPECT_EQ(button->geometry(), QRect(48 + 30 * (i % 3), 50 + 25 * (i / 3), 30, 25));
        EXPECT_EQ(button->text(), QString::fromUtf8(arrows[i]));
    }
}

TEST_F(PrinterDialog, TheControlsCountWithinTheirRanges) {
    const auto dialog = Open();
    for (const char* name : {"UpDown1", "UpDown2"}) {
        const TUpDown* upDown = Child<TUpDown>(*dialog, name);
        EXPECT_EQ(upDown->Minimum(), -240) << name;
        EXPECT_EQ(upDown->Maximum(), 240) << name;
    }
    EXPECT_EQ(Child<TUpDown>(*dialog, "UpDown1")->Orientation(), Qt::Horizontal);
    EXPECT_EQ(Child<TUpDown>(*dialog, "UpDown2")->Orientation(), Qt::Vertical);
    const TUpDown* copies = Child<TUpDown>(*dialog, "UpDown3");
    EXPECT_EQ(copies->Minimum(), 1);
    EXPECT_EQ(copies->Maximum(), 999);
    EXPECT_EQ(copies->Position(), 1);
    const QSlider* zoom = Child<QSlider>(*dialog, "TrackBar1");
    EXPECT_EQ(zoom->minimum(), 1);
    EXPECT_EQ(zoom->maximum(), 20);
    EXPECT_EQ(zoom->value(), 20);
    EXPECT_EQ(zoom->tickInterval(), 1);
    EXPECT_EQ(Child<QLineEdit>(*dialog, "NumEdit")->maxLength(), 3);
    EXPECT_TRUE(Child<QLineEdit>(*dialog, "Edit1")->isReadOnly());
    EXPECT_TRUE(Child<QPushButton>(*dialog, "OKBtn")->isDefault());
    EXPECT_EQ(Child<QLabel>(*dialog, "CopiesLabel")->alignment() & Qt::AlignRight, Qt::AlignRight);
}

TEST_F(PrinterDialog, ARunFromTheAreaToThePrintButton) {
    const auto dialog = Open();
    EXPECT_EQ(Page(*dialog), 0);
    EXPECT_EQ(Child<QLineEdit>(*dialog, "Edit1")->text(), printer.outputFileName());
    EXPECT_TRUE(Child<QRadioButton>(*dialog, "RadioButton1")->isChecked());
    EXPECT_EQ(printer.copyCount(), 1);

    Click(*dialog, "AutoBtn1");
    EXPECT_EQ(dialog->Model().Selection().Rect(), (TAreaRect{98, 48, 14, 14}));
    Click(*dialog, "NextBtn1");
    EXPECT_EQ(Page(*dialog), 1);
    EXPECT_EQ(dialog->Model().Placement().Area(), (TAreaRect{98, 48, 14, 14}));
    Click(*dialog, "BackBtn");
    EXPECT_EQ(Page(*dialog), 0);
    EXPECT_EQ(dialog->Model().Selection().Rect(), (TAreaRect{98, 48, 14, 14}));
    Click(*dialog, "NextBtn1");

    Click(*dialog, "RadioButton2");
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_LT(dialog->Model().Placement().Paper().h, 240.0f);

    Click(*dialog, "PositionButton5");  // top-left
    EXPECT_EQ(dialog->Model().Placement().PosX(), 0.0f);
    Child<QSlider>(*dialog, "TrackBar1")->setValue(10);
    EXPECT_FLOAT_EQ(dialog->Model().Placement().Zoom(), 0.5f);
    Child<TUpDown>(*dialog, "UpDown1")->Click(true);  // right arrow
    Child<TUpDown>(*dialog, "UpDown2")->Click(true);  // up arrow
    EXPECT_EQ(dialog->Model().Placement().PosX(), 1.0f);
    EXPECT_EQ(dialog->Model().Placement().PosY(), -1.0f);
    Click(*dialog, "PositionButton8");  // bottom-right
    const TPaperPlacement& placement = dialog->Model().Placement();
    EXPECT_EQ(Child<TUpDown>(*dialog, "UpDown1")->Position(), int(placement.PosX()));
    EXPECT_EQ(Child<TUpDown>(*dialog, "UpDown2")->Position(), int(placement.PosY()));

    Child<QCheckBox>(*dialog, "BLineCheck")->setChecked(true);
    Click(*dialog, "OKBtn");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const TPrintChoice& choice = dialog->Choice();
    EXPECT_EQ(choice.printer, printer.outputFileName().toStdString());
    EXPECT_TRUE(choice.landscape);
    EXPECT_EQ(choice.copies, 1);
    EXPECT_TRUE(choice.boundary);
    const TRect area = dialog->Model().AreaResult();
    const TRect target = dialog->Model().TargetResult(printer.width(), printer.height());
    EXPECT_EQ(choice.area.left, area.left);
    EXPECT_EQ(choice.area.bottom, area.bottom);
    EXPECT_EQ(choice.target.left, target.left);
    EXPECT_EQ(choice.target.bottom, target.bottom);
    // The black square (100 .. 110, 50 .. 60 in the preview) is the area.
    EXPECT_NEAR(area.left, (98 - 0.72) / 0.39, 1);
    EXPECT_NEAR(area.right, (112 - 0.72) / 0.39, 1);
    EXPECT_NEAR(target.right, printer.width(), 1);
    EXPECT_NEAR(target.bottom, printer.height(), 1);
}

TEST_F(PrinterDialog, TheCopiesEditTakesDigitsOnlyAndNeverLessThanOne) {
    const auto dialog = Open();
    Click(*dialog, "NextBtn1");
    QLineEdit* edit = Child<QLineEdit>(*dialog, "NumEdit");
    const TUpDown* upDown = Child<TUpDown>(*dialog, "UpDown3");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "a-");
    EXPECT_EQ(edit->text(), "1");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_0);
    EXPECT_EQ(edit->text(), "1");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "1");
    edit->selectAll();
    QTest::keyClicks(edit, "1x25");
    EXPECT_EQ(edit->text(), "125");
    EXPECT_EQ(printer.copyCount(), 125);
    EXPECT_EQ(upDown->Position(), 125);
    QTest::keyClicks(edit, "9");
    EXPECT_EQ(edit->text(), "125");  // three digits at most

    Child<TUpDown>(*dialog, "UpDown3")->Click(true);
    EXPECT_EQ(edit->text(), "126");
    EXPECT_EQ(printer.copyCount(), 126);
    EXPECT_EQ(edit->selectedText(), "126");

    dialog->reject();
    EXPECT_EQ(printer.copyCount(), 126);  // in force for the printer even after Cancel
}

TEST_F(PrinterDialog, ThePanelsTakeTheMouse) {
    const auto dialog = Open();
    QWidget* panel = Child<QWidget>(*dialog, "Panel1");
    dialog->show();
    QTest::mouseMove(panel, QPoint(2, 140));
    EXPECT_EQ(panel->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(panel, QPoint(200, 140));
    EXPECT_EQ(panel->cursor().shape(), Qt::SizeAllCursor);
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(2, 140));
    QTest::mouseMove(panel, QPoint(100, 140));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(100, 140));
    EXPECT_EQ(dialog->Model().Selection().Rect(), (TAreaRect{98, 0, 302, 280}));
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(50, 140));  // outside the rectangle
    QTest::mouseMove(panel, QPoint(10, 100));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(10, 100));
    EXPECT_EQ(dialog->Model().Selection().Rect(), (TAreaRect{98, 0, 302, 280}));

    Click(*dialog, "NextBtn1");
    QWidget* image = Child<QWidget>(*dialog, "Image2");
    const float x = dialog->Model().Placement().PosX();
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(60, 10));  // above the picture
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_NE(dialog->Model().Placement().PosX(), x);
    EXPECT_EQ(dialog->Model().Placement().PosY(),
              float(10 - int(dialog->Model().Placement().PlacedHeight()) / 2));
}

TEST_F(PrinterDialog, ThePrinterOptionsChosenElsewhereComeBack) {
    const auto dialog = Open();
    Click(*dialog, "NextBtn1");
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setCopyCount(7);
    dialog->ApplyPrinterOptions();
    EXPECT_TRUE(Child<QRadioButton>(*dialog, "RadioButton2")->isChecked());
    EXPECT_EQ(Child<QLineEdit>(*dialog, "NumEdit")->text(), "7");
    EXPECT_EQ(Child<TUpDown>(*dialog, "UpDown3")->Position(), 7);
    EXPECT_EQ(dialog->Model().Placement().Paper().w, 240.0f);
    EXPECT_LT(dialog->Model().Placement().Paper().h, 240.0f);
    // More copies than the edit's three digits hold: as many as it holds.
    printer.setCopyCount(1500);
    dialog->ApplyPrinterOptions();
    EXPECT_EQ(Child<QLineEdit>(*dialog, "NumEdit")->text(), "999");
    EXPECT_EQ(printer.copyCount(), 999);
}

TEST_F(PrinterDialog, AnAreaBesideThePageCannotBePrinted) {
    // A tall page: the preview's left part is margin.
    const auto dialog = Open(300, 718, {10, 140, 12, 142});
    Click(*dialog, "AutoBtn1");
    Click(*dialog, "NextBtn1");
    QPushButton* print = Child<QPushButton>(*dialog, "OKBtn");
    EXPECT_FALSE(print->isEnabled());
    dialog->findChild<QPushButton*>("OKBtn")->setEnabled(true);
    print->click();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    Click(*dialog, "BackBtn");
    Click(*dialog, "AllBtn1");
    Click(*dialog, "NextBtn1");
    EXPECT_TRUE(print->isEnabled());
}

}  // namespace
}  // namespace quil
