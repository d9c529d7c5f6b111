// "Replay video..." apart from its dialogs: the types and names of its save
// dialog, what its options dialog proposes, the video its answers ask for,
// and the job that writes it on a thread of its own.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/file_filters.h"
#include "app/replay_video_choices.h"
#include "app/replay_video_job.h"
#include "player/window_layout.h"

namespace quil {
namespace {

TEST(ReplayVideoChoices, TheFilterDecidesTypeAndExtension) {
    EXPECT_EQ(DialogNameFilters(kVideoFileFilter),
              (std::vector<std::string>{"MP4 Video (*.mp4)", "WebM Video (*.webm)",
                                        "GIF Animation (*.gif)"}));
    struct Case {
        const char* chosen;
        int filter;
        TVideoType type;
        const char* written;
    };
    const Case cases[] = {
        {"page", 1, TVideoType::Mp4, "page.mp4"},
        {"page.gif", 2, TVideoType::Webm, "page.webm"},
        {"/tmp/my.dir/page", 3, TVideoType::Gif, "/tmp/my.dir/page.gif"},
        {"clip.MP4", 1, TVideoType::Mp4, "clip.mp4"},
        {"page", 0, TVideoType::Mp4, "page.mp4"},
        {"page", 4, TVideoType::Mp4, "page.mp4"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VideoTypeForFilter(c.filter), c.type) << c.filter;
        EXPECT_EQ(VideoFileName(c.chosen, c.filter).native(), c.written) << c.chosen;
    }
}

// A 600 x 400 page fitted into a base panel of 500 x 400: 500 x 333 at a
// zoom of 500 / 600, played at rate 7 at Middle with the grid and Reverse.
TWindowView FittedView() {
    const TDisplayLayout fit = TWindowLayout::Fit(600, 400, 500, 400);
    TWindowView view;
    view.pageWidth = 600;
    view.pageHeight = 400;
    view.displayWidth = fit.width;
    view.displayHeight = fit.height;
    view.zoom = fit.zoom;
    view.quality = 1;
    view.grid = true;
    view.reverse = true;
    view.rate = 7;
    return view;
}

TEST(ReplayVideoChoices, TheWindowsDisplayIsProposedAndKeepsItsZoom) {
    const TWindowView view = FittedView();
    const TVideoSettings proposed = ProposedVideoSettings(view);
    EXPECT_EQ(proposed.rate, 7);
    EXPECT_EQ(proposed.width, 500);
    EXPECT_EQ(proposed.height, 333);
    EXPECT_EQ(proposed.fps, 30);

    const TReplayVideoOptions o = ReplayVideoOptions(view, proposed, TVideoType::Gif);
    EXPECT_EQ(o.type, TVideoType::Gif);
    EXPECT_EQ(o.width, 500);
    EXPECT_EQ(o.height, 333);
    // Not the zoom the fit rule would give a 500 x 333 panel (333 / 400):
    // the window's own, so the video shows the page as the window does.
    EXPECT_EQ(o.zoom, view.zoom);
    EXPECT_NE(TWindowLayout::Fit(600, 400, 500, 333).zoom, view.zoom);
    EXPECT_EQ(o.quality, 1);
    EXPECT_EQ(o.grid, std::optional<bool>(true));
    EXPECT_EQ(o.background, std::optional<bool>(false));
    EXPECT_TRUE(o.reverse);
    EXPECT_EQ(o.step, 17);
    EXPECT_EQ(o.fps, 30);
    EXPECT_EQ(o.from, 0);
    EXPECT_EQ(o.holdSeconds, 2.0);
}

TEST(ReplayVideoChoices, AnotherSizeFitsThePageIntoIt) {
    TVideoSettings settings = ProposedVideoSettings(FittedView());
    settings.width = 320;
    settings.height = 320;
    settings.rate = 0;
    settings.fps = 12;
    const TReplayVideoOptions o = ReplayVideoOptions(FittedView(), settings, TVideoType::Mp4);
    const TDisplayLayout fit = TWindowLayout::Fit(600, 400, 320, 320);
    EXPECT_EQ(o.width, 320);
    EXPECT_EQ(o.height, fit.height);
    EXPECT_EQ(o.zoom, fit.zoom);
    EXPECT_EQ(o.step, 1);
    EXPECT_EQ(o.fps, 12);
}

// A writer that counts frames until it is told to stop or runs out.
class TCountingWriter final : public IReplayVideoWriter {
public:
    explicit TCountingWriter(int64_t frames, std::atomic<bool>* release = nullptr)
        : frames_(frames), release_(release) {}
    void SetProgress(TProgressCallback progress) override { progress_ = std::move(progress); }
    void Cancel() override { cancelled_ = true; }
    TVideoResult Write(const std::filesystem::path&, const std::filesystem::path&) override {
        for (int64_t i = 0; i < frames_; ++i) {
            // The first frame waits until the test lets it go on.
            while (release_ && !*release_ && !cancelled_)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (cancelled_) return TVideoResult::Cancelled;
            progress_(TVideoProgress{i + 1, frames_, 1, 1});
        }
        return TVideoResult::Done;
    }
    int LoadCode() const override { return 0; }
    const std::string& Message() const override { return message_; }
    int64_t FrameCount() const override { return frames_; }

private:
    int64_t frames_;
    std::atomic<bool>* release_;
    std::atomic<bool> cancelled_{false};
    TProgressCallback progress_;
    std::string message_;
};

TEST(ReplayVideoJob, RunsTheWriterToItsEndOrUntilCancelled) {
    TReplayVideoJob done(std::make_unique<TCountingWriter>(8), "page.stk", "page.mp4");
    done.Start();
    EXPECT_EQ(done.Wait(), TVideoResult::Done);
    EXPECT_TRUE(done.Finished());
    EXPECT_EQ(done.Permille(), 1000);

    std::atomic<bool> release{false};
    TReplayVideoJob cancelled(std::make_unique<TCountingWriter>(8, &release), "page.stk",
                              "page.mp4");
    cancelled.Start();
    EXPECT_FALSE(cancelled.Finished());
    cancelled.Cancel();
    EXPECT_EQ(cancelled.Wait(), TVideoResult::Cancelled);
    EXPECT_EQ(cancelled.Permille(), 0);

    // A job left running is cancelled and waited for when it goes.
    std::atomic<bool> never{false};
    auto abandoned =
        std::make_unique<TReplayVideoJob>(std::make_unique<TCountingWriter>(8, &never), "a", "b");
    abandoned->Start();
    abandoned.reset();
}

}  // namespace
}  // namespace quil
