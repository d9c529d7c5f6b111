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
        result =
            PrintPage(*document_, CursorPosition(), PageOptions(), printer, request, HostEvents());
    }
    if (status) *status = result;
    return result == TPrintStatus::Printed ? 1 : 0;
}

}  // namespace quil
