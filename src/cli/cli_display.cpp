#include "cli/cli_display.h"

#include <climits>
#include <cmath>

#include "cli/cli_values.h"

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
    for (const char* name : {"--grid", "--background"}) {
        if (!parsed.Has(name)) continue;
        const std::optional<bool> on = ParseSwitch(parsed.Value(name));
        if (!on) return UsageError(command, std::string(name) + " takes on or off");
        (std::string(name) == "--grid" ? display.grid : display.background) = on;
    }
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

std::optional<TLayout> ZoomLayout(int pageWidth, int pageHeight, float zoom) {
    const double w = std::trunc(double(float(pageWidth * zoom)));
    const double h = std::trunc(double(float(pageHeight * zoom)));
    if (w < 1 || h < 1 || w > INT_MAX || h > INT_MAX) return std::nullopt;
    return TLayout{int(w), int(h), zoom};
}

std::optional<TLayout> FitLayout(int pageWidth, int pageHeight, int panelWidth, int panelHeight) {
    if (pageWidth <= 0 || pageHeight <= 0) return std::nullopt;
    const float byWidth = float(panelWidth) / float(pageWidth);
    const float byHeight = float(panelHeight) / float(pageHeight);
    TLayout layout;
    if (byWidth <= byHeight) {
        layout.zoom = byWidth;
        layout.width = panelWidth;
        layout.height = int(std::trunc(pageHeight * byWidth));
    } else {
        layout.zoom = byHeight;
        layout.width = int(std::trunc(pageWidth * byHeight));
        layout.height = panelHeight;
    }
    if (layout.width < 1 || layout.height < 1) return std::nullopt;
    return layout;
}

std::optional<TLayout> DisplayLayout(const TDisplayRequest& display, int pageWidth,
                                     int pageHeight) {
    return display.panel
               ? FitLayout(pageWidth, pageHeight, display.panel->first, display.panel->second)
               : ZoomLayout(pageWidth, pageHeight, display.zoom);
}

}  // namespace quil
