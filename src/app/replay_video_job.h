#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>

#include "video/video_writer.h"

namespace quil {

// A replay video written on a thread of its own, so that the window keeps
// painting and answering while the frames are encoded; the progress dialog
// watches it from the window's thread and may cancel it. The writer runs a
// player of its own on the recording file, so nothing of the window's
// player is shared with the thread.
class TReplayVideoJob {
public:
    TReplayVideoJob(std::unique_ptr<IReplayVideoWriter> writer, std::filesystem::path recording,
                    std::filesystem::path out);
    // Cancels a job still running and waits for its thread.
    ~TReplayVideoJob();
    TReplayVideoJob(const TReplayVideoJob&) = delete;
    TReplayVideoJob& operator=(const TReplayVideoJob&) = delete;

    void Start();
    // Asks the writer to stop before its next frame; it then leaves no file.
    void Cancel();

    // Whether the writer has returned (Wait does not block then).
    bool Finished() const { return finished_; }
    // How much is done, 0 to 1000 over all passes.
    int Permille() const { return permille_; }

    // Waits for the thread and returns the writer's result.
    TVideoResult Wait();

private:
    std::unique_ptr<IReplayVideoWriter> writer_;
    std::filesystem::path recording_;
    std::filesystem::path out_;
    std::thread thread_;
    std::atomic<int> permille_{0};
    std::atomic<bool> finished_{false};
    TVideoResult result_ = TVideoResult::Failed;
};

}  // namespace quil
