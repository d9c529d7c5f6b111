#pragma once

#include <vector>

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "platform/printer.h"

namespace quil::testing {

// A printer that keeps what it is handed: each job's pictures with their
// destinations. It can be told to refuse the start or the end of a job.
class TRecordingPrinter final : public IPrinter {
public:
    struct TStretch {
        TRect destination;
        TBitmap picture;  // a copy of the picture as it was handed over
    };
    struct TJob {
        std::vector<TStretch> stretches;
        bool ended = false;
    };

    TRecordingPrinter(int pageWidth, int pageHeight) : width_(pageWidth), height_(pageHeight) {}

    int PageWidth() const override { return width_; }
    int PageHeight() const override { return height_; }
    bool BeginDoc() override;
    void StretchPicture(const TRect& destination, const TBitmap& picture) override;
    bool EndDoc() override;

    bool refuseBegin = false;
    bool refuseEnd = false;
    std::vector<TJob> jobs;
    // Stretches handed over while no job was open.
    int strayStretches = 0;

private:
    int width_;
    int height_;
    bool open_ = false;
};

}  // namespace quil::testing
