// The BMP decoder against pictures our own writer encodes in every layout,
// and against damaged files.

#include <gtest/gtest.h>

#include "platform/bmp_decoder.h"
#include "recording_writer.h"

namespace quil {
namespace {

using fixture::BmpCompression;
using fixture::BmpOptions;
using fixture::Bytes;
using fixture::Picture;

// The colour a channel keeps after `bits` bits and scaling back to 8.
uint8_t Quantise(uint8_t v, int bits) {
    if (bits >= 8) return v;
    uint32_t q = v >> (8 - bits);
    return uint8_t(q * 255 / ((1u << bits) - 1));
}

void ExpectPixels(const TBitmap& got, const Picture& want, int rBits, int gBits, int bBits,
                  const std::string& name) {
    ASSERT_EQ(got.Width(), want.width) << name;
    ASSERT_EQ(got.Height(), want.height) << name;
    ASSERT_EQ(got.BitsPerPixel(), 24) << name;
    int wrong = 0;
    for (int y = 0; y < want.height; ++y)
        for (int x = 0; x < want.width; ++x) {
            const uint8_t* p = got.ScanLine(y) + 3 * x;
            uint32_t c = want.At(x, y);
            if (p[2] != Quantise(uint8_t(c), rBits) || p[1] != Quantise(uint8_t(c >> 8), gBits) ||
                p[0] != Quantise(uint8_t(c >> 16), bBits))
                ++wrong;
        }
    EXPECT_EQ(wrong, 0) << name;
}

TEST(BmpDecoder, EveryLayoutDecodesToTheSamePicture) {
    struct Case {
        const char* name;
        BmpOptions options;
        int colours;  // 0: full colour
        int bits[3];  // r, g, b precision kept
    };
    const Case cases[] = {
        {"24-bit info", {.bitsPerPixel = 24}, 0, {8, 8, 8}},
        {"24-bit top-down", {.bitsPerPixel = 24, .topDown = true}, 0, {8, 8, 8}},
        {"24-bit core", {.bitsPerPixel = 24, .headerSize = 12}, 0, {8, 8, 8}},
        {"24-bit V4", {.bitsPerPixel = 24, .headerSize = 108}, 0, {8, 8, 8}},
        {"24-bit V5", {.bitsPerPixel = 24, .headerSize = 124}, 0, {8, 8, 8}},
        {"32-bit", {.bitsPerPixel = 32}, 0, {8, 8, 8}},
        {"32-bit bitfields V5",
         {.bitsPerPixel = 32,
          .headerSize = 124,
          .compression = BmpCompression::Bitfields,
          .redMask = 0xFF000000,
          .greenMask = 0x00FF0000,
          .blueMask = 0x0000FF00},
         0,
         {8, 8, 8}},
        {"16-bit 5-5-5", {.bitsPerPixel = 16}, 0, {5, 5, 5}},
        {"16-bit 5-6-5 bitfields",
         {.bitsPerPixel = 16, .compression = BmpCompression::Bitfields},
         0,
         {5, 6, 5}},
        {"16-bit 4-4-4 bitfields top-down",
         {.bitsPerPixel = 16,
          .topDown = true,
          .compression = BmpCompression::Bitfields,
          .redMask = 0x0F00,
          .greenMask = 0x00F0,
          .blueMask = 0x000F},
         0,
         {4, 4, 4}},
        {"8-bit palette", {.bitsPerPixel = 8}, 16, {8, 8, 8}},
        {"8-bit core palette", {.bitsPerPixel = 8, .headerSize = 12}, 16, {8, 8, 8}},
        {"4-bit palette", {.bitsPerPixel = 4}, 16, {8, 8, 8}},
        {"1-bit palette", {.bitsPerPixel = 1}, 2, {8, 8, 8}},
        {"1-bit top-down", {.bitsPerPixel = 1, .topDown = true}, 2, {8, 8, 8}},
        {"RLE8", {.bitsPerPixel = 8, .compression = BmpCompression::Rle8}, 16, {8, 8, 8}},
        {"RLE4", {.bitsPerPixel = 4, .compression = BmpCompression::Rle4}, 16, {8, 8, 8}},
        {"RLE4 two colours",
         {.bitsPerPixel = 4, .compression = BmpCompression::Rle4},
         2,
         {8, 8, 8}},
    };
    // Odd widths exercise row padding and the last byte of packed rows.
    for (int width : {1, 7, 13, 33}) {
        for (const Case& c : cases) {
            Picture picture = fixture::PatternPicture(width, 5, c.colours);
            TBitmap decoded;
            std::string name = std::string(c.name) + " width " + std::to_string(width);
            ASSERT_TRUE(DecodeBmp(fixture::EncodeBmp(picture, c.options).data(),
                                  fixture::EncodeBmp(picture, c.options).size(), decoded))
                << name;
            ExpectPixels(decoded, picture, c.bits[0], c.bits[1], c.bits[2], name);
        }
    }
}

Bytes Rle8File(int width, int height, const Bytes& stream) {
    // A 2-colour palette: index 0 black, 1 red; other indexes are beyond it.
    Bytes out = {'B', 'M'};
    fixture::PutU32(out, 0);
    fixture::PutU32(out, 0);
    fixture::PutU32(out, 14 + 40 + 8);
    fixture::PutU32(out, 40);
    fixture::PutI32(out, width);
    fixture::PutI32(out, height);
    out.push_back(1), out.push_back(0), out.push_back(8), out.push_back(0);
    fixture::PutU32(out, 1);  // RLE8
    fixture::PutU32(out, uint32_t(stream.size()));
    fixture::PutU32(out, 0), fixture::PutU32(out, 0);
    fixture::PutU32(out, 2);
    fixture::PutU32(out, 0);
    fixture::PutU32(out, 0x00000000);
    fixture::PutU32(out, 0x00FF0000);  // B G R 0: red
    return fixture::Concat(out, stream);
}

TEST(BmpDecoder, RleEscapesMoveAndClipWithoutWritingOutside) {
    // Bottom row: 2 red; a move of (1, 1); an absolute run of 3 (red, black,
    // red) with padding; a run that passes the right edge; end of picture.
    Bytes stream = {2, 1, 0, 2, 1, 1, 0, 3, 1, 0, 1, 0, 9, 1, 0, 1};
    TBitmap picture;
    ASSERT_TRUE(DecodeBmp(Rle8File(6, 3, stream).data(), Rle8File(6, 3, stream).size(), picture));
    auto red = [&](int x, int y) { return picture.ScanLine(y)[3 * x + 2] == 0xFF; };
    EXPECT_TRUE(red(0, 2));
    EXPECT_TRUE(red(1, 2));
    EXPECT_FALSE(red(2, 2));
    // Row 1 from the bottom (y = 1 from the top) starts at x = 3.
    EXPECT_TRUE(red(3, 1));
    EXPECT_FALSE(red(4, 1));
    EXPECT_TRUE(red(5, 1));
    EXPECT_FALSE(red(0, 0));  // the run of 9 went on in row 1, clipped at the edge
}

TEST(BmpDecoder, DamagedFilesAreRefused) {
    const Picture picture = fixture::PatternPicture(8, 8);
    const Bytes good = fixture::EncodeBmp(picture);
    auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        Bytes b = good;
        size_t i = at;
        for (uint8_t v : bytes)
            b[i++] = v;
        return b;
    };
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"not BM", with(0, {'X'})},
        {"header only", Bytes(good.begin(), good.begin() + 54)},
        {"last row cut", Bytes(good.begin(), good.end() - 1)},
        {"width 0", with(18, {0, 0, 0, 0})},
        {"negative width", with(18, {0xFF, 0xFF, 0xFF, 0xFF})},
        {"height 0", with(22, {0, 0, 0, 0})},
        {"huge width", with(18, {0, 0, 0, 0x40})},
        {"huge height", with(22, {0, 0, 0, 0x40})},
        {"header size 41", with(14, {41})},
        {"header size beyond the file", with(14, {0, 0, 0, 1})},
        {"bits per pixel 7", with(28, {7})},
        {"planes 2", with(26, {2})},
        {"compression JPEG", with(30, {4})},
        {"RLE8 with 24 bits", with(30, {1})},
        {"pixel offset beyond the file", with(10, {0, 0, 0, 1})},
        {"top-down RLE",
         fixture::EncodeBmp(fixture::PatternPicture(4, 4, 4),
                            {.bitsPerPixel = 8, .compression = BmpCompression::Rle8})},
    };
    for (const Case& c : cases) {
        Bytes bytes = c.bytes;
        if (std::string(c.name) == "top-down RLE")
            bytes[22] = 0xFC, bytes[23] = bytes[24] = bytes[25] = 0xFF;
        TBitmap decoded;
        EXPECT_FALSE(DecodeBmp(bytes.data(), bytes.size(), decoded)) << c.name;
        EXPECT_TRUE(decoded.Empty()) << c.name;
    }
    TBitmap decoded;
    EXPECT_FALSE(DecodeBmp(nullptr, 0, decoded));
}

TEST(BmpDecoder, RleCannotClaimAHugePictureFromAFewBytes) {
    Bytes file = Rle8File(60000, 60000, {0, 1});
    TBitmap picture;
    EXPECT_FALSE(DecodeBmp(file.data(), file.size(), picture));
}

TEST(BmpDecoder, IndexesBeyondThePaletteGiveBlack) {
    Bytes file = Rle8File(2, 1, {1, 1, 1, 200, 0, 1});
    TBitmap picture;
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), picture));
    EXPECT_EQ(picture.ScanLine(0)[2], 0xFF);
    EXPECT_EQ(picture.ScanLine(0)[5], 0x00);
}

}  // namespace
}  // namespace quil
