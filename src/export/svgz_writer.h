#pragma once

#include <filesystem>

namespace quil {

class TPenReplayWT;

// Writes the whole recording as a gzip-compressed SVG drawing (gzip level 9,
// one member). The text is built in memory and compressed into the target
// through a TReplacementFile, so a failure at any step leaves the target as
// it was. Returns 0 when the file was written, 1 on failure.
int WriteSvgzFile(const TPenReplayWT& document, const std::filesystem::path& target);

// The same with the cause of a failure: the drawing could not be built (a
// picture did not encode, the grid asks for too many lines, no memory) or
// the file could not be written.
enum class TSvgzStatus { Done, CannotBuild, CannotWrite };
TSvgzStatus WriteSvgz(const TPenReplayWT& document, const std::filesystem::path& target);

}  // namespace quil
