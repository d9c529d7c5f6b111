// The player's print rendering: the chosen area of the page as the replay
// has drawn it so far, as one printer job.

#include "player/print_render.h"
#include "player/quil3_reader.h"
#include "player/reader_scopes.h"

namespace quil {

int TQuil3Reader::RenderToPrinter(IPrinter& printer, const TPrintRequest& request,
                                  TPrintStatus* status) {
    TPrintStatus result = TPrintStatus::NoPage;
    if (!busy_ && document_) {
        // The replay timer is left alone: the print command pauses the
        // replay, and ticks do nothing while the player is busy.
        TBusyScope busy(busy_);
        // As off screen, the print ends before the element the replay would
        // start next.
        const TInkelDataWT* next = document_->CurrentElement();
        result = PrintPage(*document_, next ? next->index : elementCount_,
                           {backgroundOption_, gridOption_}, printer, request,
                           [this](int code, int value) { Notify(code, value); });
    }
    if (status) *status = result;
    return result == TPrintStatus::Printed ? 1 : 0;
}

}  // namespace quil
