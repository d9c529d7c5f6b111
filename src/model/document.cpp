#include "model/document.h"

#include <memory>
#include <new>
#include <utility>

namespace quil {

namespace {

// Elements have no virtual destructor: each is destroyed as its kind says.
void DestroyElement(TInkelDataWT* element) {
    if (element->kind == kStampKind)
        delete static_cast<TStampDataWT*>(element);
    else
        delete static_cast<TStrokeDataWT*>(element);
}

}  // namespace

TPenReplayWT::TPenReplayWT(int pageWidth_, int pageHeight_)
    : pageWidth(pageWidth_), pageHeight(pageHeight_) {}

TPenReplayWT::~TPenReplayWT() { ClearDocument(); }

void TPenReplayWT::ClearDocument() {
    TInkelDataWT* element = firstElement;
    while (element != nullptr) {
        TInkelDataWT* following = element->next;
        DestroyElement(element);
        element = following;
    }
    points_.Clear();
    background.reset();
    firstElement = currentElement = lastElement = nullptr;
    strokeOpen = false;
    openStroke = nullptr;
    bodySize = 0;
    backgroundMode = 0;
    backgroundPlacement = 0;
    title.fill(0);
    extraText.fill(0);
    reservedWord = -1;
    gridCellSize = 0;
}

int TPenReplayWT::ElementCount() const { return lastElement ? lastElement->index + 1 : 0; }

TInkelDataWT* TPenReplayWT::FirstElement() {
    currentElement = firstElement;
    return currentElement;
}

TInkelDataWT* TPenReplayWT::NextElement() {
    if (currentElement == nullptr) return nullptr;
    currentElement = currentElement->next;
    return currentElement;
}

const TInkelDataWT* TPenReplayWT::ElementAt(int index) const {
    for (const TInkelDataWT* element = firstElement; element != nullptr; element = element->next)
        if (element->index == index) return element;
    return nullptr;
}

TInkelDataWT* TPenReplayWT::ElementAt(int index, bool moveCursor) {
    // The elements are the document's own: the const walk hands one back.
    auto* element = const_cast<TInkelDataWT*>(std::as_const(*this).ElementAt(index));
    if (element && moveCursor) currentElement = element;
    return element;
}

void TPenReplayWT::AppendElement(TInkelDataWT* element) {
    if (lastElement == nullptr) {
        element->index = 0;
        firstElement = element;
    } else {
        element->prev = lastElement;
        lastElement->next = element;
        element->index = lastElement->index + 1;
    }
    lastElement = element;
    currentElement = nullptr;
}

TStrokeDataWT* TPenReplayWT::AddPoint(float x, float y, float radius) {
    if (strokeOpen) {
        TPenReplayPointWT* point = points_.Make(x, y, radius);
        if (!point) return nullptr;
        openStroke->AppendPoint(point);
        if (radius == 0.0f) strokeOpen = false;  // the lifting point closes the stroke
        return openStroke;
    }
    // Any point opens a stroke while none is open, a lifting point too; such
    // a stroke stays open until a later point of radius 0.
    std::unique_ptr<TStrokeDataWT> stroke(new (std::nothrow) TStrokeDataWT);
    if (!stroke) return nullptr;
    TPenReplayPointWT* point = points_.Make(x, y, radius);
    if (!point) return nullptr;
    strokeOpen = true;
    stroke->color = penColor;
    stroke->opacity = penOpacity;
    stroke->eraser = penEraser;
    stroke->AppendPoint(point);
    openStroke = stroke.release();
    AppendElement(openStroke);
    return openStroke;
}

TStampDataWT* TPenReplayWT::AddStamp(uint32_t recordTag, TBitmap picture, float x, float y,
                                     float width, float height) {
    auto* stamp = new (std::nothrow) TStampDataWT(x, y, width, height, std::move(picture));
    if (!stamp) return nullptr;
    stamp->color = stampColor;
    stamp->recordTag = recordTag;
    AppendElement(stamp);
    strokeOpen = false;
    return stamp;
}

}  // namespace quil
