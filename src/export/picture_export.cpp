#include "export/picture_export.h"

#include <cstdint>
#include <vector>

#include "export/atomic_file.h"
#include "export/bmp_writer.h"
#include "export/jpeg_writer.h"
#include "export/png_writer.h"
#include "export/svgz_writer.h"
#include "player/quil3_reader.h"

namespace quil {

namespace {

// The off-screen Best renderer holds 16 work samples of 3 bytes for every
// pixel of the picture, besides the picture itself.
constexpr uint64_t kRenderBytesPerPixel = 3 * (16 + 1);

// Makes the width x height picture and has `render` draw the page into it
// (1 drawn, 0 refused).
template <class Render>
TExportStatus RenderPicture(int width, int height, TBitmap& picture, Render render) {
    if (width < 1 || height < 1 ||
        !FitsInMemory(uint64_t(width) * uint64_t(height) * kRenderBytesPerPixel))
        return TExportStatus::CannotRender;
    if (!picture.Create(width, height)) return TExportStatus::CannotRender;
    if (render(picture) != 1) {
        picture.Reset();
        return TExportStatus::CannotRender;
    }
    return TExportStatus::Done;
}

std::vector<uint8_t> Encode(const TBitmap& picture, TImageType type) {
    switch (type) {
    case TImageType::Bitmap: return EncodeBmp(picture);
    case TImageType::Jpeg: return EncodeJpeg(picture);
    case TImageType::Png: return EncodePngRgb(picture);
    case TImageType::Svgz: break;
    }
    return {};
}

int DoneOrNot(TExportStatus status) { return status == TExportStatus::Done ? 1 : 0; }

}  // namespace

TExportStatus RenderExportPicture(TQuil3Reader& player, int width, int height, bool stretch,
                                  TBitmap& picture) {
    if (!player.Document() || player.IsBusy()) return TExportStatus::NothingToExport;
    return RenderPicture(width, height, picture,
                         [&](TBitmap& target) { return player.RenderToBitmap(target, stretch); });
}

TExportStatus RenderExportPicture(const TPenReplayWT& document, int position,
                                  const TPageOptions& options, int width, int height, bool stretch,
                                  TBitmap& picture) {
    return RenderPicture(width, height, picture, [&](TBitmap& target) {
        return RenderPage(document, position, options, target, stretch);
    });
}

TExportStatus SaveGraphicToFile(const TBitmap& picture, TImageType type,
                                const std::filesystem::path& path) {
    if (path.empty()) return TExportStatus::CannotWrite;
    const std::vector<uint8_t> file = Encode(picture, type);
    if (file.empty()) return TExportStatus::CannotEncode;
    return ReplaceFileContents(path, file) ? TExportStatus::Done : TExportStatus::CannotWrite;
}

TExportStatus ExportImage(const TPenReplayWT& document, int position, const TPageOptions& options,
                          TImageType type, const std::filesystem::path& path, int width, int height,
                          bool stretch) {
    if (type == TImageType::Svgz) return WriteSvgz(document, path);
    if (path.empty()) return TExportStatus::CannotWrite;
    TBitmap picture;
    const TExportStatus rendered =
        RenderExportPicture(document, position, options, width, height, stretch, picture);
    if (rendered != TExportStatus::Done) return rendered;
    return SaveGraphicToFile(picture, type, path);
}

int SaveImageFile(TQuil3Reader& player, TImageType type, const std::filesystem::path& path) {
    if (type == TImageType::Svgz) {
        const TPenReplayWT* document = player.Document();
        if (!document || player.IsBusy()) return 0;
        return DoneOrNot(WriteSvgz(*document, path));
    }
    if (path.empty()) return 0;
    TBitmap picture;
    if (RenderExportPicture(player, player.PageWidth(), player.PageHeight(), true, picture) !=
        TExportStatus::Done)
        return 0;
    return DoneOrNot(SaveGraphicToFile(picture, type, path));
}

int SaveBitmap(TQuil3Reader& player, const std::filesystem::path& path) {
    return SaveImageFile(player, TImageType::Bitmap, path);
}

int SaveJpeg(TQuil3Reader& player, const std::filesystem::path& path) {
    return SaveImageFile(player, TImageType::Jpeg, path);
}

int SavePng(TQuil3Reader& player, const std::filesystem::path& path) {
    return SaveImageFile(player, TImageType::Png, path);
}

int SaveSvgz(TQuil3Reader& player, const std::filesystem::path& path) {
    return SaveImageFile(player, TImageType::Svgz, path);
}

int CopyToClipboard(TQuil3Reader& player, IClipboard& clipboard) {
    TBitmap picture;
    if (RenderExportPicture(player, player.PageWidth(), player.PageHeight(), true, picture) !=
        TExportStatus::Done)
        return 0;
    return clipboard.SetBitmap(picture) ? 1 : 0;
}

}  // namespace quil
