#pragma once

// Reads a written video back with FFmpeg's demuxers and decoders, as a
// player would, into RGB pictures: the test's own road from the file to
// pixels, sharing nothing with the writer but the libraries.

#include <cstdint>
#include <string>
#include <vector>

namespace quil::test {

struct TDecodedVideo {
    bool ok = false;
    std::string error;
    std::string container;  // the demuxer's name, e.g. "mov,mp4,m4a,3gp,3g2,mj2"
    std::string codec;      // "h264", "vp9", "gif"
    std::string pixelFormat;
    int width = 0, height = 0;
    int frameRateNum = 0, frameRateDen = 1;  // the stream's average frame rate
    double duration = 0;                     // seconds, from the container
    // Every frame, top-down rows of red, green, blue.
    std::vector<std::vector<uint8_t>> frames;
};

TDecodedVideo DecodeVideo(const std::string& path);

}  // namespace quil::test
