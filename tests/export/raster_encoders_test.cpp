#include <gtest/gtest.h>

#include <cstdlib>

#include "export/bmp_writer.h"
#include "export/jpeg_writer.h"
#include "export/png_writer.h"
#include "picture_decoders.h"

namespace quil {
namespace {

using testing::DecodeJpeg;
using testing::DecodePng;
using testing::MakePatternPicture;
using testing::ReadPngHeader;
using testing::TRgbaPicture;

uint32_t U32(const std::vector<uint8_t>& f, size_t at) {
    return f[at] | f[at + 1] << 8 | f[at + 2] << 16 | uint32_t(f[at + 3]) << 24;
}

TEST(BmpWriter, PageSizedFileHasHeadersAndPaddedRows) {
    TBitmap page;
    ASSERT_TRUE(page.Create(1022, 718));
    const std::vector<uint8_t> file = EncodeBmp(page);
    ASSERT_EQ(file.size(), 2202878u);  // 54 + 718 rows of 3066 bytes padded to 3068
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 2), 2202878u);
    EXPECT_EQ(U32(file, 10), 54u);  // pixel data offset: no colour table
    EXPECT_EQ(U32(file, 14), 40u);  // info header size
    EXPECT_EQ(U32(file, 18), 1022u);
    EXPECT_EQ(U32(file, 22), 718u);  // positive: bottom-up
    EXPECT_EQ(file[26] | file[27] << 8, 1);
    EXPECT_EQ(file[28] | file[29] << 8, 24);
    EXPECT_EQ(U32(file, 30), 0u);  // no compression
}

TEST(BmpWriter, RowsAreBottomUpBlueGreenRedWithZeroPadding) {
    const TBitmap picture = MakePatternPicture(5, 3);  // 15 bytes per row, padded to 16
    const std::vector<uint8_t> file = EncodeBmp(picture);
    ASSERT_EQ(file.size(), 54u + 3 * 16);
    for (int fileRow = 0; fileRow < 3; ++fileRow) {
        const uint8_t* row = &file[54 + fileRow * 16];
        const uint8_t* expected = picture.ScanLine(2 - fileRow);
        EXPECT_EQ(std::vector<uint8_t>(row, row + 15),
                  std::vector<uint8_t>(expected, expected + 15));
        EXPECT_EQ(row[15], 0) << "padding of file row " << fileRow;
    }
}

TEST(BmpWriter, RefusesPicturesItCannotWrite) {
    TBitmap grey;
    ASSERT_TRUE(grey.Create(4, 4, 8));
    EXPECT_TRUE(EncodeBmp(TBitmap()).empty());
    EXPECT_TRUE(EncodeBmp(grey).empty());
}

TEST(PngWriter, RgbFileIsType2AndRoundTripsExactly) {
    const TBitmap picture = MakePatternPicture(37, 11);
    const std::vector<uint8_t> file = EncodePngRgb(picture);
    const testing::TPngHeader h = ReadPngHeader(file);
    ASSERT_TRUE(h.valid);
    EXPECT_EQ(h.width, 37u);
    EXPECT_EQ(h.height, 11u);
    EXPECT_EQ(h.bitDepth, 8);
    EXPECT_EQ(h.colorType, 2);
    EXPECT_EQ(h.interlace, 0);

    TRgbaPicture decoded;
    ASSERT_TRUE(DecodePng(file, decoded));
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 37; ++x) {
            const uint8_t* want = picture.ScanLine(y) + 3 * x;
            const uint8_t* got = decoded.At(x, y);
            ASSERT_EQ(got[0], want[2]) << x << "," << y;
            ASSERT_EQ(got[1], want[1]) << x << "," << y;
            ASSERT_EQ(got[2], want[0]) << x << "," << y;
            ASSERT_EQ(got[3], 255);
        }
}

TEST(PngWriter, OnlyExactWhiteBecomesTransparent) {
    TBitmap stamp;
    ASSERT_TRUE(stamp.Create(4, 1));  // starts white
    uint8_t* row = stamp.ScanLine(0);
    row[3 * 1 + 0] = 254;                                  // almost white
    row[3 * 2 + 0] = row[3 * 2 + 1] = row[3 * 2 + 2] = 0;  // black
    row[3 * 3 + 2] = 254;                                  // almost white in red
    const std::vector<uint8_t> file = EncodePngWhiteTransparent(stamp);
    EXPECT_EQ(ReadPngHeader(file).colorType, 6);
    TRgbaPicture decoded;
    ASSERT_TRUE(DecodePng(file, decoded));
    EXPECT_EQ(decoded.At(0, 0)[3], 0);
    EXPECT_EQ(decoded.At(1, 0)[3], 255);
    EXPECT_EQ(decoded.At(1, 0)[2], 254);  // the colour channels are kept
    EXPECT_EQ(decoded.At(2, 0)[3], 255);
    EXPECT_EQ(decoded.At(3, 0)[3], 255);
}

TEST(PngWriter, GreyPictureIsWrittenAsRgb) {
    TBitmap grey;
    ASSERT_TRUE(grey.Create(3, 2, 8, 0x40));
    const std::vector<uint8_t> file = EncodePngRgb(grey);
    EXPECT_EQ(ReadPngHeader(file).colorType, 2);
    TRgbaPicture decoded;
    ASSERT_TRUE(DecodePng(file, decoded));
    EXPECT_EQ(decoded.At(2, 1)[0], 0x40);
    EXPECT_EQ(decoded.At(2, 1)[1], 0x40);
    EXPECT_TRUE(EncodePngRgb(TBitmap()).empty());
}

// The frame markers from the start of image up to the start of scan.
std::vector<int> JpegMarkers(const std::vector<uint8_t>& f) {
    std::vector<int> markers;
    if (f.size() < 4 || f[0] != 0xFF || f[1] != 0xD8) return markers;
    size_t at = 2;
    while (at + 4 <= f.size() && f[at] == 0xFF) {
        const int marker = f[at + 1];
        markers.push_back(marker);
        if (marker == 0xDA) break;
        at += 2 + (size_t(f[at + 2]) << 8 | f[at + 3]);
    }
    return markers;
}

TEST(JpegWriter, BaselineJfifWithTheSameSizeAndCloseColours) {
    TBitmap picture;
    ASSERT_TRUE(picture.Create(61, 23));
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 61; ++x) {  // smooth, so quality 90 keeps it close
            uint8_t* p = picture.ScanLine(y) + 3 * x;
            p[0] = uint8_t(40 + x * 2);
            p[1] = uint8_t(100 + y);
            p[2] = uint8_t(200 - x);
        }
    const std::vector<uint8_t> file = EncodeJpeg(picture);
    ASSERT_GT(file.size(), 20u);
    EXPECT_EQ(std::string(file.begin() + 6, file.begin() + 11), std::string("JFIF\0", 5));
    const std::vector<int> markers = JpegMarkers(file);
    ASSERT_FALSE(markers.empty());
    EXPECT_EQ(markers.front(), 0xE0);  // APP0 (JFIF) first
    EXPECT_NE(std::find(markers.begin(), markers.end(), 0xC0), markers.end()) << "no SOF0";
    EXPECT_EQ(std::find(markers.begin(), markers.end(), 0xC2), markers.end()) << "progressive";
    EXPECT_EQ(markers.back(), 0xDA);

    TRgbaPicture decoded;
    ASSERT_TRUE(DecodeJpeg(file, decoded));
    ASSERT_EQ(decoded.width, 61);
    ASSERT_EQ(decoded.height, 23);
    int worst = 0;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 61; ++x) {
            const uint8_t* want = picture.ScanLine(y) + 3 * x;
            const uint8_t* got = decoded.At(x, y);
            worst = std::max({worst, std::abs(got[0] - want[2]), std::abs(got[1] - want[1]),
                              std::abs(got[2] - want[0])});
        }
    EXPECT_LE(worst, 8) << "colour channels swapped or quality far below 90";
}

TEST(JpegWriter, RefusesPicturesItCannotWrite) {
    TBitmap grey;
    ASSERT_TRUE(grey.Create(4, 4, 8));
    EXPECT_TRUE(EncodeJpeg(TBitmap()).empty());
    EXPECT_TRUE(EncodeJpeg(grey).empty());
}

}  // namespace
}  // namespace quil
