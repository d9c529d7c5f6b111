// The page reached by live replay, by a forward jump and by a backward jump
// must be the same, pixel for pixel, in the work and the display surface,
// at every quality: three roads that share no drawing loop.
//
// Live replay leaves the pen marker ring at the last point of a stroke in
// progress; the pages are compared only where no stroke is in progress
// (the ring is gone once a stroke ends or is completed), which is the state
// every other road produces.

#include <gtest/gtest.h>

#include "player_fixture.h"

namespace quil::test {
namespace {

using fixture::TRecordingWriter;

struct Surfaces {
    TBitmap work, display;
};

Surfaces Grab(const TQuil3Reader& p) {
    return {p.Renderer()->WorkDC().Clone(), p.Renderer()->DisplayDC().Clone()};
}

void ExpectSame(const Surfaces& a, const Surfaces& b, const std::string& what) {
    EXPECT_EQ(DifferentPixels(a.work, b.work), 0) << what << ": work surface";
    EXPECT_EQ(DifferentPixels(a.display, b.display), 0) << what << ": display surface";
}

class ReplayEquivalence : public ::testing::TestWithParam<std::tuple<int, bool>> {
protected:
    TTestFolder folder;
    std::filesystem::path Mixed(bool withBackground) {
        TRecordingWriter w(FloatHeader());
        if (withBackground) w.Background(1, 0, fixture::EncodeBmp(fixture::PatternPicture(9, 7)));
        WriteMixedPage(w);
        return WriteRecording(folder, "mixed.stk", w);
    }
};

TEST_P(ReplayEquivalence, ReplayForwardAndBackwardJumpsDrawTheSamePage) {
    const auto [quality, reverse] = GetParam();
    const auto path = Mixed(true);
    TPlayerRig replay(quality), forward(quality), backward(quality);
    for (TPlayerRig* rig : {&replay, &forward, &backward}) {
        ASSERT_EQ(rig->Open(path), 0);
        rig->player->SetReverse(reverse);
    }
    const int count = replay.player->ElementCount();
    replay.player->SetReplayStep(7);
    replay.player->Play();
    for (int target = 1; target <= count; ++target) {
        // Replay up to the end of element target - 1.
        replay.TickUntil([&] {
            return replay.player->Position() == target && !replay.player->StrokeInProgress();
        });
        forward.player->GoTo(0, false);
        forward.player->GoTo(target, false);
        backward.player->GoTo(count, false);
        backward.player->GoTo(target, false);
        const std::string at = "position " + std::to_string(target);
        ExpectSame(Grab(*replay.player), Grab(*forward.player), at + ", replay vs forward");
        ExpectSame(Grab(*backward.player), Grab(*forward.player), at + ", backward vs forward");
    }
    // Stepping backward one element at a time from the complete page.
    for (int target = count - 1; target >= 1; --target) {
        backward.player->GoTo(target + 1, false);
        backward.player->GoTo(target, false);
        forward.player->GoTo(0, false);
        forward.player->GoTo(target, false);
        ExpectSame(Grab(*backward.player), Grab(*forward.player),
                   "one step back to " + std::to_string(target));
    }
}

// Completing a stroke in the middle of its replay (Next) gives what the
// jump draws: the stroke is finished from where it stands, not drawn again
// over itself, which would darken a half-transparent stroke.
TEST_P(ReplayEquivalence, NextInTheMiddleOfAStrokeEqualsTheJump) {
    const auto [quality, reverse] = GetParam();
    const auto path = Mixed(false);
    TPlayerRig replay(quality), jump(quality);
    for (TPlayerRig* rig : {&replay, &jump}) {
        ASSERT_EQ(rig->Open(path), 0);
        rig->player->SetReverse(reverse);
    }
    replay.player->SetReplayStep(3);
    replay.player->Play();
    for (int element = 1; element <= replay.player->ElementCount(); ++element) {
        replay.TickUntil([&] { return replay.player->Position() == element; });
        // Two more ticks into a stroke, not past its end.
        replay.TickUntil([&] { return !replay.player->StrokeInProgress(); }, 2);
        if (replay.player->StrokeInProgress()) replay.player->Next();
        ASSERT_FALSE(replay.player->StrokeInProgress());
        jump.player->GoTo(0, false);
        jump.player->GoTo(element, false);
        ExpectSame(Grab(*replay.player), Grab(*jump.player),
                   "element " + std::to_string(element - 1) + " completed by Next");
    }
}

std::string QualityName(const ::testing::TestParamInfo<std::tuple<int, bool>>& info) {
    static const char* const names[] = {"Low", "Middle", "Best"};
    return std::string(names[std::get<0>(info.param)]) +
           (std::get<1>(info.param) ? "Reversed" : "Plain");
}

INSTANTIATE_TEST_SUITE_P(EveryQuality, ReplayEquivalence,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Bool()),
                         QualityName);

// With Reverse on, backward moves put only uninverted samples into the work
// surface: turning Reverse off afterwards shows the normal page.
TEST(ReplayReverse, BackwardMovesLeaveNoInvertedSamples) {
    TTestFolder folder;
    TRecordingWriter w(FloatHeader());
    WriteMixedPage(w);
    const auto path = WriteRecording(folder, "mixed.stk", w);
    TPlayerRig reversed, plain;
    ASSERT_EQ(reversed.Open(path), 0);
    ASSERT_EQ(plain.Open(path), 0);
    reversed.player->SetReverse(true);
    reversed.player->GoTo(3, false);
    reversed.player->Previous();
    reversed.player->SetReverse(false);
    plain.player->GoTo(2, false);
    ExpectSame(Grab(*reversed.player), Grab(*plain.player), "after Reverse off");
}

}  // namespace
}  // namespace quil::test

namespace quil::test {
namespace {

// Ink that shares a display pixel with the erase box but whose own box
// stops just short of it must be drawn again: here the stroke's edge is at
// 21.5 and the box restores the pixels up to 21 (page units at zoom 1).
TEST(ReplayBackward, InkSharingABoundaryPixelWithTheEraseBoxIsKept) {
    TTestFolder folder;
    TRecordingWriter w(FloatHeader());
    w.Stroke({{23.5, 10, 2.0}, {23.5, 60, 2.0}, {23.5, 60, 0.0}}, {.color = 0x000000});
    w.Stamp(10, 20, 10, 10, fixture::EncodeBmp(fixture::SolidPicture(4, 4, 0x0000FF)));
    const auto path = WriteRecording(folder, "edge.stk", w);
    for (int quality = 0; quality < 3; ++quality) {
        TPlayerRig back(quality), forward(quality);
        ASSERT_EQ(back.Open(path), 0);
        ASSERT_EQ(forward.Open(path), 0);
        back.player->GoTo(1, false);
        forward.player->GoTo(0, false);
        forward.player->GoTo(1, false);
        ExpectSame(Grab(*back.player), Grab(*forward.player), "quality " + std::to_string(quality));
    }
}

}  // namespace
}  // namespace quil::test
