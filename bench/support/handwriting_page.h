#pragma once

#include "recording_writer.h"

namespace quil::bench {

// A page of handwriting of about `points` pen points: lines of cursive
// loops written across a 1022 x 718 page in several inks and pen widths,
// with a half-transparent highlighter now and then. When the page is full
// the hand starts again at the top a little further on, so large counts
// write over earlier lines as a busy page does.
fixture::Bytes HandwritingBody(int points);

}  // namespace quil::bench
