// The document and its elements: the list, the cursors, the stroke builder
// and the boxes.

#include <gtest/gtest.h>

#include "model/document.h"
#include "model_test_support.h"

namespace quil {
namespace {

using test::PointsOf;
using test::PointValue;

TBitmap Picture(int w, int h) {
    TBitmap picture;
    EXPECT_TRUE(picture.Create(w, h));
    return picture;
}

TEST(Document, EmptyDocumentHasNoElementsAndCursorsReturnNone) {
    TPenReplayWT doc(1022, 718);
    EXPECT_EQ(doc.ElementCount(), 0);
    EXPECT_EQ(doc.FirstElement(), nullptr);
    EXPECT_EQ(doc.CurrentElement(), nullptr);
    EXPECT_EQ(doc.NextElement(), nullptr);
    EXPECT_EQ(doc.GetPageWidth(), 1022);
    EXPECT_EQ(doc.GetPageHeight(), 718);
    EXPECT_EQ(doc.reservedWord, -1);
    EXPECT_EQ(doc.version, 0x10008u);
    EXPECT_EQ(std::string(doc.magic, 4), "Quil");
    EXPECT_EQ(doc.penOpacity, 255u);
    EXPECT_EQ(doc.stampColor, 255u);
}

TEST(Document, PenLiftClosesTheStrokeAndTheNextPointOpensAnother) {
    TPenReplayWT doc(1022, 718);
    doc.SetPenColor(0x123456);
    TStrokeDataWT* first = doc.AddPoint(1, 1, 2);
    EXPECT_EQ(doc.AddPoint(3, 1, 2), first);
    EXPECT_EQ(doc.AddPoint(5, 1, 0), first);
    TStrokeDataWT* second = doc.AddPoint(6, 6, 1);
    ASSERT_NE(second, first);

    EXPECT_EQ(doc.ElementCount(), 2);
    EXPECT_EQ(first->pointCount, 3);
    EXPECT_EQ(first->color, 0x123456u);
    EXPECT_EQ(first->minX, 1.0f);
    EXPECT_EQ(first->maxX, 5.0f);
    EXPECT_EQ(first->minY, 1.0f);
    EXPECT_EQ(first->maxY, 1.0f);
    EXPECT_EQ(first->maxRadius, 2.0f);
    EXPECT_EQ(second->index, 1);
    EXPECT_EQ(second->prev, first);
    EXPECT_EQ(first->next, second);
    EXPECT_TRUE(doc.strokeOpen);
    EXPECT_EQ(doc.openStroke, second);
    // An append leaves no current element.
    EXPECT_EQ(doc.CurrentElement(), nullptr);
}

TEST(Document, FirstPointWithRadiusZeroOpensAStrokeThatStaysOpen) {
    TPenReplayWT doc(100, 100);
    TStrokeDataWT* stroke = doc.AddPoint(1, 1, 0);
    EXPECT_EQ(stroke->maxRadius, 0.0f);  // the box exists, with radius 0
    EXPECT_EQ(doc.AddPoint(2, 2, 1), stroke);
    EXPECT_EQ(doc.AddPoint(3, 3, 0), stroke);
    EXPECT_NE(doc.AddPoint(4, 4, 1), stroke);
    EXPECT_EQ(stroke->pointCount, 3);
}

TEST(Document, StampClosesTheOpenStroke) {
    TPenReplayWT doc(100, 100);
    TStrokeDataWT* before = doc.AddPoint(1, 1, 2);
    doc.SetStampColor(0xABCDEF);
    TStampDataWT* stamp = doc.AddStamp(9, Picture(3, 2), 10, 10, 5, 5);
    TStrokeDataWT* after = doc.AddPoint(2, 2, 2);
    EXPECT_NE(before, after);
    EXPECT_EQ(stamp->index, 1);
    EXPECT_EQ(after->index, 2);
    EXPECT_EQ(stamp->color, 0xABCDEFu);
    EXPECT_EQ(stamp->recordTag, 9u);
    EXPECT_EQ(stamp->maxRadius, 0.0f);
    EXPECT_EQ(stamp->maxX, 15.0f);
    EXPECT_EQ(stamp->picture.Width(), 3);
}

TEST(Document, PointCursorStopsAfterTheLastPoint) {
    TPenReplayWT doc(100, 100);
    TStrokeDataWT* one = doc.AddPoint(1, 2, 3);
    ASSERT_NE(one->FirstPoint(), nullptr);
    EXPECT_EQ(one->NextPoint(), nullptr);
    EXPECT_EQ(one->NextPoint(), nullptr);

    TStrokeDataWT* three = doc.AddPoint(4, 4, 0);  // continues the same stroke
    EXPECT_EQ(three, one);
    EXPECT_EQ(one->FirstPoint()->x, 1.0f);
    EXPECT_EQ(one->NextPoint()->x, 4.0f);
    EXPECT_EQ(one->NextPoint(), nullptr);
}

TEST(Document, IntersectsAndRedrawRectFollowTheGrownBox) {
    TPenReplayWT doc(100, 100);
    TStrokeDataWT empty;
    float l = 7, t = 7, r = 7, b = 7;
    EXPECT_FALSE(empty.Intersects(-1e9f, -1e9f, 1e9f, 1e9f));
    EXPECT_FALSE(empty.GetRedrawRect(l, t, r, b));
    EXPECT_EQ(l, 7.0f);  // outputs untouched

    TStampDataWT* stamp = doc.AddStamp(0, Picture(1, 1), 10, 10, 5, 5);
    EXPECT_TRUE(stamp->Intersects(15, 15, 20, 20));  // touching edges count
    EXPECT_FALSE(stamp->Intersects(15.5f, 15.5f, 20, 20));
    EXPECT_TRUE(stamp->Intersects(0, 0, 10, 10));
    EXPECT_FALSE(stamp->Intersects(0, 0, 9.99f, 20));

    TStrokeDataWT* stroke = doc.AddPoint(20, 30, 2);
    doc.AddPoint(24, 31, 3);
    EXPECT_TRUE(stroke->Intersects(27, 34, 40, 40));
    EXPECT_FALSE(stroke->Intersects(27.01f, 0, 40, 40));
    ASSERT_TRUE(stroke->GetRedrawRect(l, t, r, b));
    EXPECT_EQ(l, 16.0f);
    EXPECT_EQ(t, 26.0f);
    EXPECT_EQ(r, 28.0f);
    EXPECT_EQ(b, 35.0f);
}

TEST(Document, ElementAtFindsByIndexAndMovesTheCursorOnlyWhenAsked) {
    TPenReplayWT doc(100, 100);
    for (int i = 0; i < 4; ++i)
        doc.AddPoint(float(i), 0, 0);  // each lift closes
    for (int i = 0; i < 4; ++i)
        doc.AddPoint(float(i), 0, 0);
    ASSERT_EQ(doc.ElementCount(), 4);  // point, lift pairs: 4 strokes of two points

    TInkelDataWT* third = doc.ElementAt(2, false);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->index, 2);
    EXPECT_EQ(doc.CurrentElement(), nullptr);
    EXPECT_EQ(doc.ElementAt(2, true), third);
    EXPECT_EQ(doc.CurrentElement(), third);
    EXPECT_EQ(doc.ElementAt(4, true), nullptr);
    EXPECT_EQ(doc.ElementAt(-1, true), nullptr);
    EXPECT_EQ(doc.CurrentElement(), third);

    EXPECT_EQ(doc.NextElement()->index, 3);
    EXPECT_EQ(doc.NextElement(), nullptr);
    EXPECT_EQ(doc.NextElement(), nullptr);  // stays at the end
    EXPECT_EQ(doc.FirstElement()->index, 0);

    // The list invariant: indexes without gaps and prev links back.
    int expected = 0;
    const TInkelDataWT* previous = nullptr;
    for (const TInkelDataWT* e = doc.firstElement; e; e = e->next, ++expected) {
        EXPECT_EQ(e->index, expected);
        EXPECT_EQ(e->prev, previous);
        previous = e;
    }
    EXPECT_EQ(previous, doc.lastElement);
}

TEST(Document, ClearDocumentLeavesNothingAndResetsTheHeader) {
    TPenReplayWT doc(100, 100);
    doc.AddPoint(1, 1, 1);
    doc.AddStamp(0, Picture(2, 2), 0, 0, 1, 1);
    doc.AddPoint(2, 2, 1);
    doc.background = std::make_unique<TBitmap>(Picture(4, 4));
    doc.backgroundMode = 2;
    doc.reservedWord = 5;
    doc.gridCellSize = 7;
    doc.gridOrigin = 8;
    doc.title[0] = u'T';
    doc.ClearDocument();
    EXPECT_EQ(doc.ElementCount(), 0);
    EXPECT_EQ(doc.firstElement, nullptr);
    EXPECT_EQ(doc.lastElement, nullptr);
    EXPECT_EQ(doc.background, nullptr);
    EXPECT_EQ(doc.backgroundMode, 0);
    EXPECT_EQ(doc.reservedWord, -1);
    EXPECT_EQ(doc.gridCellSize, 0u);
    EXPECT_EQ(doc.gridOrigin, 8u);  // kept until a load overwrites it
    EXPECT_EQ(doc.title[0], 0);
    EXPECT_FALSE(doc.strokeOpen);
    // The builder starts afresh: the next point opens a new stroke at 0.
    EXPECT_EQ(doc.AddPoint(1, 1, 1)->index, 0);
}

TEST(Document, LongPointChainIsDestroyedWithoutRecursion) {
    // Millions of points in one stroke: recursion per point would overflow
    // the stack long before this.
    auto doc = std::make_unique<TPenReplayWT>(100, 100);
    for (int i = 0; i < 3'000'000; ++i)
        doc->AddPoint(float(i % 100), 1, 1);
    EXPECT_EQ(doc->ElementCount(), 1);
    EXPECT_EQ(static_cast<TStrokeDataWT*>(doc->firstElement)->pointCount, 3'000'000);
    doc.reset();
}

// Points are held in blocks: a million of them take 24 bytes each and at
// most one block more (the 24 MB a page of a million points may take), and
// clearing the document gives them back.
TEST(Document, PointsAreHeldInBlocksOfTheDocument) {
    TPenReplayWT doc(100, 100);
    EXPECT_EQ(doc.PointBytes(), 0u);
    for (int i = 0; i < 1'000'000; ++i)
        ASSERT_NE(doc.AddPoint(float(i % 1000), float(i / 1000), i % 50 == 49 ? 0.0f : 1.5f),
                  nullptr);
    EXPECT_EQ(doc.ElementCount(), 20'000);
    EXPECT_GE(doc.PointBytes(), 24'000'000u);
    EXPECT_LE(doc.PointBytes(), 24'000'000u + TPointArena::BlockBytes());
    // Each stroke's chain still runs through its own points, in order.
    const auto* last = static_cast<const TStrokeDataWT*>(doc.lastElement);
    EXPECT_EQ(last->pointCount, 50);
    EXPECT_EQ(last->firstPoint->x, 950.0f);
    EXPECT_EQ(last->lastPoint->radius, 0.0f);
    EXPECT_EQ(last->lastPoint->next, nullptr);
    doc.ClearDocument();
    EXPECT_EQ(doc.PointBytes(), 0u);
    EXPECT_EQ(doc.AddPoint(1, 2, 3)->firstPoint->y, 2.0f);
}

TEST(Document, GridHalvesReadLowUnsignedAndHighArithmetic) {
    EXPECT_EQ(GridLow(0xFFFF0010u), 0x10);
    EXPECT_EQ(GridHigh(0xFFFF0010u), -1);
    EXPECT_EQ(GridLow(0x0014FFFFu), 0xFFFF);
    EXPECT_EQ(GridHigh(0x0014FFFFu), 20);
}

}  // namespace
}  // namespace quil
