#pragma once

#include "video/video_writer.h"

class QWidget;

namespace quil {

class TReplayVideoJob;

// Starts `job` and shows its progress in a dialog with a Cancel button,
// modal to `owner`, until the video is written or cancelled; the owner keeps
// painting meanwhile. Closing the dialog in any way cancels the job. Returns
// the writer's result once its thread has ended.
TVideoResult RunWithProgress(QWidget& owner, TReplayVideoJob& job);

}  // namespace quil
