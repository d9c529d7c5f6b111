#pragma once

#include "platform/bitmap.h"
#include "print/area_selection.h"

namespace quil {

// The position preview: the paper fitted into 240 x 240 pixels.
constexpr int kPositionPreviewSize = 240;
// The zoom track bar runs from 1 to 20; zoom = position x 0.05.
constexpr int kZoomMinPosition = 1;
constexpr int kZoomMaxPosition = 20;
constexpr float kZoomPerPosition = 0.05f;

// Where the position buttons put the picture on the paper.
enum TPlaceTag : int {
    kPlaceCentre = 0,
    kPlaceLeft = 1,
    kPlaceTop = 2,
    kPlaceRight = 3,
    kPlaceBottom = 4,
    kPlaceTopLeft = 5,
    kPlaceTopRight = 6,
    kPlaceBottomLeft = 7,
    kPlaceBottomRight = 8,
};

// The paper's rectangle inside the position preview.
struct TPaperRect {
    float x = 0.0f, y = 0.0f;
    float w = float(kPositionPreviewSize), h = float(kPositionPreviewSize);
};

// The dialog's second page: the chosen area as a picture placed on the
// paper. The area first fills the paper as far as its aspect allows (fit);
// the zoom shrinks it from its top-left corner; the user drags it, nudges it
// by a pixel or sends it to a side, corner or the centre. The position is
// relative to the paper's top-left corner, in preview pixels.
class TPaperPlacement {
public:
    TPaperPlacement();

    // The paper's shape from the printer's page size in printer pixels.
    void UpdatePaper(int pageWidth, int pageHeight);
    // "Next": copies the area of the preview into the area picture; its
    // last column and row stay white.
    void TakeArea(const TBitmap& areaPreview, const TAreaRect& area);
    // "Reset": fit, zoom 1, centred; the preview is drawn.
    void ResetPlacement();
    // The zoom track bar: the picture grows or shrinks from its top-left
    // corner.
    void SetZoomPosition(int position);

    // A press outside the picture centres it on the press; inside, it only
    // starts a drag. Positions are in preview pixels.
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp() { dragging_ = false; }
    bool Dragging() const { return dragging_; }

    // The arrows: one pixel at a time.
    void Nudge(int dx, int dy);
    // The nine position buttons.
    void PlaceAt(int tag);

    // Paints the preview: white, the picture, black outside the paper, and
    // a black frame around the picture.
    void DrawPositionPreview();

    const TPaperRect& Paper() const { return paper_; }
    const TAreaRect& Area() const { return area_; }
    float Fit() const { return fit_; }
    float Zoom() const { return zoom_; }
    int ZoomPosition() const { return zoomPosition_; }
    float PosX() const { return posX_; }
    float PosY() const { return posY_; }
    // The placed picture's size in the preview (before truncation).
    float PlacedWidth() const { return area_.width * fit_ * zoom_; }
    float PlacedHeight() const { return area_.height * fit_ * zoom_; }

    const TBitmap& AreaPicture() const { return areaPicture_; }
    const TBitmap& PlacedPicture() const { return placedPicture_; }
    const TBitmap& Preview() const { return preview_; }

private:
    // The area picture scaled by fit x zoom, laid out at four times its
    // size and averaged down.
    void BuildPlacedPicture();

    TPaperRect paper_;
    TAreaRect area_;
    float fit_ = 1.0f;
    float zoom_ = 1.0f;
    int zoomPosition_ = kZoomMaxPosition;
    float posX_ = 0.0f, posY_ = 0.0f;
    bool dragging_ = false;
    int lastX_ = 0, lastY_ = 0;
    TBitmap areaPicture_;
    TBitmap placedPicture_;
    TBitmap preview_;
};

}  // namespace quil
