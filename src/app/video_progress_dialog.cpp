#include "app/video_progress_dialog.h"

#include <QProgressDialog>
#include <QTimer>

#include "app/replay_video_job.h"
#include "app/window_texts.h"

namespace quil {

namespace {

// How often the dialog looks at the job.
constexpr int kPollMs = 50;

}  // namespace

TVideoResult RunWithProgress(QWidget& owner, TReplayVideoJob& job) {
    QProgressDialog dialog(QStringLiteral("Writing the replay video..."), QStringLiteral("Cancel"),
                           0, 1000, &owner);
    dialog.setObjectName("ReplayVideoProgress");
    dialog.setWindowTitle(QString::fromUtf8(kApplicationTitle));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    // The dialog closes when the job says so, not when the bar is full.
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);

    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        dialog.setValue(job.Permille());
        if (job.Finished()) dialog.accept();
    });
    job.Start();
    poll.start();
    dialog.exec();
    poll.stop();
    if (!job.Finished()) job.Cancel();
    return job.Wait();
}

}  // namespace quil
