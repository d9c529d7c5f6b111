#include "app/replay_video_job.h"

namespace quil {

TReplayVideoJob::TReplayVideoJob(std::unique_ptr<IReplayVideoWriter> writer,
                                 std::filesystem::path recording, std::filesystem::path out)
    : writer_(std::move(writer)), recording_(std::move(recording)), out_(std::move(out)) {}

TReplayVideoJob::~TReplayVideoJob() {
    if (thread_.joinable()) {
        writer_->Cancel();
        thread_.join();
    }
}

void TReplayVideoJob::Start() {
    writer_->SetProgress(
        [this](const TVideoProgress& p) { permille_ = int(VideoProgressFraction(p) * 1000); });
    // result_ is written by the thread before finished_ is set, and read
    // only after join.
    thread_ = std::thread([this] {
        result_ = writer_->Write(recording_, out_);
        finished_ = true;
    });
}

void TReplayVideoJob::Cancel() { writer_->Cancel(); }

TVideoResult TReplayVideoJob::Wait() {
    if (thread_.joinable()) thread_.join();
    return result_;
}

}  // namespace quil
