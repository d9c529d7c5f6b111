#pragma once

#include <filesystem>

#include "model/document.h"

namespace quil {

// Opens a recording the way the viewer does: a file that ends with an
// appended-recording trailer is loaded from its appended body, any other
// file as a plain or packed recording. Returns a load result code.
int LoadRecording(TPenReplayWT& document, const std::filesystem::path& path);

}  // namespace quil
