#pragma once

// A hand on the print dialog of the window's print command while it runs
// modally.

#include <QTimer>
#include <string>
#include <vector>

#include "app/quil3_reader_win.h"
#include "platform/bitmap.h"
#include "print/print_choice.h"

namespace quil::test {

// Answers the print dialog once it shows: "Next" on the first page with
// the whole preview chosen, then the button `finish` ("OKBtn" to print,
// "CancelBtn2" to cancel). It keeps what it saw of the dialog and, after
// "Print", whether the window's commands were off while the player drew,
// and what the message boxes of the toolkit said.
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
    // Message boxes shown after "Print", answered with OK, by their text.
    std::vector<QString> messages;

private:
    void Look();

    std::string finish_;
    TQuil3ReaderWin& window_;
    QTimer timer_;
    bool accepted_ = false;
};

}  // namespace quil::test
