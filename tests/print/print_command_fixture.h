#pragma once

// What the tests of the print command share: a page to print, a hand on
// the print dialog while it runs modally, and the picture the print
// rendering hands to a printer, to compare a printed page with.

#include <QTimer>
#include <functional>
#include <string>

#include "app/quil3_reader_win.h"
#include "platform/bitmap.h"
#include "player/quil3_reader.h"
#include "print/print_choice.h"
#include "recording_writer.h"

namespace quil::test {

// A 300 x 200 page with a grid, strokes of several widths and opacities on
// quarter units, a stamp reduced in height at every print quality and on a
// 72 dots-per-inch page, and `extra` short strokes more
// (for a drawing long enough to send busy events).
fixture::Bytes PrintedPage(int extra = 0);

// Answers the print dialog once it shows: "Next" on the first page with
// the whole preview chosen, then the button `finish` ("OKBtn" to print,
// "CancelBtn2" to cancel). It keeps what it saw of the dialog and, after
// "Print", whether the window's commands were off while the player drew.
class TDialogHand {
public:
    TDialogHand(std::string finish, TQuil3ReaderWin& window);

    bool seen = false;
    QPoint position;          // the dialog's top-left corner when shown
    QSize size;               // its size
    TBitmap preview;          // its area preview as the command rendered it
    TPrintChoice choice;      // its results after "Print"
    bool sawBusy = false;     // the player drew after "Print"
    bool commandsOn = false;  // a command was enabled meanwhile

private:
    void Look();

    std::string finish_;
    TQuil3ReaderWin& window_;
    QTimer timer_;
    bool accepted_ = false;
};

// The picture the print rendering hands to a printer of `page` printer
// pixels for the choice at `scale`, from the player as it stands: what a
// printed page must show at the choice's target. Empty when it hands none.
TBitmap PrintedPicture(TQuil3Reader& player, const TPrintChoice& choice, float scale, TSize page);

}  // namespace quil::test
