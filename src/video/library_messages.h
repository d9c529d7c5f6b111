#pragma once

#include <string>

namespace quil {

// FFmpeg's libraries log to stderr unless told otherwise, and the encoders
// talk a lot (x264 prints its statistics at the end). A headless tool may
// print only its one line, so their messages are kept here instead: the
// last error stays available to name the cause of a failure.

// Routes the libraries' messages here; safe to call more than once.
void CaptureLibraryMessages();

// The last error the libraries reported, without its line end, or "".
std::string LastLibraryError();
void ClearLibraryError();

// The text of an FFmpeg error code, with the last error message the
// libraries logged when there is one.
std::string LibraryErrorText(int code);

}  // namespace quil
