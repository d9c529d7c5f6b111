#pragma once

#include <QPainter>
#include <QPrinter>

#include "platform/printer.h"

namespace quil {

// The printer of the print command: a QPrinter (a system printer through
// CUPS, or a PDF file). Page sizes are the printable area in device pixels
// at the printer's resolution. Pictures are drawn without smoothing and
// stored without lossy compression, so a picture of the destination's size
// reaches the page pixel for pixel.
class TQtPrinter final : public IPrinter {
public:
    explicit TQtPrinter(QPrinter& printer) : printer_(printer) {}
    TQtPrinter(const TQtPrinter&) = delete;
    TQtPrinter& operator=(const TQtPrinter&) = delete;

    int PageWidth() const override { return printer_.width(); }
    int PageHeight() const override { return printer_.height(); }
    bool BeginDoc() override;
    void StretchPicture(const TRect& destination, const TBitmap& picture) override;
    bool EndDoc() override;

private:
    QPrinter& printer_;
    QPainter painter_;
};

}  // namespace quil
