#pragma once

#include "platform/geometry.h"
#include "player/print_status.h"

namespace quil {

// The print command's texts, in UTF-8. Every message of the print command
// has the caption "Message" and an OK button.
inline constexpr const char* kPrintMessageCaption = "Message";
inline constexpr const char* kNoPrinterMessage = "Cannot find printer(s).";

// The quality factor of a Print item: its tag (200 Ultra, 150 High, 100
// Normal) times 0.01, the print scale of the page.
float QualityFactor(int tag);

// Where the print dialog of `dialog` size goes to be centred on the main
// window (its rectangle by the edges): ((window width - dialog width) >> 1)
// + window left, and the same downwards.
TPoint CentredDialogPosition(const TRect& window, TSize dialog);

// What the user is told after a print ended with `status`; nullptr when
// the job went out.
const char* PrintResultMessage(TPrintStatus status);

}  // namespace quil
