// The clock that turns replay ticks into frames, against counting frame
// by frame.

#include <gtest/gtest.h>

#include "video/frame_clock.h"
#include "video_fixtures.h"

namespace quil::test {
namespace {

TEST(FrameClock, TicksDueFollowTheThirtyThreeMillisecondClock) {
    EXPECT_EQ(TicksDueAtFrame(0, 30), 0);
    // At 30 frames per second one tick per frame, and a second tick at
    // every 99th frame: frame 99 is at 3.3 s, when tick 100 is due.
    EXPECT_EQ(TicksDueAtFrame(98, 30), 98);
    EXPECT_EQ(TicksDueAtFrame(99, 30), 100);
    EXPECT_EQ(TicksDueAtFrame(1, 60), 0);
    EXPECT_EQ(TicksDueAtFrame(2, 60), 1);
    EXPECT_EQ(TicksDueAtFrame(1, 1), 30);
    for (int fps : {1, 7, 24, 25, 30, 50, 60})
        for (int64_t frame = 0; frame < 2000; ++frame)
            ASSERT_EQ(TicksDueAtFrame(frame, fps), TicksDue(frame, fps));
}

TEST(FrameClock, TheReplayEndsAtTheFirstFrameWithEveryTickDue) {
    for (int fps : {1, 10, 29, 30, 31, 60})
        for (int64_t ticks = 0; ticks < 500; ++ticks) {
            int64_t first = 0;
            while (TicksDue(first, fps) < ticks)
                ++first;
            ASSERT_EQ(ReplayFrameCount(ticks, fps), first) << ticks << " ticks at " << fps;
        }
}

TEST(FrameClock, TheHoldIsRoundedToFramesAndNeverEmpty) {
    EXPECT_EQ(HoldFrameCount(2.0, 30), 60);
    EXPECT_EQ(HoldFrameCount(0.25, 60), 15);
    EXPECT_EQ(HoldFrameCount(0.05, 30), 2);  // 1.5 rounds up
    EXPECT_EQ(HoldFrameCount(0.01, 30), 1);
    EXPECT_EQ(HoldFrameCount(0.0, 30), 1);
    EXPECT_EQ(HoldFrameCount(3600.0, 60), 216000);
}

}  // namespace
}  // namespace quil::test
