#include "cli/cli_display.h"

#include <algorithm>

#include "cli/cli_values.h"
#include "model/page_size.h"

namespace quil {

std::vector<OptionSpec> DisplayOptionSpecs() {
    return {
        {"--zoom", true},       {"--size", true}, {"--quality", true}, {"--grid", true},
        {"--background", true}, {"--step", true}, {"--rate", true},    {"--reverse", false},
    };
}

int ParseDisplayOptions(const ParsedArguments& parsed, const std::string& command,
                        TDisplayRequest& display) {
    if (parsed.Has("--zoom") && parsed.Has("--size"))
        return UsageError(command, "--zoom and --size exclude each other");
    if (parsed.Has("--zoom")) {
        const std::optional<float> zoom = ParsePositiveFloat(parsed.Value("--zoom"));
        if (!zoom)
            return UsageError(
                command, "--zoom needs a number above 0, not '" + parsed.Value("--zoom") + "'");
        display.zoom = *zoom;
    }
    if (parsed.Has("--size")) {
        display.panel = ParseSize(parsed.Value("--size"));
        if (!display.panel)
            return UsageError(command, "--size needs WxH with whole numbers of at least 1, not '" +
                                           parsed.Value("--size") + "'");
    }
    if (parsed.Has("--quality")) {
        const std::string q = parsed.Value("--quality");
        if (q == "low")
            display.quality = 0;
        else if (q == "middle")
            display.quality = 1;
        else if (q == "best")
            display.quality = 2;
        else
            return UsageError(command, "--quality takes low, middle or best, not '" + q + "'");
    }
    const int switches = ParseGridAndBackground(parsed, command, display.grid, display.background);
    if (switches >= 0) return switches;
    if (parsed.Has("--step") && parsed.Has("--rate"))
        return UsageError(command, "--step and --rate exclude each other");
    if (parsed.Has("--step")) {
        const std::optional<long long> step = ParseInteger(parsed.Value("--step"));
        if (!step || *step < 1 || *step > INT_MAX)
            return UsageError(command, "--step needs a whole number of at least 1, not '" +
                                           parsed.Value("--step") + "'");
        display.step = int(*step);
    }
    if (parsed.Has("--rate")) {
        const std::optional<long long> rate = ParseInteger(parsed.Value("--rate"));
        if (!rate || *rate < 0 || *rate >= kReplayRateCount)
            return UsageError(command, "--rate takes 0 to 9, not '" + parsed.Value("--rate") + "'");
        display.step = ReplayStepForRate(int(*rate));
    }
    display.reverse = parsed.Has("--reverse");
    return -1;
}

namespace {

std::optional<TDisplayLayout> DisplayLayout(const TDisplayRequest& display, int pageWidth,
                                            int pageHeight) {
    std::optional<TDisplayLayout> layout =
        display.panel
            ? TWindowLayout::Fit(pageWidth, pageHeight, display.panel->first, display.panel->second)
            : TWindowLayout::Zoom(pageWidth, pageHeight, display.zoom);
    if (!layout || layout->width < 1 || layout->height < 1) return std::nullopt;
    return layout;
}

const char* LayoutRefusal(const TDisplayRequest& display, int pageWidth, int pageHeight) {
    const bool tooLarge =
        !display.panel && float(std::min(pageWidth, pageHeight) * display.zoom) >= 1;
    return tooLarge ? kPageTooLarge : "the page has no pixels at this zoom or size";
}

}  // namespace

int LayoutForRecording(const TDisplayRequest& display, const std::string& file,
                       TDisplayLayout& layout) {
    int pageWidth = 0, pageHeight = 0;
    {
        TPenReplayWT document(kDefaultPageWidth, kDefaultPageHeight);
        const int code = OpenOrReport(document, file);
        if (code != kLoadOk) return code;
        pageWidth = document.GetPageWidth();
        pageHeight = document.GetPageHeight();
    }
    const std::optional<TDisplayLayout> found = DisplayLayout(display, pageWidth, pageHeight);
    if (!found) {
        PrintFileError(file, LayoutRefusal(display, pageWidth, pageHeight));
        return kExitRefused;
    }
    layout = *found;
    return -1;
}

}  // namespace quil
