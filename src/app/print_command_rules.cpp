#include "app/print_command_rules.h"

#include <cstdint>

namespace quil {

float QualityFactor(int tag) { return float(tag * 0.01); }

TPoint CentredDialogPosition(const TRect& window, TSize dialog) {
    const int64_t width = int64_t(window.right) - window.left;
    const int64_t height = int64_t(window.bottom) - window.top;
    return {int(((width - dialog.width) >> 1) + window.left),
            int(((height - dialog.height) >> 1) + window.top)};
}

const char* PrintResultMessage(TPrintStatus status) {
    switch (status) {
    case TPrintStatus::Printed: return nullptr;
    case TPrintStatus::TooLarge:
        return "The chosen area is too large to print at this quality: there is not enough "
               "memory. Please choose a lower quality or a smaller area.";
    case TPrintStatus::Refused: return "The printer did not accept the job. Nothing was printed.";
    case TPrintStatus::NoPage:
    case TPrintStatus::EmptyArea: break;
    }
    return "There is nothing to print in the chosen area.";
}

}  // namespace quil
