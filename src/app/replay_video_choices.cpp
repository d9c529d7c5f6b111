#include "app/replay_video_choices.h"

#include "export/image_file_name.h"
#include "player/replay_rates.h"
#include "player/window_layout.h"

namespace quil {

TVideoType VideoTypeForFilter(int filterIndex) {
    switch (filterIndex) {
    case 2: return TVideoType::Webm;
    case 3: return TVideoType::Gif;
    default: return TVideoType::Mp4;
    }
}

std::filesystem::path VideoFileName(const std::filesystem::path& chosen, int filterIndex) {
    return ChosenTypeFileName(chosen, VideoTypeExtension(VideoTypeForFilter(filterIndex)));
}

TVideoSettings ProposedVideoSettings(const TWindowView& view) {
    TVideoSettings settings;
    settings.rate = view.rate;
    settings.width = view.displayWidth;
    settings.height = view.displayHeight;
    return settings;
}

TReplayVideoOptions ReplayVideoOptions(const TWindowView& view, const TVideoSettings& settings,
                                       TVideoType type) {
    TReplayVideoOptions options;
    options.type = type;
    if (settings.width == view.displayWidth && settings.height == view.displayHeight) {
        options.width = view.displayWidth;
        options.height = view.displayHeight;
        options.zoom = view.zoom;
    } else {
        const TDisplayLayout fit =
            TWindowLayout::Fit(view.pageWidth, view.pageHeight, settings.width, settings.height);
        options.width = fit.width;
        options.height = fit.height;
        options.zoom = fit.zoom;
    }
    options.quality = view.quality;
    options.grid = view.grid;
    options.background = view.background;
    options.reverse = view.reverse;
    options.step = ReplayStepForRate(settings.rate);
    options.fps = settings.fps;
    return options;
}

}  // namespace quil
