// quil render FILE -o OUT: the picture the viewer's window shows after a
// fixed sequence of the window's own steps (layout, quality, open, options,
// show, go to a position, play some ticks, reverse), written as PNG or BMP.

#include <algorithm>
#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/cli_display.h"
#include "cli/cli_values.h"
#include "cli/commands.h"
#include "export/atomic_file.h"
#include "export/bmp_writer.h"
#include "export/png_writer.h"
#include "player/manual_timer.h"
#include "player/quil3_reader.h"
#include "player/replay_rates.h"

namespace quil {

namespace {

const char kRenderUsage[] =
    "Usage: quil render FILE -o OUT [options]\n"
    "Writes what the viewer's window shows for the recording FILE, as PNG or\n"
    "BMP (by OUT's extension). The steps run in this order: layout, quality,\n"
    "open with the display options, show the complete page, --position,\n"
    "--play, --reverse.\n"
    "\n"
    "  -o OUT                        .png or .bmp (- for PNG on standard output)\n"
    "  --zoom Z                      zoom factor, > 0 (default 1.0)\n"
    "  --size WxH                    fit the page into a W x H panel\n"
    "                                (instead of --zoom)\n"
    "  --quality low|middle|best     renderer quality (default best)\n"
    "  --grid on|off                 the Grid option (default: as after opening)\n"
    "  --background on|off           the Background option (default: as after opening)\n"
    "  --position N                  go to position N after showing\n"
    "  --play T                      Play, then T replay ticks\n"
    "  --step S                      points per tick, S >= 1 (default 5)\n"
    "  --rate K                      rate 0 .. 9 instead of --step: trunc(1.5^K)\n"
    "  --reverse                     the Reverse option on\n";

enum class TOutputType { Png, Bmp };

struct TRenderRequest : TDisplayRequest {
    std::string file;
    std::string out;
    TOutputType type = TOutputType::Png;
    std::optional<long long> position;
    std::optional<long long> ticks;
};

// Fills the request. Returns -1 to go on, or the exit status to end with.
int ParseRequest(int argc, char** argv, TRenderRequest& request) {
    std::vector<OptionSpec> specs = DisplayOptionSpecs();
    specs.insert(specs.end(), {{"-o", true}, {"--position", true}, {"--play", true}});
    ParsedArguments parsed;
    std::string error;
    if (!ParseArguments(argc, argv, specs, parsed, error)) return UsageError("render", error);
    if (parsed.help) {
        std::fputs(kRenderUsage, stdout);
        return kExitOk;
    }
    const int named = TakeFileAndOutput(parsed, "render", request.file, request.out);
    if (named >= 0) return named;
    const std::string ext = Lower(std::filesystem::path(request.out).extension().string());
    if (ext == ".png" || request.out == "-")
        request.type = TOutputType::Png;
    else if (ext == ".bmp")
        request.type = TOutputType::Bmp;
    else
        return UsageError("render", "OUT must end in .png or .bmp, not '" + request.out + "'");

    const int display = ParseDisplayOptions(parsed, "render", request);
    if (display >= 0) return display;
    if (parsed.Has("--position")) {
        request.position = ParseInteger(parsed.Value("--position"));
        if (!request.position)
            return UsageError("render", "--position needs a whole number, not '" +
                                            parsed.Value("--position") + "'");
    }
    if (parsed.Has("--play")) {
        request.ticks = ParseInteger(parsed.Value("--play"));
        if (!request.ticks || *request.ticks < 0)
            return UsageError("render", "--play needs a number of ticks of at least 0, not '" +
                                            parsed.Value("--play") + "'");
    }
    return CheckOutput("render", request.file, request.out);
}

int Render(const TRenderRequest& request) {
    // The layout comes before opening.
    TDisplayLayout layout;
    const int laidOut = LayoutForRecording(request, request.file, layout);
    if (laidOut >= 0) return laidOut;
    TManualTimerFactory timers;
    TQuil3Reader player(timers, nullptr, 0, 0);
    player.SetLayout(nullptr, layout.width, layout.height, layout.zoom, 0.0f, 0.0f);
    player.SetQuality(request.quality);
    const int code = player.Open(request.file);
    if (code != kLoadOk) {
        PrintFileError(request.file, LoadMessage(code), code);
        return code;
    }
    const TFuzzyLineGDI* renderer = player.Renderer();
    if (!renderer || !renderer->IsValid() || player.PagePicture().Empty()) {
        PrintFileError(request.file, kPageTooLarge);
        return kExitRefused;
    }
    // As the window sets them after opening, then as asked.
    if (player.HasBackground()) player.SetBackground(true);
    if (player.HasGrid()) player.SetGrid(true);
    if (request.grid) player.SetGrid(*request.grid);
    if (request.background) player.SetBackground(*request.background);
    player.Show(true);
    if (request.position)
        player.Seek(int(std::clamp<long long>(*request.position, INT_MIN, INT_MAX)), -1);
    if (request.ticks) {
        player.SetReplayStep(request.step);
        player.Play();
        TManualTimer* replay = timers.WithInterval(kReplayIntervalMs);
        for (long long t = 0; t < *request.ticks && replay && replay->Tick(); ++t) {}
    }
    if (request.reverse) player.SetReverse(true);

    const TBitmap& picture = player.Renderer()->DisplayDC();
    const std::vector<uint8_t> bytes =
        request.type == TOutputType::Png ? EncodePngRgb(picture) : EncodeBmp(picture);
    if (bytes.empty()) {
        PrintFileError(request.file, "the picture cannot be encoded for " + request.out);
        return kExitRefused;
    }
    if (!ReplaceFileContents(request.out, bytes)) return OutputError(request.file, request.out);
    return kExitOk;
}

}  // namespace

int RunRender(int argc, char** argv) {
    TRenderRequest request;
    const int parsed = ParseRequest(argc, argv, request);
    if (parsed >= 0) return parsed;
    return Render(request);
}

}  // namespace quil
