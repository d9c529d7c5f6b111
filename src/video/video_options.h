#pragma once

#include <cctype>
#include <optional>
#include <string>

#include "player/replay_rates.h"

namespace quil {

// The three kinds of video a replay can be written as.
enum class TVideoType {
    Mp4,   // H.264 in MP4, yuv420p, the index at the front
    Webm,  // VP9 in WebM, yuv420p
    Gif,   // an animated GIF with one palette made from the frames
};

// The type named "mp4", "webm" or "gif", or nothing. Inline, like the rest
// of this header, so that a tool built without the video library can still
// read its options.
inline std::optional<TVideoType> VideoTypeNamed(const std::string& name) {
    if (name == "mp4") return TVideoType::Mp4;
    if (name == "webm") return TVideoType::Webm;
    if (name == "gif") return TVideoType::Gif;
    return std::nullopt;
}

// The type a file name's extension asks for (".mp4", ".webm", ".gif", any
// case), or nothing.
inline std::optional<TVideoType> VideoTypeForExtension(const std::string& extension) {
    if (extension.empty() || extension[0] != '.') return std::nullopt;
    std::string name;
    for (size_t i = 1; i < extension.size(); ++i)
        name += char(std::tolower((unsigned char)extension[i]));
    return VideoTypeNamed(name);
}

// The extension of a type's files: ".mp4", ".webm" or ".gif".
inline const char* VideoTypeExtension(TVideoType type) {
    switch (type) {
    case TVideoType::Webm: return ".webm";
    case TVideoType::Gif: return ".gif";
    case TVideoType::Mp4: break;
    }
    return ".mp4";
}

// Everything a replay video is made from besides the recording: the
// player's display as the window would lay it out and show it, and the
// video's clock.
struct TReplayVideoOptions {
    TVideoType type = TVideoType::Mp4;
    // The player's display size and zoom (the page at zoom 1.0, or the
    // window's fit rule applied to a panel). MP4 and WebM frames are the
    // display's top-left part rounded down to even sides.
    int width = 0;
    int height = 0;
    float zoom = 1.0f;
    int quality = 2;  // 0 Low, 1 Middle, 2 Best
    // Unset: as the window sets them after opening (on when the recording
    // has a grid or a background).
    std::optional<bool> grid;
    std::optional<bool> background;
    bool reverse = false;
    int step = kInitialReplayStep;  // points per replay tick
    int fps = 30;                   // 1 .. 60
    int from = 0;                   // the position the replay starts from
    double holdSeconds = 2.0;       // the complete page held at the end
};

constexpr int kMinVideoFps = 1;
constexpr int kMaxVideoFps = 60;
constexpr double kMaxHoldSeconds = 3600.0;

}  // namespace quil
