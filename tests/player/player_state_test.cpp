// The player's life cycle, its setters and the play-state table.

#include <gtest/gtest.h>

#include "player/replay_rates.h"
#include "player_fixture.h"

namespace quil::test {
namespace {

using fixture::TRecordingWriter;

class PlayerState : public ::testing::Test {
protected:
    TTestFolder folder;
    std::filesystem::path ThreeStrokes() {
        TRecordingWriter w(FloatHeader());
        for (int i = 0; i < 3; ++i)
            w.Stroke(Line(10, 100, 20.0 + 30 * i, 10, 2.0));
        return WriteRecording(folder, "three.stk", w);
    }
};

TEST_F(PlayerState, NewPlayerHasNoRecordingAndRefusesTransportAndNavigation) {
    TManualTimerFactory timers;
    TQuil3Reader player(timers, nullptr, 0, 0);
    EXPECT_EQ(player.PlayState(), -1);
    EXPECT_EQ(player.Position(), -1);
    EXPECT_EQ(player.ReplayStep(), 5);
    EXPECT_EQ(player.Renderer(), nullptr);
    for (auto command :
         {&TQuil3Reader::Play, &TQuil3Reader::Pause, &TQuil3Reader::PlayPause, &TQuil3Reader::Stop,
          &TQuil3Reader::First, &TQuil3Reader::Last, &TQuil3Reader::Previous, &TQuil3Reader::Next})
        EXPECT_EQ((player.*command)(), 0);
    EXPECT_EQ(player.Seek(10, 250), 0);
    EXPECT_EQ(player.GoTo(1, false), 0);
    TBitmap picture;
    picture.Create(10, 10);
    EXPECT_EQ(player.RenderToBitmap(picture, true), 0);
    // The repaint timer runs from the start, the replay timer does not.
    EXPECT_TRUE(timers.WithInterval(15)->Enabled());
    EXPECT_FALSE(timers.WithInterval(33)->Enabled());
}

TEST_F(PlayerState, SettersRefuseOutOfRangeValuesAndChangeNothing) {
    TPlayerRig rig;
    EXPECT_EQ(rig.player->SetQuality(3), 0);
    EXPECT_EQ(rig.player->SetQuality(-1), 0);
    EXPECT_EQ(rig.player->Quality(), 2);
    ASSERT_NE(rig.player->Renderer(), nullptr);
    EXPECT_EQ(rig.player->Renderer()->WorkFactor(), 4);
    EXPECT_EQ(rig.player->SetReplayStep(0), 0);
    EXPECT_EQ(rig.player->SetReplayStep(-3), 0);
    EXPECT_EQ(rig.player->ReplayStep(), 5);
    EXPECT_EQ(rig.player->SetLayout(nullptr, 10, 10, 0.0f, 0, 0), 0);
    EXPECT_EQ(rig.player->DisplayWidth(), 200);
    // The rate table: trunc(1.5 ^ rate).
    for (int rate = 0; rate < kReplayRateCount; ++rate) {
        int expected = 1;
        double v = 1.0;
        for (int i = 0; i < rate; ++i)
            v *= 1.5;
        expected = int(v);
        EXPECT_EQ(ReplayStepForRate(rate), expected) << rate;
    }
}

TEST_F(PlayerState, OpenFailureLeavesThePlayerClosedAndSaysSo) {
    TPlayerRig rig;
    EXPECT_EQ(rig.player->Open(folder / "missing.stk"), kLoadCannotOpen);
    EXPECT_EQ(rig.player->PlayState(), -1);
    EXPECT_EQ(rig.player->Document(), nullptr);
    EXPECT_EQ(rig.player->ElementCount(), 0);
    EXPECT_TRUE(rig.host.Has(kEventNoRecording, 0));
}

TEST_F(PlayerState, OpenShowAndCloseReportThroughHostEvents) {
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(ThreeStrokes()), 0);
    const std::vector<std::pair<int, int>> opening = {
        {kEventNoRecording, 0}, {kEventTotal, 3}, {kEventPosition, 0}, {kEventEndReached, 0}};
    EXPECT_EQ(rig.host.events, opening);
    EXPECT_EQ(rig.player->Position(), 3);
    EXPECT_EQ(rig.player->PlayState(), 0);
    EXPECT_EQ(rig.player->PageWidth(), 1022);
    EXPECT_FALSE(rig.player->HasGrid());
    EXPECT_EQ(rig.player->Close(), 1);
    EXPECT_EQ(rig.player->PlayState(), -1);
    EXPECT_EQ(rig.player->PageWidth(), 1);
    EXPECT_EQ(rig.player->PageHeight(), 1);
    EXPECT_EQ(rig.player->Renderer(), nullptr);
    EXPECT_EQ(rig.host.events.back(), std::make_pair(kEventNoRecording, 0));
}

TEST_F(PlayerState, SameLayoutDoesNothingAnotherZoomRebuilds) {
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(ThreeStrokes()), 0);
    const TFuzzyLineGDI* before = rig.player->Renderer();
    EXPECT_EQ(rig.player->SetLayout(&rig.window, 200, 150, 1.0f, 0, 0), 1);
    EXPECT_EQ(rig.player->Renderer(), before);
    EXPECT_EQ(rig.player->SetLayout(&rig.window, 200, 150, 0.5f, 0, 0), 1);
    EXPECT_NE(rig.player->Renderer(), nullptr);
    EXPECT_EQ(rig.player->Position(), 3);  // drawn again up to where it stood
}

// The play-state table, one row per step.
TEST_F(PlayerState, TransportFollowsThePlayStateTable) {
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(ThreeStrokes()), 0);
    TQuil3Reader& p = *rig.player;
    struct Row {
        const char* what;
        int (TQuil3Reader::*command)();
        int state;
        bool timer;
    };
    const Row rows[] = {
        {"Pause while stopped", &TQuil3Reader::Pause, 0, false},
        {"Play on the complete page", &TQuil3Reader::Play, 1, true},
        {"Pause while playing", &TQuil3Reader::Pause, 2, false},
        {"Pause while paused", &TQuil3Reader::Pause, 2, false},
        {"PlayPause while paused", &TQuil3Reader::PlayPause, 1, true},
        {"PlayPause while playing", &TQuil3Reader::PlayPause, 2, false},
        {"Play while paused", &TQuil3Reader::Play, 1, true},
        {"Next while playing", &TQuil3Reader::Next, 1, true},
        {"Stop while playing", &TQuil3Reader::Stop, 0, false},
        {"First while stopped", &TQuil3Reader::First, 0, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ((p.*row.command)(), 1) << row.what;
        EXPECT_EQ(p.PlayState(), row.state) << row.what;
        EXPECT_EQ(rig.ReplayTimer().Enabled(), row.timer) << row.what;
        if (std::string(row.what) == "Play on the complete page") {
            EXPECT_EQ(p.Position(), 0) << "Play on the complete page starts from the empty page";
        }
    }
    // Stop shows the finished page and says the end was reached.
    EXPECT_EQ(p.Stop(), 1);
    EXPECT_EQ(p.Position(), 3);
    EXPECT_EQ(rig.host.events.back(), std::make_pair(kEventEndReached, 0));
}

TEST_F(PlayerState, ReverseOnAndOffGivesTheFormerPixelsBack) {
    for (int quality = 0; quality < 3; ++quality) {
        TPlayerRig rig(quality);
        ASSERT_EQ(rig.Open(ThreeStrokes()), 0);
        rig.player->GoTo(2, false);
        const TBitmap display = rig.player->Renderer()->DisplayDC().Clone();
        const TBitmap work = rig.player->Renderer()->WorkDC().Clone();
        rig.player->SetReverse(true);
        EXPECT_FALSE(SamePixels(display, rig.player->Renderer()->DisplayDC()));
        // White paper shows black.
        EXPECT_EQ(rig.player->Renderer()->DisplayDC().ScanLine(140)[3 * 190], 0);
        EXPECT_TRUE(SamePixels(work, rig.player->Renderer()->WorkDC()));
        rig.player->SetReverse(false);
        EXPECT_TRUE(SamePixels(display, rig.player->Renderer()->DisplayDC())) << quality;
    }
}

// While a long drawing processes messages, commands that reach the player
// are refused and ticks do nothing; the host can ask whether it is busy.
TEST_F(PlayerState, CommandsArrivingDuringALongDrawingAreRefused) {
    TRecordingWriter w(FloatHeader());
    for (int i = 0; i < 40; ++i)
        w.Stroke(Line(10, 150, 5.0 + 3 * i, 6, 1.5));
    const auto path = WriteRecording(folder, "forty.stk", w);
    TPlayerRig rig;
    ASSERT_EQ(rig.Open(path), 0);
    ASSERT_EQ(rig.player->GoTo(0, false), 1);
    std::vector<int> answers;
    bool busySeen = false;
    rig.host.during = [&](int code, int) {
        if (code != kEventProgress) return;
        busySeen = busySeen || rig.player->IsBusy();
        answers.push_back(rig.player->SetQuality(0));
        answers.push_back(rig.player->PlayPause());
        answers.push_back(rig.player->GoTo(1, false));
        answers.push_back(rig.player->Open(folder / "forty.stk") == kOpenRefusedBusy ? 0 : 1);
        rig.player->ReplayTick();
    };
    ASSERT_EQ(rig.player->GoTo(40, true), 1);
    EXPECT_TRUE(busySeen);
    ASSERT_FALSE(answers.empty());
    for (int a : answers)
        EXPECT_EQ(a, 0);
    EXPECT_EQ(rig.player->Quality(), 2);
    EXPECT_EQ(rig.player->PlayState(), 0);
    EXPECT_EQ(rig.player->Position(), 40);
    EXPECT_FALSE(rig.player->IsBusy());
    // Busy start with the count, progress every 16th element, busy end.
    EXPECT_TRUE(rig.host.Has(kEventBusyStart, 40));
    EXPECT_TRUE(rig.host.Has(kEventProgress, 16));
    EXPECT_TRUE(rig.host.Has(kEventProgress, 32));
    EXPECT_TRUE(rig.host.Has(kEventBusyEnd, 0));
}

}  // namespace
}  // namespace quil::test

namespace quil::test {
namespace {

// A host may answer the position event with any command, Close included:
// the tick has finished its work by then.
TEST(PlayerHost, CommandsAnsweringThePositionEventAreSafe) {
    TTestFolder folder;
    fixture::TRecordingWriter w(FloatHeader());
    w.Stroke(Line(10, 100, 20, 10, 2.0));
    w.Stamp(10, 40, 10, 10, fixture::EncodeBmp(fixture::SolidPicture(4, 4, 0x0000FF)));
    const auto path = WriteRecording(folder, "two.stk", w);
    for (int answer = 0; answer < 3; ++answer) {
        TPlayerRig rig;
        ASSERT_EQ(rig.Open(path), 0);
        rig.player->Play();
        bool answered = false;
        rig.host.during = [&](int code, int) {
            if (code != kEventPosition || answered) return;
            answered = true;
            if (answer == 0) rig.player->Close();
            if (answer == 1) rig.player->Stop();
            if (answer == 2) rig.player->Previous();
        };
        for (int i = 0; i < 20; ++i)
            rig.player->ReplayTick();
        EXPECT_FALSE(rig.player->IsBusy());
    }
}

}  // namespace
}  // namespace quil::test
