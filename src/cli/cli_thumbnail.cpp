// quil thumbnail FILE OUT SIZE: the complete page as a small PNG for file
// managers, rendered straight at the thumbnail's size so that its cost
// follows SIZE, not the page size.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/cli_common.h"
#include "cli/cli_values.h"
#include "cli/commands.h"
#include "export/picture_export.h"
#include "model/page_size.h"

namespace quil {

namespace {

const char kThumbnailUsage[] =
    "Usage: quil thumbnail FILE OUT SIZE\n"
    "Writes the complete page of the recording FILE as a PNG whose longest\n"
    "side is SIZE pixels (1 to 1024), the page's aspect kept: what a file\n"
    "manager shows for the recording. It needs no display, no fonts and no\n"
    "home folder.\n";

constexpr int kLargestThumbnail = 1024;

struct TThumbnailRequest {
    std::string file;
    std::string out;
    int size = 0;
};

// Fills the request from the arguments. Returns -1 to go on, or the exit
// status to end with (0 after --help, 64 on a usage error).
int ParseRequest(int argc, char** argv, TThumbnailRequest& request) {
    ParsedArguments parsed;
    std::string message;
    if (!ParseArguments(argc, argv, {}, parsed, message)) return UsageError("thumbnail", message);
    if (parsed.help) {
        std::fputs(kThumbnailUsage, stdout);
        return kExitOk;
    }
    if (parsed.positional.size() != 3)
        return UsageError("thumbnail", "thumbnail takes FILE, OUT and SIZE");
    request.file = parsed.positional[0];
    request.out = parsed.positional[1];
    if (request.out.empty()) return UsageError("thumbnail", "thumbnail needs an OUT file");
    const std::optional<long long> size = ParseInteger(parsed.positional[2]);
    if (!size || *size < 1 || *size > kLargestThumbnail)
        return UsageError("thumbnail", "SIZE must be a whole number from 1 to 1024, not '" +
                                           parsed.positional[2] + "'");
    request.size = int(*size);
    return CheckOutput("thumbnail", request.file, request.out);
}

struct TThumbnailSize {
    int width = 0, height = 0;
};

// The longest side is `size`; the other keeps the page's aspect, truncated
// as every layout size is, and is at least 1. Nothing for a page without
// area.
std::optional<TThumbnailSize> ThumbnailSize(int pageWidth, int pageHeight, int size) {
    if (pageWidth < 1 || pageHeight < 1) return std::nullopt;
    const int64_t longest = std::max(pageWidth, pageHeight);
    const int64_t other =
        std::max<int64_t>(1, int64_t(size) * std::min(pageWidth, pageHeight) / longest);
    if (pageWidth >= pageHeight) return TThumbnailSize{size, int(other)};
    return TThumbnailSize{int(other), size};
}

int ReportStatus(const TThumbnailRequest& request, TExportStatus status) {
    switch (status) {
    case TExportStatus::Done: return kExitOk;
    case TExportStatus::NothingToExport:
    case TExportStatus::CannotRender:
        PrintFileError(request.file, "the page cannot be rendered at this size");
        return kExitRefused;
    case TExportStatus::CannotEncode:
        PrintFileError(request.file, "the thumbnail cannot be encoded");
        return kExitRefused;
    case TExportStatus::CannotWrite: break;
    }
    return OutputError(request.file, request.out);
}

int WriteThumbnail(const TThumbnailRequest& request) {
    TPenReplayWT document(kDefaultPageWidth, kDefaultPageHeight);
    const int code = OpenOrReport(document, request.file);
    if (code != kLoadOk) return code;
    const std::optional<TThumbnailSize> size =
        ThumbnailSize(document.GetPageWidth(), document.GetPageHeight(), request.size);
    if (!size) {
        PrintFileError(request.file, "the page has no area");
        return kExitRefused;
    }
    // The complete page, rendered straight at the thumbnail's size with Grid
    // and Background on, as after opening: they show what the document has.
    return ReportStatus(
        request, ExportImage(document, document.ElementCount(), TPageOptions{}, TImageType::Png,
                             request.out, size->width, size->height, true));
}

}  // namespace

int RunThumbnail(int argc, char** argv) {
    TThumbnailRequest request;
    const int parsed = ParseRequest(argc, argv, request);
    if (parsed >= 0) return parsed;
    return WriteThumbnail(request);
}

}  // namespace quil
