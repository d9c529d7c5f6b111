// Decoder of Windows BMP file images into 24-bit pictures.
//
// Layout: a 14-byte file header ("BM", file size, two reserved words, offset
// of the pixel rows), an info header whose first word is its own size (12:
// core, 40: info, 52/56: info with masks, 64: OS/2, 108: V4, 124: V5), masks
// for BI_BITFIELDS after a 40-byte header, a palette, then rows padded to 4
// bytes (bottom-up unless the height is negative) or an RLE stream.

#include "platform/bmp_decoder.h"

#include <algorithm>
#include <cstring>

#include "platform/little_endian.h"

namespace quil {

namespace {

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6 };

constexpr size_t kFileHeaderSize = 14;
constexpr int64_t kLargestSide = 1 << 16;
// An RLE stream can describe a large picture from few bytes; beyond this
// many pixels per stream byte the picture is taken for damage.
constexpr uint64_t kRlePixelsPerByte = 4096;
constexpr uint64_t kRleFreePixels = 1u << 20;

struct Rgb {
    uint8_t b = 0, g = 0, r = 0;
};

// One colour channel given by a bit mask, scaled to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    static Channel From(uint32_t mask) {
        Channel c;
        c.mask = mask;
        if (mask == 0) return c;
        while (((mask >> c.shift) & 1u) == 0)
            ++c.shift;
        uint32_t m = mask >> c.shift;
        while (c.bits < 32 && ((m >> c.bits) & 1u))
            ++c.bits;
        return c;
    }
    uint8_t Of(uint32_t pixel) const {
        if (bits == 0) return 0;
        uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return uint8_t(v >> (bits - 8));
        return uint8_t(v * 255u / ((1u << bits) - 1u));
    }
};

struct Header {
    int64_t width = 0;
    int64_t height = 0;  // always positive here
    bool topDown = false;
    int bpp = 0;
    uint32_t compression = kRgb;
    Channel red, green, blue;
    Rgb palette[256];
    int paletteSize = 0;
    size_t dataOffset = 0;
};

bool ReadPalette(const uint8_t* data, size_t size, size_t at, size_t entrySize, uint32_t used,
                 Header& h) {
    if (h.bpp > 8) return true;
    uint32_t full = 1u << h.bpp;
    uint32_t count = (used == 0 || used > full) ? full : used;
    // Some writers declare more colours than they store: keep those present.
    if (at > size) return false;
    count = uint32_t(std::min<uint64_t>(count, (size - at) / entrySize));
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = data + at + i * entrySize;
        h.palette[i] = Rgb{e[0], e[1], e[2]};
    }
    h.paletteSize = int(count);
    return true;
}

bool ReadHeader(const uint8_t* data, size_t size, Header& h) {
    if (size < kFileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M') return false;
    h.dataOffset = LoadU32(data + 10);
    const uint8_t* info = data + kFileHeaderSize;
    const uint32_t infoSize = LoadU32(info);
    if (infoSize > size - kFileHeaderSize) return false;
    uint32_t used = 0;
    size_t paletteAt = kFileHeaderSize + infoSize;
    size_t entrySize = 4;
    if (infoSize == 12) {
        h.width = LoadU16(info + 4);
        h.height = LoadU16(info + 6);
        if (LoadU16(info + 8) != 1) return false;
        h.bpp = LoadU16(info + 10);
        entrySize = 3;
    } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 64 ||
               infoSize == 108 || infoSize == 124) {
        h.width = int32_t(LoadU32(info + 4));
        int64_t height = int32_t(LoadU32(info + 8));
        h.topDown = height < 0;
        h.height = height < 0 ? -height : height;
        if (LoadU16(info + 12) != 1) return false;
        h.bpp = LoadU16(info + 14);
        h.compression = infoSize == 64 ? kRgb : LoadU32(info + 16);
        if (infoSize == 64 && LoadU32(info + 16) != kRgb) return false;
        used = LoadU32(info + 32);
        if (h.compression == kBitfields || h.compression == kAlphaBitfields) {
            size_t masksAt = kFileHeaderSize + 40;
            size_t maskBytes = h.compression == kAlphaBitfields ? 16 : 12;
            if (masksAt + 12 > size) return false;
            h.red = Channel::From(LoadU32(data + masksAt));
            h.green = Channel::From(LoadU32(data + masksAt + 4));
            h.blue = Channel::From(LoadU32(data + masksAt + 8));
            if (infoSize == 40) paletteAt += maskBytes;
        }
    } else {
        return false;
    }
    if (h.width <= 0 || h.height <= 0 || h.width > kLargestSide || h.height > kLargestSide)
        return false;

    switch (h.compression) {
    case kRgb:
        if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32)
            return false;
        if (h.bpp == 16) {
            h.red = Channel::From(0x7C00);
            h.green = Channel::From(0x03E0);
            h.blue = Channel::From(0x001F);
        } else if (h.bpp == 32) {
            h.red = Channel::From(0x00FF0000);
            h.green = Channel::From(0x0000FF00);
            h.blue = Channel::From(0x000000FF);
        }
        break;
    case kRle8:
        if (h.bpp != 8 || h.topDown) return false;
        break;
    case kRle4:
        if (h.bpp != 4 || h.topDown) return false;
        break;
    case kBitfields:
    case kAlphaBitfields:
        if (h.bpp != 16 && h.bpp != 32) return false;
        break;
    default: return false;  // embedded JPEG or PNG, or unknown
    }
    if (!ReadPalette(data, size, paletteAt, entrySize, used, h)) return false;
    return h.dataOffset <= size;
}

Rgb PaletteColour(const Header& h, unsigned index) {
    return int(index) < h.paletteSize ? h.palette[index] : Rgb{};
}

void PutPixel(uint8_t* row, int64_t x, Rgb c) {
    row[3 * x] = c.b;
    row[3 * x + 1] = c.g;
    row[3 * x + 2] = c.r;
}

bool DecodeRows(const uint8_t* data, size_t size, const Header& h, TBitmap& picture) {
    const int64_t stride = ((h.width * h.bpp + 31) / 32) * 4;
    if (uint64_t(stride) * uint64_t(h.height) > size - h.dataOffset) return false;
    if (!picture.Create(int(h.width), int(h.height))) return false;
    for (int64_t r = 0; r < h.height; ++r) {
        const uint8_t* src = data + h.dataOffset + r * stride;
        uint8_t* row = picture.ScanLine(int(h.topDown ? r : h.height - 1 - r));
        switch (h.bpp) {
        case 1:
            for (int64_t x = 0; x < h.width; ++x)
                PutPixel(row, x, PaletteColour(h, (src[x >> 3] >> (7 - (x & 7))) & 1));
            break;
        case 4:
            for (int64_t x = 0; x < h.width; ++x)
                PutPixel(row, x, PaletteColour(h, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15));
            break;
        case 8:
            for (int64_t x = 0; x < h.width; ++x)
                PutPixel(row, x, PaletteColour(h, src[x]));
            break;
        case 24: std::memcpy(row, src, size_t(h.width) * 3); break;
        case 16:
            for (int64_t x = 0; x < h.width; ++x) {
                uint32_t p = LoadU16(src + 2 * x);
                PutPixel(row, x, Rgb{h.blue.Of(p), h.green.Of(p), h.red.Of(p)});
            }
            break;
        case 32:
            for (int64_t x = 0; x < h.width; ++x) {
                uint32_t p = LoadU32(src + 4 * x);
                PutPixel(row, x, Rgb{h.blue.Of(p), h.green.Of(p), h.red.Of(p)});
            }
            break;
        }
    }
    return true;
}

// RLE8 and RLE4: runs of (count, value) pairs; a zero count starts an
// escape: 0 end of line, 1 end of picture, 2 a (dx, dy) move, n >= 3 an
// absolute run of n pixels padded to a 16-bit boundary. Rows run bottom-up.
// Pixels the stream does not reach stay black; pixels outside are dropped.
bool DecodeRle(const uint8_t* data, size_t size, const Header& h, TBitmap& picture) {
    const size_t streamLength = size - h.dataOffset;
    const uint64_t pixels = uint64_t(h.width) * uint64_t(h.height);
    if (pixels > std::max<uint64_t>(kRleFreePixels, streamLength * kRlePixelsPerByte)) return false;
    if (!picture.Create(int(h.width), int(h.height), 24, 0)) return false;
    const uint8_t* p = data + h.dataOffset;
    const uint8_t* end = data + size;
    const bool four = h.compression == kRle4;
    int64_t x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](unsigned index) {
        if (x < h.width && y < h.height)
            PutPixel(picture.ScanLine(int(h.height - 1 - y)), x, PaletteColour(h, index));
        ++x;
    };
    while (end - p >= 2 && y < h.height) {
        unsigned count = p[0], value = p[1];
        p += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                put(four ? ((i & 1) ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (end - p < 2) break;
            x += p[0];
            y += p[1];
            p += 2;
        } else {
            size_t bytes = four ? (value + 1) / 2 : value;
            size_t padded = (bytes + 1) & ~size_t(1);
            if (size_t(end - p) < bytes) break;
            for (unsigned i = 0; i < value; ++i)
                put(four ? ((i & 1) ? p[i / 2] & 15 : p[i / 2] >> 4) : p[i]);
            p += std::min(padded, size_t(end - p));
        }
    }
    return true;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, TBitmap& picture) {
    picture.Reset();
    Header h;
    if (data == nullptr || !ReadHeader(data, size, h)) return false;
    bool ok = (h.compression == kRle8 || h.compression == kRle4)
                  ? DecodeRle(data, size, h, picture)
                  : DecodeRows(data, size, h, picture);
    if (!ok) picture.Reset();
    return ok;
}

}  // namespace quil
