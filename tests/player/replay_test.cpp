// Live replay and navigation: ticks, strokes in progress, Seek, Stop, Last.

#include <gtest/gtest.h>

#include "player_fixture.h"

namespace quil::test {
namespace {

using fixture::TRecordingWriter;

class Replay : public ::testing::Test {
protected:
    TTestFolder folder;
    TPlayerRig rig;
    TQuil3Reader& p = *rig.player;

    void OpenStrokes(int count, int points) {
        TRecordingWriter w(FloatHeader());
        for (int i = 0; i < count; ++i)
            w.Stroke(Line(10, 180, 10.0 + (i % 40) * 3, points, 2.0));
        ASSERT_EQ(rig.Open(WriteRecording(folder, "strokes.stk", w)), 0);
    }
};

TEST_F(Replay, PlayAfterOpeningEmptiesThePageAndStartsFromTheFirstElement) {
    OpenStrokes(3, 5);
    ASSERT_EQ(p.Play(), 1);
    EXPECT_EQ(p.Position(), 0);
    rig.ReplayTimer().Tick();
    EXPECT_EQ(p.Position(), 1);
    EXPECT_TRUE(p.StrokeInProgress());
    EXPECT_EQ(rig.host.events.back(), std::make_pair(kEventPosition, 1));
}

// A 100-point stroke at step 38: its first point, then 38, 38 and 23
// segments; the last of these ticks ends the stroke and the next element
// starts on the tick after.
TEST_F(Replay, StepThirtyEightDrawsAHundredPointStrokeInOnePlusThreeTicks) {
    OpenStrokes(2, 100);
    p.SetReplayStep(38);
    p.Play();
    rig.ReplayTimer().Tick();
    EXPECT_TRUE(p.StrokeInProgress());
    for (int tick = 0; tick < 2; ++tick) {
        rig.ReplayTimer().Tick();
        EXPECT_TRUE(p.StrokeInProgress()) << tick;
    }
    rig.ReplayTimer().Tick();
    EXPECT_FALSE(p.StrokeInProgress());
    EXPECT_EQ(p.Position(), 1);
    rig.ReplayTimer().Tick();
    EXPECT_TRUE(p.StrokeInProgress());
    EXPECT_EQ(p.Position(), 2);
}

TEST_F(Replay, NextInTheMiddleOfAStrokeCompletesItAndKeepsThePosition) {
    OpenStrokes(3, 30);
    p.Play();
    rig.TickUntil([&] { return p.Position() == 2; });
    rig.ReplayTimer().Tick();
    ASSERT_TRUE(p.StrokeInProgress());
    const size_t events = rig.host.events.size();
    EXPECT_EQ(p.Next(), 1);
    EXPECT_FALSE(p.StrokeInProgress());
    EXPECT_EQ(p.Position(), 2);
    EXPECT_EQ(rig.host.events.size(), events);  // no event
    EXPECT_EQ(p.PlayState(), 1);
    EXPECT_TRUE(rig.ReplayTimer().Enabled());
    // The replay goes on with the third element.
    rig.ReplayTimer().Tick();
    EXPECT_EQ(p.Position(), 3);
}

TEST_F(Replay, PreviousInTheMiddleOfAStrokeRemovesItAndTheElementBefore) {
    OpenStrokes(3, 30);
    p.Play();
    rig.TickUntil([&] { return p.Position() == 3; });
    ASSERT_TRUE(p.StrokeInProgress());
    EXPECT_EQ(p.Previous(), 1);
    EXPECT_EQ(p.Position(), 1);
    EXPECT_FALSE(p.StrokeInProgress());
    // Previous at position 1 empties the page.
    EXPECT_EQ(p.Previous(), 1);
    EXPECT_EQ(p.Position(), 0);
    EXPECT_TRUE(SamePixels(p.Renderer()->DisplayDC(), p.PagePicture()));
}

TEST_F(Replay, NextOnTheCompletePageChangesNothingAndSendsNoEvent) {
    OpenStrokes(3, 5);
    const size_t events = rig.host.events.size();
    EXPECT_EQ(p.Next(), 1);
    EXPECT_EQ(p.Position(), 3);
    EXPECT_EQ(rig.host.events.size(), events);
}

TEST_F(Replay, SeekAtBothEndsOfTheStrip) {
    OpenStrokes(100, 3);
    EXPECT_EQ(p.Seek(0, 250), 1);
    EXPECT_EQ(p.Position(), 0);
    EXPECT_EQ(p.Seek(249, 250), 1);
    EXPECT_EQ(p.Position(), 100);  // trunc(249 * 100 / 250 + 0.5)
    EXPECT_EQ(p.Seek(125, 250), 1);
    EXPECT_EQ(p.Position(), 50);
    EXPECT_EQ(p.Seek(7, -1), 1);
    EXPECT_EQ(p.Position(), 7);
    EXPECT_EQ(p.Seek(7, 0), 0);
    EXPECT_EQ(p.Position(), 7);
}

TEST_F(Replay, SeekDuringAStrokeFinishesItFirst) {
    OpenStrokes(10, 30);
    p.Play();
    rig.TickUntil([&] { return p.Position() == 5; });
    ASSERT_TRUE(p.StrokeInProgress());
    EXPECT_EQ(p.Seek(8, -1), 1);
    EXPECT_EQ(p.Position(), 8);
    EXPECT_FALSE(p.StrokeInProgress());
    EXPECT_EQ(p.PlayState(), 1);
}

TEST_F(Replay, StopDuringPlayShowsTheCompletePageAndPlayStartsAgain) {
    OpenStrokes(4, 20);
    const TBitmap complete = p.Renderer()->WorkDC().Clone();
    p.Play();
    rig.TickUntil([&] { return p.Position() == 2; });
    rig.host.events.clear();
    EXPECT_EQ(p.Stop(), 1);
    EXPECT_EQ(p.Position(), 4);
    EXPECT_EQ(p.PlayState(), 0);
    EXPECT_EQ(rig.host.events.back(), std::make_pair(kEventEndReached, 0));
    EXPECT_TRUE(SamePixels(complete, p.Renderer()->WorkDC()));
    EXPECT_EQ(p.Play(), 1);
    EXPECT_EQ(p.Position(), 0);
}

TEST_F(Replay, LastDuringPlayCompletesThePageAndTheNextTickStops) {
    OpenStrokes(4, 20);
    p.Play();
    rig.TickUntil([&] { return p.Position() == 2; });
    EXPECT_EQ(p.Last(), 1);
    EXPECT_EQ(p.Position(), 4);
    EXPECT_EQ(p.PlayState(), 1);
    rig.host.events.clear();
    rig.ReplayTimer().Tick();
    EXPECT_EQ(p.PlayState(), 0);
    EXPECT_FALSE(rig.ReplayTimer().Enabled());
    EXPECT_EQ(rig.host.events.back(), std::make_pair(kEventEndReached, 0));
}

// While the last stroke is replayed the position already equals the
// element count; Last and Stop must still complete that stroke.
TEST_F(Replay, LastAndStopCompleteTheLastStrokeInProgress) {
    OpenStrokes(3, 40);
    const TBitmap complete = p.Renderer()->WorkDC().Clone();
    for (bool useLast : {true, false}) {
        p.Play();
        rig.TickUntil([&] { return p.Position() == 3; });
        rig.ReplayTimer().Tick();
        ASSERT_TRUE(p.StrokeInProgress());
        EXPECT_EQ(useLast ? p.Last() : p.Stop(), 1);
        EXPECT_FALSE(p.StrokeInProgress());
        EXPECT_TRUE(SamePixels(complete, p.Renderer()->WorkDC()));
        EXPECT_EQ(rig.host.events.back(), std::make_pair(kEventEndReached, 0));
        p.Stop();
    }
}

TEST_F(Replay, PlayAfterPauseContinuesTheStrokeAtItsNextPoint) {
    OpenStrokes(2, 30);
    p.SetReplayStep(4);
    p.Play();
    rig.ReplayTimer().Tick();
    rig.ReplayTimer().Tick();
    p.Pause();
    EXPECT_FALSE(rig.ReplayTimer().Tick());
    p.Play();
    // 25 segments are left at 4 a tick: the 7th tick draws the last one and
    // ends the stroke.
    int ticks = rig.TickUntil([&] { return !p.StrokeInProgress(); });
    EXPECT_EQ(ticks, 7);
    EXPECT_EQ(p.Position(), 1);
}

TEST_F(Replay, AStampIsOneElementDrawnWholeInOneTick) {
    TRecordingWriter w(FloatHeader());
    w.Stamp(10, 10, 20, 20, fixture::EncodeBmp(fixture::SolidPicture(8, 8, 0x0000FF)));
    w.Stroke(Line(10, 50, 60, 5, 2.0));
    ASSERT_EQ(rig.Open(WriteRecording(folder, "stamp.stk", w)), 0);
    p.Play();
    rig.ReplayTimer().Tick();
    EXPECT_EQ(p.Position(), 1);
    EXPECT_FALSE(p.StrokeInProgress());
    const uint8_t* px = p.Renderer()->DisplayDC().ScanLine(15) + 3 * 15;
    EXPECT_EQ(px[2], 255);  // red
    EXPECT_EQ(px[0], 0);
}

}  // namespace
}  // namespace quil::test
