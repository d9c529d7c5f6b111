#pragma once

namespace quil {

// Why an export did not happen, for callers that tell the causes apart
// (the quil tool); the player-facing writers only say done or not.
enum class TExportStatus {
    Done,
    NothingToExport,  // no recording open, or the player is busy drawing
    CannotRender,     // the picture would not fit in memory, or the renderer refused
    CannotEncode,     // the encoder failed, the type is no raster type, or the
                      // drawing cannot be built
    CannotWrite,      // the file could not be written; the old one is untouched
};

}  // namespace quil
