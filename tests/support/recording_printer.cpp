#include "recording_printer.h"

namespace quil::testing {

bool TRecordingPrinter::BeginDoc() {
    if (refuseBegin || open_) return false;
    open_ = true;
    jobs.emplace_back();
    return true;
}

void TRecordingPrinter::StretchPicture(const TRect& destination, const TBitmap& picture) {
    if (!open_) {
        ++strayStretches;
        return;
    }
    jobs.back().stretches.push_back({destination, picture.Clone()});
}

bool TRecordingPrinter::EndDoc() {
    if (!open_) return false;
    open_ = false;
    jobs.back().ended = true;
    return !refuseEnd;
}

}  // namespace quil::testing
