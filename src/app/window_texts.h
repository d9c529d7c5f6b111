#pragma once

#include <string>

#include "player/replay_rates.h"

// The viewer's version, as its caption, its About box and --version show it.
#define QUIL_READER_VERSION "1.05"

namespace quil {

// The viewer's own texts, in UTF-8.
inline constexpr const char* kReaderVersion = QUIL_READER_VERSION;
inline constexpr const char* kApplicationTitle = "Zorvan Quil Reader";
inline constexpr const char* kWindowCaption = "Zorvan Quil Reader v" QUIL_READER_VERSION;
inline constexpr const char* kAboutCaption = "About Zorvan Quil Reader";
inline constexpr const char* kOpenFilter = "STK Files(*.stk)|*.stk";
// Shown when "Image file...", "Clipboard" or "Replay video..." could not
// deliver the page.
inline constexpr const char* kSaveFailedMessage = "無法儲存檔案";
// "Replay video..." without the video module; the reason follows on a line
// of its own.
inline constexpr const char* kNoVideoMessage = "This installation cannot write videos.";
// The entries of the "Replay rate" menu, rate 0 to 9.
inline constexpr const char* kReplayRateCaptions[kReplayRateCount] = {
    "0 (Slowest)", "1", "2", "3 (Normal)", "4", "5", "6 (Fast)", "7", "8", "9 (Fastest)"};

// The message of a load result code 1 to 6; nullptr for success and for
// codes without a message (the open then fails silently).
const char* LoadErrorMessage(int code);

// The About box: name, version, date, author, address and a credit for each
// library the viewer is built on (the toolkit at `toolkitVersion`), one
// line each, separated by line feeds.
std::string AboutText(const std::string& toolkitVersion);

}  // namespace quil
