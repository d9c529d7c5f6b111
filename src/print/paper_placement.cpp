#include "print/paper_placement.h"

#include <algorithm>

#include "platform/canvas.h"
#include "platform/truncate.h"
#include "render/fuzzy_line.h"

namespace quil {

TPaperPlacement::TPaperPlacement() {
    areaPicture_.Create(kAreaPreviewWidth, kAreaPreviewHeight);
    placedPicture_.Create(kAreaPreviewWidth, kAreaPreviewHeight);
    preview_.Create(kPositionPreviewSize, kPositionPreviewSize);
}

void TPaperPlacement::UpdatePaper(int pageWidth, int pageHeight) {
    constexpr float side = float(kPositionPreviewSize);
    paper_ = {};
    if (pageWidth <= 0 || pageHeight <= 0) return;  // no page size: a square paper
    if (pageHeight < pageWidth) {
        paper_.h = float(pageHeight) * side / float(pageWidth);
        paper_.y = (side - paper_.h) * 0.5f;
    } else {
        paper_.w = float(pageWidth) * side / float(pageHeight);
        paper_.x = (side - paper_.w) * 0.5f;
    }
}

void TPaperPlacement::TakeArea(const TBitmap& areaPreview, const TAreaRect& area) {
    area_ = area;
    area_.width = std::max(area_.width, 1);
    area_.height = std::max(area_.height, 1);
    areaPicture_.Create(area_.width, area_.height);
    TCanvas(&areaPicture_)
        .CopyRect(
            {0, 0, area_.width - 1, area_.height - 1}, areaPreview,
            {area_.left, area_.top, area_.left + area_.width - 1, area_.top + area_.height - 1});
}

void TPaperPlacement::ResetPlacement() {
    const float k = paper_.w / float(area_.width);
    fit_ = k * float(area_.height) >= paper_.h ? paper_.h / float(area_.height) : k;
    zoomPosition_ = kZoomMaxPosition;
    zoom_ = 1.0f;
    BuildPlacedPicture();
    posX_ = (paper_.w - float(area_.width) * fit_) * 0.5f;
    posY_ = (paper_.h - float(area_.height) * fit_) * 0.5f;
    DrawPositionPreview();
}

void TPaperPlacement::SetZoomPosition(int position) {
    zoomPosition_ = std::clamp(position, kZoomMinPosition, kZoomMaxPosition);
    zoom_ = float(zoomPosition_) * kZoomPerPosition;
    BuildPlacedPicture();
    DrawPositionPreview();
}

void TPaperPlacement::BuildPlacedPicture() {
    const int wi = TruncToInt(PlacedWidth()), hi = TruncToInt(PlacedHeight());
    // A picture shrunk below one pixel is not drawn at all.
    if (wi < 1 || hi < 1 || !placedPicture_.Create(wi, hi)) {
        placedPicture_.Reset();
        return;
    }
    TFuzzyLine canvas(placedPicture_);
    if (!canvas.IsValid()) return;
    canvas.WorkCanvas().CopyRect({0, 0, 4 * wi - 1, 4 * hi - 1}, areaPicture_,
                                 {0, 0, area_.width - 1, area_.height - 1});
    canvas.ResolveAll();
}

void TPaperPlacement::MouseDown(int x, int y) {
    dragging_ = true;
    lastX_ = x;
    lastY_ = y;
    const int ax = TruncToInt(x - paper_.x), ay = TruncToInt(y - paper_.y);
    const int wi = TruncToInt(PlacedWidth()), hi = TruncToInt(PlacedHeight());
    if (posX_ <= ax && ax <= posX_ + wi && posY_ <= ay && ay <= posY_ + hi) return;
    posX_ = float(ax - wi / 2);
    posY_ = float(ay - hi / 2);
    DrawPositionPreview();
}

void TPaperPlacement::MouseMove(int x, int y) {
    if (!dragging_) return;
    constexpr float side = float(kPositionPreviewSize);
    posX_ = std::clamp(posX_ + float(x - lastX_), -PlacedWidth(), side);
    posY_ = std::clamp(posY_ + float(y - lastY_), -PlacedHeight(), side);
    DrawPositionPreview();
    lastX_ = x;
    lastY_ = y;
}

void TPaperPlacement::Nudge(int dx, int dy) {
    posX_ += float(dx);
    posY_ += float(dy);
    DrawPositionPreview();
}

void TPaperPlacement::PlaceAt(int tag) {
    const float right = paper_.w - PlacedWidth(), bottom = paper_.h - PlacedHeight();
    switch (tag) {
    case kPlaceCentre:
        posX_ = right * 0.5f;
        posY_ = bottom * 0.5f;
        break;
    case kPlaceLeft: posX_ = 0.0f; break;
    case kPlaceTop: posY_ = 0.0f; break;
    case kPlaceRight: posX_ = right; break;
    case kPlaceBottom: posY_ = bottom; break;
    case kPlaceTopLeft:
        posX_ = 0.0f;
        posY_ = 0.0f;
        break;
    case kPlaceTopRight:
        posX_ = right;
        posY_ = 0.0f;
        break;
    case kPlaceBottomLeft:
        posX_ = 0.0f;
        posY_ = bottom;
        break;
    case kPlaceBottomRight:
        posX_ = right;
        posY_ = bottom;
        break;
    default: return;
    }
    DrawPositionPreview();
}

void TPaperPlacement::DrawPositionPreview() {
    constexpr int side = kPositionPreviewSize;
    TCanvas canvas(&preview_);
    canvas.SetBrushColor(kWhite);
    canvas.FillRect({0, 0, side, side});

    const float a = posX_ + paper_.x, b = posY_ + paper_.y;
    const TRect frame{TruncToInt(a), TruncToInt(b), TruncToInt(PlacedWidth() + a - 1),
                      TruncToInt(PlacedHeight() + b - 1)};
    if (!placedPicture_.Empty())
        canvas.CopyRect(frame, placedPicture_,
                        {0, 0, placedPicture_.Width() - 1, placedPicture_.Height() - 1});

    // Black outside the paper, over the picture where it lies beyond it.
    canvas.SetBrushColor(kBlack);
    canvas.FillRect({0, 0, TruncToInt(paper_.x + 1), side});
    canvas.FillRect({TruncToInt(paper_.x + paper_.w - 1), 0, side, side});
    canvas.FillRect({0, 0, side, TruncToInt(paper_.y + 1)});
    canvas.FillRect({0, TruncToInt(paper_.y + paper_.h - 1), side, side});

    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetPenColor(kBlack);
    canvas.SetPenWidth(1);
    canvas.Rectangle(frame.left, frame.top, frame.right, frame.bottom);
}

}  // namespace quil
