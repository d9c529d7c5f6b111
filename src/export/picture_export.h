#pragma once

#include <filesystem>

#include "export/export_status.h"
#include "export/image_file_name.h"
#include "model/document.h"
#include "platform/bitmap.h"
#include "player/page_render.h"

namespace quil {

class TQuil3Reader;

// The clipboard as the exports see it; the window backs it with the
// desktop's clipboard, replacing what it held.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    virtual bool SetBitmap(const TBitmap& picture) = 0;
};

// The page as drawn at the player's replay position, rendered off screen at
// Best quality into a width x height picture (stretch: page fills it;
// otherwise aspect kept, centred on white). CannotRender when the picture
// and its work samples would not fit in memory or the renderer cannot be
// had; NothingToExport without a recording or while the player is busy.
TExportStatus RenderExportPicture(TQuil3Reader& player, int width, int height, bool stretch,
                                  TBitmap& picture);

// The same for a document at a replay position (the elements before it)
// with the given display options, without a player.
TExportStatus RenderExportPicture(const TPenReplayWT& document, int position,
                                  const TPageOptions& options, int width, int height, bool stretch,
                                  TBitmap& picture);

// Encodes a picture in a raster type (BMP, JPEG or PNG) and replaces `path`
// with it. The SVGZ type draws the recording, not a picture: CannotEncode.
TExportStatus SaveGraphicToFile(const TBitmap& picture, TImageType type,
                                const std::filesystem::path& path);

// A raster export of the document's page at a position into a width x height
// picture, or the SVGZ drawing of the whole recording (which ignores the
// position, the options, the size and stretch).
TExportStatus ExportImage(const TPenReplayWT& document, int position, const TPageOptions& options,
                          TImageType type, const std::filesystem::path& path, int width, int height,
                          bool stretch);

// The writers of the "Image file..." command and the clipboard copy: the
// page at the player's position at its own size, one page unit to one
// pixel. 1 done, 0 failure (a file that could not be written is a failure,
// and the old file stays).
int SaveBitmap(TQuil3Reader& player, const std::filesystem::path& path);
int SaveJpeg(TQuil3Reader& player, const std::filesystem::path& path);
int SavePng(TQuil3Reader& player, const std::filesystem::path& path);
int SaveSvgz(TQuil3Reader& player, const std::filesystem::path& path);
int CopyToClipboard(TQuil3Reader& player, IClipboard& clipboard);

// The writer of a type at page size (the "Image file..." command's choice).
int SaveImageFile(TQuil3Reader& player, TImageType type, const std::filesystem::path& path);

}  // namespace quil
