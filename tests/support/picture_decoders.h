#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/color.h"

namespace quil::testing {

// A decoded picture, top-down rows of 4 bytes per pixel: red, green, blue,
// alpha (255 where the file has no alpha).
struct TRgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    const uint8_t* At(int x, int y) const { return pixels.data() + (size_t(y) * width + x) * 4; }
};

// Fields of a PNG's IHDR chunk (which must be the first chunk).
struct TPngHeader {
    bool valid = false;
    uint32_t width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0;
};

TPngHeader ReadPngHeader(const std::vector<uint8_t>& file);
bool DecodePng(const std::vector<uint8_t>& file, TRgbaPicture& picture);
bool DecodeJpeg(const std::vector<uint8_t>& file, TRgbaPicture& picture);

std::vector<uint8_t> ReadWholeFile(const std::string& path);

// The PNG file at `path`, decoded; a failure to decode fails the test and
// gives an empty picture.
TRgbaPicture ReadPng(const std::filesystem::path& path);

// Whether two pictures have the same size and the same pixels.
bool SamePixels(const TRgbaPicture& a, const TRgbaPicture& b);

// The colour of pixel (x, y) of a 24-bit picture.
inline COLORREF PixelAt(const TBitmap& b, int x, int y) {
    const uint8_t* p = b.ScanLine(y) + 3 * x;
    return MakeColor(p[2], p[1], p[0]);
}

// A 24-bit picture with a pattern that exercises every channel and the row
// padding (width not a multiple of 4).
TBitmap MakePatternPicture(int width, int height);

}  // namespace quil::testing
