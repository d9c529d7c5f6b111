// quil export FILE -o OUT: what the viewer's "Image file..." command writes,
// for the page at a replay position, or the SVGZ drawing of the recording.

#include <algorithm>
#include <climits>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/cli_common.h"
#include "cli/cli_values.h"
#include "cli/commands.h"
#include "export/image_file_name.h"
#include "export/picture_export.h"
#include "export/svgz_writer.h"
#include "model/page_size.h"

namespace quil {

namespace {

const char kExportUsage[] =
    "Usage: quil export FILE -o OUT [options]\n"
    "Writes the page of the recording FILE as the viewer's \"Image file...\"\n"
    "command does: BMP, JPEG and PNG at Best quality, SVGZ as the vector\n"
    "drawing of the whole recording.\n"
    "\n"
    "  -o OUT                    the file to write, used exactly as given\n"
    "                            (- for standard output)\n"
    "  --type bmp|jpg|png|svgz   the file type (default: from OUT's extension)\n"
    "  --position N              replay position whose page is written\n"
    "                            (default: the complete page)\n"
    "  --grid on|off             the Grid option (default: on with a grid)\n"
    "  --background on|off       the Background option (default: on with one)\n"
    "  --size WxH                a W x H picture instead of the page size\n"
    "  --fit                     with --size: keep the page's aspect, centred\n"
    "\n"
    "The position, grid, background and size options do not apply to svgz.\n";

struct TExportRequest {
    std::string file;
    std::string out;
    TImageType type = TImageType::Bitmap;
    std::optional<long long> position;
    std::optional<bool> grid;
    std::optional<bool> background;
    std::optional<std::pair<int, int>> size;
    bool fit = false;
};

std::optional<TImageType> TypeNamed(const std::string& name) {
    if (name == "bmp") return TImageType::Bitmap;
    if (name == "jpg" || name == "jpeg") return TImageType::Jpeg;
    if (name == "png") return TImageType::Png;
    if (name == "svgz") return TImageType::Svgz;
    return std::nullopt;
}

std::optional<TImageType> TypeOfExtension(const std::string& out) {
    const std::string ext = Lower(std::filesystem::path(out).extension().string());
    if (ext.size() < 2) return std::nullopt;
    return TypeNamed(ext.substr(1));
}

// Fills the request from the arguments. Returns -1 to go on, or the exit
// status to end with (0 after --help, 64 on a usage error).
int ParseRequest(int argc, char** argv, TExportRequest& request) {
    const std::vector<OptionSpec> specs = {
        {"-o", true},           {"--type", true}, {"--position", true}, {"--grid", true},
        {"--background", true}, {"--size", true}, {"--fit", false},
    };
    ParsedArguments parsed;
    std::string error;
    if (!ParseArguments(argc, argv, specs, parsed, error)) return UsageError("export", error);
    if (parsed.help) {
        std::fputs(kExportUsage, stdout);
        return kExitOk;
    }
    const int named = TakeFileAndOutput(parsed, "export", request.file, request.out);
    if (named >= 0) return named;

    const std::optional<TImageType> type =
        parsed.Has("--type") ? TypeNamed(parsed.Value("--type")) : TypeOfExtension(request.out);
    if (!type)
        return UsageError(
            "export",
            parsed.Has("--type")
                ? "unknown --type '" + parsed.Value("--type") + "' (bmp, jpg, png or svgz)"
                : "cannot tell the file type from '" + request.out + "'; give --type");
    request.type = *type;

    if (parsed.Has("--position")) {
        request.position = ParseInteger(parsed.Value("--position"));
        if (!request.position)
            return UsageError("export", "--position needs a whole number, not '" +
                                            parsed.Value("--position") + "'");
    }
    const int switches = ParseGridAndBackground(parsed, "export", request.grid, request.background);
    if (switches >= 0) return switches;
    if (parsed.Has("--size")) {
        request.size = ParseSize(parsed.Value("--size"));
        if (!request.size)
            return UsageError("export", "--size needs WxH with whole numbers of at least 1, not '" +
                                            parsed.Value("--size") + "'");
    }
    request.fit = parsed.Has("--fit");
    if (request.fit && !request.size) return UsageError("export", "--fit needs --size");
    return CheckOutput("export", request.file, request.out);
}

int ReportStatus(const TExportRequest& request, TExportStatus status) {
    switch (status) {
    case TExportStatus::Done: return kExitOk;
    case TExportStatus::NothingToExport:
        PrintFileError(request.file, "the recording cannot be exported");
        return kExitRefused;
    case TExportStatus::CannotRender:
        PrintFileError(request.file, kPageTooLarge);
        return kExitRefused;
    case TExportStatus::CannotEncode:
        PrintFileError(request.file, "the picture cannot be encoded for " + request.out);
        return kExitRefused;
    case TExportStatus::CannotWrite: break;
    }
    return OutputError(request.file, request.out);
}

int ExportDrawing(const TExportRequest& request) {
    TPenReplayWT document(kDefaultPageWidth, kDefaultPageHeight);
    const int code = OpenOrReport(document, request.file);
    if (code != kLoadOk) return code;
    switch (WriteSvgz(document, request.out)) {
    case TExportStatus::Done: return kExitOk;
    case TExportStatus::CannotEncode:
        PrintFileError(request.file, "the drawing cannot be built (a picture does not encode, "
                                     "or the grid asks for too many lines)");
        return kExitRefused;
    default: break;
    }
    return OutputError(request.file, request.out);
}

int ExportPicture(const TExportRequest& request) {
    TPenReplayWT document(kDefaultPageWidth, kDefaultPageHeight);
    const int code = OpenOrReport(document, request.file);
    if (code != kLoadOk) return code;
    // The window's options after opening are on; they only show what the
    // document has.
    const TPageOptions options{request.background.value_or(true), request.grid.value_or(true)};
    const int count = document.ElementCount();
    const int position = int(std::clamp<long long>(request.position.value_or(count), 0, count));
    const auto [width, height] =
        request.size.value_or(std::make_pair(document.GetPageWidth(), document.GetPageHeight()));
    return ReportStatus(request, ExportImage(document, position, options, request.type, request.out,
                                             width, height, !request.fit));
}

}  // namespace

int RunExport(int argc, char** argv) {
    TExportRequest request;
    const int parsed = ParseRequest(argc, argv, request);
    if (parsed >= 0) return parsed;
    return request.type == TImageType::Svgz ? ExportDrawing(request) : ExportPicture(request);
}

}  // namespace quil
