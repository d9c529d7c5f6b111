// quil replay FILE -o OUT: the replay as the window shows it, frame by
// frame, written as an MP4, WebM or GIF video.

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/cli_display.h"
#include "cli/cli_progress_line.h"
#include "cli/cli_values.h"
#include "cli/commands.h"
#include "model/document.h"
#include "platform/special_folders.h"
#include "video/video_module.h"
#include "video/video_options.h"
#include "video/video_writer.h"

namespace quil {

namespace {

const char kReplayUsage[] =
    "Usage: quil replay FILE -o OUT [options]\n"
    "Writes the replay of the recording FILE as a video, as the viewer's window\n"
    "shows it: frame i shows the display after the replay ticks due at time\n"
    "i / fps on the window's 33 ms tick clock, floor(i * 1000 / (33 * fps)),\n"
    "starting from the empty page (or from --from N); then the complete page\n"
    "is held for --hold seconds (at least one frame).\n"
    "\n"
    "  -o OUT                        the file to write\n"
    "  --type mp4|webm|gif           H.264 in MP4, VP9 in WebM or an animated GIF\n"
    "                                (default: from OUT's extension)\n"
    "  --step S                      points per tick, S >= 1 (default 5)\n"
    "  --rate K                      rate 0 .. 9 instead of --step: trunc(1.5^K)\n"
    "  --fps N                       frames per second, 1 .. 60 (default 30)\n"
    "  --zoom Z                      zoom factor, > 0 (default 1.0)\n"
    "  --size WxH                    fit the page into a W x H panel\n"
    "                                (instead of --zoom)\n"
    "                                MP4 and WebM round the sides down to even\n"
    "  --quality low|middle|best     renderer quality (default best)\n"
    "  --grid on|off                 the Grid option (default: as after opening)\n"
    "  --background on|off           the Background option (default: as after opening)\n"
    "  --reverse                     the Reverse option on\n"
    "  --from N                      start at position N, the elements before it\n"
    "                                already drawn (default 0)\n"
    "  --hold SECONDS                the complete page held at the end (default 2)\n"
    "\n"
    "On a terminal a progress line is shown on stderr.\n";

struct TReplayRequest : TDisplayRequest {
    std::string file;
    std::string out;
    TVideoType type = TVideoType::Mp4;
    int fps = 30;
    int from = 0;
    double holdSeconds = 2.0;
};

// Reads --type, --fps, --from and --hold. Returns -1 to go on, or 64.
int ParseVideoOptions(const ParsedArguments& parsed, TReplayRequest& request) {
    if (parsed.Has("--type")) {
        const std::optional<TVideoType> type = VideoTypeNamed(parsed.Value("--type"));
        if (!type)
            return UsageError(
                "replay", "--type takes mp4, webm or gif, not '" + parsed.Value("--type") + "'");
        request.type = *type;
    } else {
        const std::optional<TVideoType> type =
            VideoTypeForExtension(std::filesystem::path(request.out).extension().string());
        if (!type)
            return UsageError("replay", "OUT must end in .mp4, .webm or .gif, or --type must say, "
                                        "not '" +
                                            request.out + "'");
        request.type = *type;
    }
    if (parsed.Has("--fps")) {
        const std::optional<long long> fps = ParseInteger(parsed.Value("--fps"));
        if (!fps || *fps < kMinVideoFps || *fps > kMaxVideoFps)
            return UsageError("replay", "--fps takes 1 to 60, not '" + parsed.Value("--fps") + "'");
        request.fps = int(*fps);
    }
    if (parsed.Has("--from")) {
        const std::optional<long long> from = ParseInteger(parsed.Value("--from"));
        if (!from || *from < 0)
            return UsageError("replay", "--from needs a position of at least 0, not '" +
                                            parsed.Value("--from") + "'");
        request.from = int(std::min<long long>(*from, INT_MAX));
    }
    if (parsed.Has("--hold")) {
        const std::optional<double> hold = ParseNonNegativeNumber(parsed.Value("--hold"));
        if (!hold || *hold > kMaxHoldSeconds)
            return UsageError(
                "replay", "--hold takes 0 to 3600 seconds, not '" + parsed.Value("--hold") + "'");
        request.holdSeconds = *hold;
    }
    return CheckOutput("replay", request.file, request.out);
}

// Fills the request. Returns -1 to go on, or the exit status to end with.
int ParseRequest(int argc, char** argv, TReplayRequest& request) {
    std::vector<OptionSpec> specs = DisplayOptionSpecs();
    specs.insert(
        specs.end(),
        {{"-o", true}, {"--type", true}, {"--fps", true}, {"--from", true}, {"--hold", true}});
    ParsedArguments parsed;
    std::string error;
    if (!ParseArguments(argc, argv, specs, parsed, error)) return UsageError("replay", error);
    if (parsed.help) {
        std::fputs(kReplayUsage, stdout);
        return kExitOk;
    }
    const int named = TakeFileAndOutput(parsed, "replay", request.file, request.out);
    if (named >= 0) return named;
    const int display = ParseDisplayOptions(parsed, "replay", request);
    if (display >= 0) return display;
    return ParseVideoOptions(parsed, request);
}

// The progress line's text for a frame of a pass.
void ShowProgress(TProgressLine& line, const TVideoProgress& p) {
    const double fraction = VideoProgressFraction(p);
    if (!line.Due(fraction)) return;
    std::string text = "frame " + std::to_string(p.frame) + " of " + std::to_string(p.frames);
    if (p.passes > 1)
        text += p.pass == 1
                    ? " (palette, pass 1 of " + std::to_string(p.passes) + ")"
                    : " (pass " + std::to_string(p.pass) + " of " + std::to_string(p.passes) + ")";
    line.Update(fraction, text);
}

int Replay(const TReplayRequest& request, const TDisplayLayout& layout,
           const TVideoModule& module) {
    TReplayVideoOptions options;
    options.type = request.type;
    options.width = layout.width;
    options.height = layout.height;
    options.zoom = layout.zoom;
    options.quality = request.quality;
    options.grid = request.grid;
    options.background = request.background;
    options.reverse = request.reverse;
    options.step = request.step;
    options.fps = request.fps;
    options.from = request.from;
    options.holdSeconds = request.holdSeconds;

    const std::unique_ptr<IReplayVideoWriter> made = module.MakeWriter(options);
    if (!made) {
        PrintFileError(request.file, "the video writer cannot be made");
        return kExitRefused;
    }
    IReplayVideoWriter& writer = *made;
    TProgressLine line;
    writer.SetProgress([&line](const TVideoProgress& p) { ShowProgress(line, p); });
    const TVideoResult result = writer.Write(request.file, request.out);
    line.Clear();
    switch (result) {
    case TVideoResult::Done: return kExitOk;
    case TVideoResult::NotLoaded:
        PrintFileError(request.file, LoadMessage(writer.LoadCode()), writer.LoadCode());
        return writer.LoadCode();
    case TVideoResult::Refused: PrintFileError(request.file, writer.Message()); return kExitRefused;
    case TVideoResult::Failed:
        PrintFileError(request.file, "the video cannot be made: " + writer.Message());
        return kExitOutput;
    case TVideoResult::NotWritten:
        PrintFileError(request.file, writer.Message());
        return kExitOutput;
    case TVideoResult::Cancelled: break;  // the tool never cancels
    }
    PrintFileError(request.file, "the video was not finished");
    return kExitOutput;
}

}  // namespace

int RunReplay(int argc, char** argv) {
    TReplayRequest request;
    const int parsed = ParseRequest(argc, argv, request);
    if (parsed >= 0) return parsed;
    TDisplayLayout layout;
    const int laidOut = LayoutForRecording(request, request.file, layout);
    if (laidOut >= 0) return laidOut;
    // FFmpeg's libraries come with the module, now that a video is wanted.
    const TVideoModule module = TVideoModule::Load(RunningProgram());
    if (!module.Available()) {
        PrintFileError(request.file, module.Problem());
        return kExitRefused;
    }
    return Replay(request, layout, module);
}

}  // namespace quil
