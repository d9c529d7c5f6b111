#include "export/bmp_writer.h"

#include <cstring>
#include <limits>

namespace quil {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;

void PutU16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void PutU32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

void PutHeaders(uint8_t* p, const TBitmap& picture, uint32_t imageSize) {
    p[0] = 'B';
    p[1] = 'M';
    PutU32(p + 2, uint32_t(kHeadersSize) + imageSize);
    PutU32(p + 6, 0);  // two reserved words
    PutU32(p + 10, uint32_t(kHeadersSize));
    uint8_t* info = p + kFileHeaderSize;
    PutU32(info + 0, uint32_t(kInfoHeaderSize));
    PutU32(info + 4, uint32_t(picture.Width()));
    PutU32(info + 8, uint32_t(picture.Height()));  // positive: bottom-up rows
    PutU16(info + 12, 1);                          // planes
    PutU16(info + 14, 24);                         // bits per pixel
    PutU32(info + 16, 0);                          // no compression
    PutU32(info + 20, imageSize);
    // Resolution and colour-table fields stay 0.
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const TBitmap& picture) {
    if (picture.Empty() || picture.BitsPerPixel() != 24) return {};
    const size_t imageSize = picture.ByteSize();
    if (imageSize > std::numeric_limits<uint32_t>::max() - kHeadersSize) return {};

    std::vector<uint8_t> file(kHeadersSize + imageSize, 0);
    PutHeaders(file.data(), picture, uint32_t(imageSize));

    // The picture is laid out bottom-up with 4-byte rows like the file; copy
    // only the pixel bytes so the padding in the file is always zero.
    const size_t rowBytes = size_t(picture.Width()) * 3;
    const size_t stride = size_t(picture.Stride());
    const uint8_t* src = picture.Bits();
    uint8_t* dst = file.data() + kHeadersSize;
    for (int row = 0; row < picture.Height(); ++row, src += stride, dst += stride)
        std::memcpy(dst, src, rowBytes);
    return file;
}

}  // namespace quil
