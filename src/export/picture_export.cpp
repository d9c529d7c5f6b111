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

std::vector<uint8_t> Encode(const TBitmap& picture, TImageType type) {
    switch (type) {
    case TImageType::Jpeg: return EncodeJpeg(picture);
    case TImageType::Png: return EncodePngRgb(picture);
    case TImageType::Bitmap:
    case TImageType::Svgz: break;
    }
    return EncodeBmp(picture);
}

TExportStatus ToExportStatus(TSvgzStatus status) {
    switch (status) {
    case TSvgzStatus::Done: return TExportStatus::Done;
    case TSvgzStatus::CannotBuild: return TExportStatus::CannotEncode;
    case TSvgzStatus::CannotWrite: break;
    }
    return TExportStatus::CannotWrite;
}

int DoneOrNot(TExportStatus status) { return status == TExportStatus::Done ? 1 : 0; }

}  // namespace

TExportStatus RenderExportPicture(TQuil3Reader& player, int width, int height, bool stretch,
                                  TBitmap& picture) {
    if (!player.Document() || player.IsBusy()) return TExportStatus::NothingToExport;
    if (width < 1 || height < 1 ||
        !FitsInMemory(uint64_t(width) * uint64_t(height) * kRenderBytesPerPixel))
        return TExportStatus::CannotRender;
    if (!picture.Create(width, height)) return TExportStatus::CannotRender;
    if (player.RenderToBitmap(picture, stretch) != 1) {
        picture.Reset();
        return TExportStatus::CannotRender;
    }
    return TExportStatus::Done;
}

TExportStatus SaveGraphicToFile(const TBitmap& picture, TImageType type,
                                const std::filesystem::path& path) {
    if (path.empty()) return TExportStatus::CannotWrite;
    const std::vector<uint8_t> file = Encode(picture, type);
    if (file.empty()) return TExportStatus::CannotEncode;
    return ReplaceFileContents(path, file) ? TExportStatus::Done : TExportStatus::CannotWrite;
}

TExportStatus ExportImage(TQuil3Reader& player, TImageType type, const std::filesystem::path& path,
                          int width, int height, bool stretch) {
    if (type == TImageType::Svgz) {
        const TPenReplayWT* document = player.Document();
        if (!document || player.IsBusy()) return TExportStatus::NothingToExport;
        return ToExportStatus(WriteSvgz(*document, path));
    }
    if (path.empty()) return TExportStatus::CannotWrite;
    TBitmap picture;
    const TExportStatus rendered = RenderExportPicture(player, width, height, stretch, picture);
    if (rendered != TExportStatus::Done) return rendered;
    return SaveGraphicToFile(picture, type, path);
}

int SaveImageFile(TQuil3Reader& player, TImageType type, const std::filesystem::path& path) {
    return DoneOrNot(
        ExportImage(player, type, path, player.PageWidth(), player.PageHeight(), true));
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
