#include "video/video_size.h"

#include <cstdint>

namespace quil {

namespace {

// H.264 level 6.2, the highest: at most 139,264 macroblocks of 16 x 16
// pixels in a picture.
constexpr int64_t kMaxH264Macroblocks = 139264;
// VP9 level 6.2, the highest: at most 35,651,584 luma samples in a picture.
constexpr int64_t kMaxVp9Samples = 35651584;

std::string SizeText(TFrameSize size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

}  // namespace

TFrameSize EncodedFrameSize(TVideoType type, int width, int height) {
    if (type == TVideoType::Gif) return {width, height};
    return {width & ~1, height & ~1};
}

std::string VideoSizeRefusal(TVideoType type, TFrameSize size) {
    const std::string frames = "the video's frames would be " + SizeText(size) + " pixels, ";
    if (size.width > kMaxVideoSide || size.height > kMaxVideoSide)
        return frames + "above the largest side of " + std::to_string(kMaxVideoSide);
    const int smallest = type == TVideoType::Gif ? 1 : 2;
    if (size.width < smallest || size.height < smallest)
        return frames + "below the smallest of " + std::to_string(smallest) + " x " +
               std::to_string(smallest);
    if (type == TVideoType::Mp4) {
        const int64_t macroblocks = int64_t((size.width + 15) / 16) * ((size.height + 15) / 16);
        if (macroblocks > kMaxH264Macroblocks)
            return frames + "above the largest H.264 picture (139264 macroblocks)";
    }
    if (type == TVideoType::Webm && int64_t(size.width) * size.height > kMaxVp9Samples)
        return frames + "above the largest VP9 picture (35651584 pixels)";
    return {};
}

}  // namespace quil
