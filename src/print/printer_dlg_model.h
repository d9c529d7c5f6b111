#pragma once

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "player/page_geometry.h"
#include "print/area_selection.h"
#include "print/paper_placement.h"

namespace quil {

// The print dialog without its widgets: the area preview, the area chosen
// on it, the placement on the paper and the rectangles they give.
//
// The caller renders the page into AreaPreview() with the off-screen
// rendering (aspect kept, centred) before the dialog is shown; the area
// result maps the chosen pixels back to page units through that same
// rendering's scale and offsets.
class TPrinterDlgModel {
public:
    TPrinterDlgModel(int pageWidth, int pageHeight);

    int PageWidth() const { return pageWidth_; }
    int PageHeight() const { return pageHeight_; }
    TBitmap& AreaPreview() { return areaPreview_; }
    TAreaSelection& Selection() { return selection_; }
    const TAreaSelection& Selection() const { return selection_; }
    TPaperPlacement& Placement() { return placement_; }
    const TPaperPlacement& Placement() const { return placement_; }

    // "Next": the rectangle becomes the area, placed anew on the paper.
    void Next();

    // The area in page units, clamped to the page; left, top, right,
    // bottom, right and bottom exclusive. Empty when it covers no page unit
    // (an area wholly in the preview's margin).
    TRect AreaResult() const;
    // Where the area result goes on a printer page of the given size in
    // printer pixels: the part of the placed picture that shows the page
    // (all of it unless the area reaches into the preview's margins); right
    // and bottom are edges.
    TRect TargetResult(int printerWidth, int printerHeight) const;
    // Whether both rectangles have a width and a height.
    bool CanPrint(int printerWidth, int printerHeight) const;

private:
    // How the page lies in the area preview (aspect kept, centred).
    TPageMapping PreviewMapping() const;

    int pageWidth_;
    int pageHeight_;
    TBitmap areaPreview_;
    TAreaSelection selection_;
    TPaperPlacement placement_;
};

}  // namespace quil
