#include "print/printer_dlg_model.h"

#include <algorithm>
#include <cmath>

#include "platform/truncate.h"
#include "player/page_geometry.h"

namespace quil {

namespace {

bool HasArea(const TRect& r) { return r.right > r.left && r.bottom > r.top; }

}  // namespace

TPrinterDlgModel::TPrinterDlgModel(int pageWidth, int pageHeight)
    : pageWidth_(pageWidth), pageHeight_(pageHeight) {
    areaPreview_.Create(kAreaPreviewWidth, kAreaPreviewHeight);
}

void TPrinterDlgModel::Next() {
    placement_.TakeArea(areaPreview_, selection_.Rect());
    placement_.ResetPlacement();
}

TRect TPrinterDlgModel::AreaResult() const {
    if (pageWidth_ <= 0 || pageHeight_ <= 0) return {};
    const TPageMapping m =
        OffScreenMapping({kAreaPreviewWidth, kAreaPreviewHeight}, {pageWidth_, pageHeight_}, false);
    // Preview pixel edges back to page units, to the nearest unit: the
    // float scale can put the page's last edge a hair short of it.
    const auto unit = [&](int pixel, float offset, int limit) {
        const double v = (double(pixel) - double(offset)) / double(m.widthScale);
        return int(std::lround(std::clamp(v, 0.0, double(limit))));
    };
    const TAreaRect& a = placement_.Area();
    return {unit(a.left, m.offsetX, pageWidth_), unit(a.top, m.offsetY, pageHeight_),
            unit(a.left + a.width, m.offsetX, pageWidth_),
            unit(a.top + a.height, m.offsetY, pageHeight_)};
}

TRect TPrinterDlgModel::TargetResult(int printerWidth, int printerHeight) const {
    const TPaperRect& paper = placement_.Paper();
    const double x = placement_.PosX(), y = placement_.PosY();
    const double w = placement_.PlacedWidth(), h = placement_.PlacedHeight();
    return {TruncToInt(printerWidth * x / paper.w), TruncToInt(printerHeight * y / paper.h),
            TruncToInt(printerWidth * (w + x) / paper.w),
            TruncToInt(printerHeight * (h + y) / paper.h)};
}

bool TPrinterDlgModel::CanPrint(int printerWidth, int printerHeight) const {
    return HasArea(AreaResult()) && HasArea(TargetResult(printerWidth, printerHeight));
}

}  // namespace quil
