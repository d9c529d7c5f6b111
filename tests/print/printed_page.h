#pragma once

// A page for the print tests and the picture the print rendering hands to
// a printer, to compare a printed page with.

#include "platform/bitmap.h"
#include "player/quil3_reader.h"
#include "recording_writer.h"

namespace quil::test {

// A 300 x 200 page with a grid, strokes of several widths and opacities on
// quarter units, a stamp reduced in height at every print quality and on a
// 72 dots-per-inch page, and `extra` short strokes more (for a drawing long
// enough to send busy events). No stroke crosses x = 0 or y = 60.
fixture::Bytes PrintedPage(int extra = 0);

// The picture the print rendering hands to a printer of `page` printer
// pixels for the request, from the player as it stands: what a printed
// page must show at the request's destination. Empty when it hands none.
TBitmap PrintedPicture(TQuil3Reader& player, const TPrintRequest& request, TSize page);

}  // namespace quil::test
