#pragma once

#include <filesystem>

#include "export/export_status.h"

namespace quil {

class TPenReplayWT;

// Writes the whole recording as a gzip-compressed SVG drawing (gzip level 9,
// one member). The text is built in memory and compressed into the target
// through a TReplacementFile, so a failure at any step leaves the target as
// it was. CannotEncode when the drawing cannot be built (a picture does not
// encode, the grid asks for too many lines, no memory), CannotWrite when the
// file cannot be written.
TExportStatus WriteSvgz(const TPenReplayWT& document, const std::filesystem::path& target);

// The same as the writer's result: 0 when the file was written, 1 on failure.
int WriteSvgzFile(const TPenReplayWT& document, const std::filesystem::path& target);

}  // namespace quil
