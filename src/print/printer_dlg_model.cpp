#include "print/printer_dlg_model.h"

#include <algorithm>
#include <cmath>

#include "platform/truncate.h"
#include "player/page_geometry.h"

namespace quil {

namespace {

bool HasArea(const TRect& r) { return r.right > r.left && r.bottom > r.top; }

// Where the part of a chosen span [start, start + size) that shows the page
// [pageStart, pageEnd) lies in the placed picture of `placed` pixels: its
// offset from the picture's edge and its size. The whole picture when the
// span lies on the page.
struct TPlacedSpan {
    double offset, size;
};
TPlacedSpan OnThePage(int start, int size, double pageStart, double pageEnd, double placed) {
    const double from = std::max<double>(start, pageStart);
    const double to = std::min<double>(double(start) + size, pageEnd);
    if (from == start && to == double(start) + size) return {0.0, placed};
    const double k = placed / size;
    return {(from - start) * k, std::max(to - from, 0.0) * k};
}

}  // namespace

TPageMapping TPrinterDlgModel::PreviewMapping() const {
    return OffScreenMapping({kAreaPreviewWidth, kAreaPreviewHeight}, {pageWidth_, pageHeight_},
                            false);
}

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
    const TPageMapping m = PreviewMapping();
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
    double x = placement_.PosX(), y = placement_.PosY();
    double w = placement_.PlacedWidth(), h = placement_.PlacedHeight();
    // The area result holds only the part of the chosen rectangle that shows
    // the page; the preview's white margins beside the page are not
    // printed. The target is where that part lies in the placed picture, so
    // the page prints where the position preview shows it, in its own
    // proportions.
    if (pageWidth_ > 0 && pageHeight_ > 0) {
        const TPageMapping m = PreviewMapping();
        const TAreaRect& a = placement_.Area();
        const TPlacedSpan across = OnThePage(a.left, a.width, m.offsetX, m.X(float(pageWidth_)), w);
        const TPlacedSpan down = OnThePage(a.top, a.height, m.offsetY, m.Y(float(pageHeight_)), h);
        x += across.offset;
        w = across.size;
        y += down.offset;
        h = down.size;
    }
    return {TruncToInt(printerWidth * x / paper.w), TruncToInt(printerHeight * y / paper.h),
            TruncToInt(printerWidth * (w + x) / paper.w),
            TruncToInt(printerHeight * (h + y) / paper.h)};
}

bool TPrinterDlgModel::CanPrint(int printerWidth, int printerHeight) const {
    return HasArea(AreaResult()) && HasArea(TargetResult(printerWidth, printerHeight));
}

}  // namespace quil
