// The player's off-screen rendering: the page as the replay has drawn it so
// far, at any size, whatever the screen shows.

#include "player/page_render.h"
#include "player/quil3_reader.h"
#include "player/reader_scopes.h"

namespace quil {

int TQuil3Reader::RenderToBitmap(TBitmap& target, bool stretch) {
    if (busy_ || !document_) return 0;
    TReplayTimerPause pause(*replayTimer_);
    TBusyScope busy(busy_);
    // The picture ends before the element the replay would start next, so
    // a stroke that is being replayed point by point is left out.
    return RenderPage(*document_, CursorPosition(), PageOptions(), target, stretch, HostEvents());
}

}  // namespace quil
