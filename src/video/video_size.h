#pragma once

#include <string>

#include "video/video_options.h"

namespace quil {

// The size of a video's frames.
struct TFrameSize {
    int width = 0;
    int height = 0;
};

// The sides no video type goes beyond.
constexpr int kMaxVideoSide = 8192;

// The frames the encoder of `type` gets from a display of width x height:
// H.264 and VP9 in 4:2:0 need even sides, so MP4 and WebM take the display's
// top-left part with both sides rounded down to even; GIF takes it whole.
TFrameSize EncodedFrameSize(TVideoType type, int width, int height);

// Why the encoder of `type` refuses frames of `size` (sides above 8192, the
// largest picture of the codec's highest level, sides too small), or an
// empty text when it takes them.
std::string VideoSizeRefusal(TVideoType type, TFrameSize size);

}  // namespace quil
