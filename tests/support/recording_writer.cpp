#include "recording_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>

namespace quil::fixture {

namespace {

// The 32-byte key that scrambles packed streams.
const uint8_t kKey[32] = {0x5a, 0x17, 0xc3, 0x08, 0x9e, 0x41, 0xb2, 0x6d, 0xf0, 0x2c, 0x83,
                          0x55, 0x1e, 0xa9, 0x64, 0xd7, 0x3b, 0x90, 0xc8, 0x02, 0x7f, 0xe5,
                          0x46, 0xb1, 0x0d, 0x98, 0x6a, 0x23, 0xf4, 0x5c, 0x81, 0xee};

const uint8_t kSignature[12] = {0x11, 0x22, 0x33, 0x12, 0x34, 0x56,
                                0xAA, 0xBB, 0xCC, 0xAB, 0xCD, 0xEF};

void PutU16(Bytes& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void PutAnsi(Bytes& out, const std::string& text) {
    for (size_t i = 0; i < 256; ++i)
        out.push_back(i < text.size() ? uint8_t(text[i]) : 0);
}

void PutUtf16(Bytes& out, const std::u16string& text) {
    for (size_t i = 0; i < 256; ++i)
        PutU16(out, i < text.size() ? uint16_t(text[i]) : 0);
}

}  // namespace

void PutU32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}
void PutI32(Bytes& out, int32_t v) { PutU32(out, uint32_t(v)); }
void PutF32(Bytes& out, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    PutU32(out, bits);
}

TRecordingWriter::TRecordingWriter(const Header& header) : header_(header) {}

bool TRecordingWriter::IntegerPoints() const {
    return header_.generation == Generation::Qui3 && header_.minor >= 7;
}
bool TRecordingWriter::Tagged() const {
    return header_.generation == Generation::Qui3 && header_.minor == 8;
}

void TRecordingWriter::Head(int32_t kind, uint32_t color, uint32_t tag) {
    PutI32(records_, kind);
    PutU32(records_, color);
    if (Tagged()) PutU32(records_, tag);
}

void TRecordingWriter::PointBytes(const Point& p, bool floatForm) {
    if (floatForm) {
        PutF32(records_, float(p.x));
        PutF32(records_, float(p.y));
        PutF32(records_, float(p.radius));
        PutU32(records_, 0xDEADBEEF);  // the fourth word is ignored by readers
        return;
    }
    const double s = header_.pointScale;
    PutI32(records_, int32_t(std::llround(p.x * s)));
    PutI32(records_, int32_t(std::llround(p.y * s)));
    PutI32(records_, int32_t(std::llround(p.radius * s)));
}

void TRecordingWriter::Stroke(const std::vector<Point>& points, const StrokeOptions& o) {
    Head(o.kind, o.color, o.tag);
    if (o.kind == 7) PutU32(records_, o.aux);
    PutI32(records_, o.count ? *o.count : int32_t(points.size()));
    if (o.kind == 7) {
        PutU32(records_, o.eraser);
        PutU32(records_, o.opacity);
    }
    const bool subdivided = header_.generation != Generation::Quil && header_.subdivision >= 2;
    for (size_t i = 0; i < points.size(); ++i)
        PointBytes(points[i], !IntegerPoints() || (i == 0 && subdivided));
}

void TRecordingWriter::Stamp(float x, float y, float width, float height, const Bytes& bmp,
                             uint32_t color, uint32_t tag) {
    Head(4, color, tag);
    PutF32(records_, x);
    PutF32(records_, y);
    PutF32(records_, width);
    PutF32(records_, height);
    PutU32(records_, uint32_t(bmp.size()));
    records_.insert(records_.end(), bmp.begin(), bmp.end());
}

void TRecordingWriter::Background(int32_t mode, int32_t placement, const Bytes& bmp) {
    Head(5, 0, 0);
    PutI32(records_, mode);
    PutI32(records_, placement);
    PutU32(records_, uint32_t(bmp.size()));
    records_.insert(records_.end(), bmp.begin(), bmp.end());
}

void TRecordingWriter::Record(int32_t kind, uint32_t color, uint32_t tag, const Bytes& extra) {
    Head(kind, color, tag);
    records_.insert(records_.end(), extra.begin(), extra.end());
}

void TRecordingWriter::Raw(const Bytes& bytes) {
    records_.insert(records_.end(), bytes.begin(), bytes.end());
}

Bytes TRecordingWriter::Body() const {
    const Header& h = header_;
    const char* magic = h.generation == Generation::Quil   ? "Quil"
                        : h.generation == Generation::Qui2 ? "Qui2"
                                                           : "Qui3";
    Bytes out(magic, magic + 4);
    out.reserve(1100 + records_.size());
    if (h.generation == Generation::Qui3) PutU32(out, uint32_t(h.major) << 16 | h.minor);
    const size_t sizeAt = out.size();
    PutU32(out, 0);
    PutU32(out, 0x12345678);  // an ignored word
    PutI32(out, h.pageWidth);
    PutI32(out, h.pageHeight);
    if (h.generation != Generation::Quil) {
        const bool utf16 = h.generation == Generation::Qui3 && h.minor >= 4;
        if (utf16) {
            PutUtf16(out, h.title);
            PutUtf16(out, h.extraText);
        } else {
            PutAnsi(out, h.ansiTitle);
            PutAnsi(out, h.ansiExtraText);
        }
        PutI32(out, h.reservedWord);
        PutI32(out, h.subdivision);
        PutU32(out, h.gridCellSize);
        if (h.generation == Generation::Qui3) {
            PutU32(out, h.gridOrigin);
            PutU32(out, h.gridCells);
            if (h.minor >= 6) PutU32(out, h.gridSubdivisions);
            if (h.minor >= 7) PutI32(out, h.pointScale);
            if (h.minor >= 8) PutU32(out, h.extraWord);
        }
    }
    out.insert(out.end(), records_.begin(), records_.end());
    uint32_t size = h.bodySize ? *h.bodySize : uint32_t(out.size());
    for (int i = 0; i < 4; ++i)
        out[sizeAt + i] = uint8_t(size >> (8 * i));
    return out;
}

Picture SolidPicture(int width, int height, uint32_t color) {
    return Picture{width, height, std::vector<uint32_t>(size_t(width) * height, color)};
}

Picture PatternPicture(int width, int height, int colours) {
    Picture p{width, height, std::vector<uint32_t>(size_t(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t c = uint32_t((x * 37 + y * 91) & 0xFF) | uint32_t((x * 13) & 0xFF) << 8 |
                         uint32_t((y * 29 + 7) & 0xFF) << 16;
            if (colours > 0) {
                static const uint32_t kColours[16] = {
                    0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00,
                    0x808080, 0x000080, 0x008000, 0x800000, 0x008080, 0x800080, 0x808000, 0xC0C0C0};
                // Runs of equal colours along a row, so RLE has both modes to use.
                c = kColours[((x / 3 + y) ^ (x > width / 2 ? x : 0)) % colours];
            }
            p.pixels[size_t(y) * width + x] = c;
        }
    return p;
}

namespace {

uint8_t Red(uint32_t c) { return uint8_t(c); }
uint8_t Green(uint32_t c) { return uint8_t(c >> 8); }
uint8_t Blue(uint32_t c) { return uint8_t(c >> 16); }

int Shift(uint32_t mask) {
    int s = 0;
    while (mask && !((mask >> s) & 1))
        ++s;
    return s;
}
int Bits(uint32_t mask) {
    int n = 0;
    for (uint32_t m = mask >> Shift(mask); m & 1; m >>= 1)
        ++n;
    return n;
}
uint32_t Pack(uint8_t value, uint32_t mask) {
    int bits = Bits(mask);
    if (bits == 0) return 0;
    uint32_t v = bits >= 8 ? uint32_t(value) << (bits - 8) : uint32_t(value) >> (8 - bits);
    return (v << Shift(mask)) & mask;
}

// Runs of one row of palette indices: encoded runs for repeats, absolute
// runs for three or more differing pixels.
void RleRow(Bytes& out, const std::vector<uint8_t>& row, bool four) {
    size_t x = 0;
    const size_t n = row.size();
    while (x < n) {
        size_t run = 1;
        if (four) {
            // Pairs alternate two indices; count how far the pattern holds.
            while (x + run < n && run < 255 && row[x + run] == row[x + (run & 1)])
                ++run;
        } else {
            while (x + run < n && run < 255 && row[x + run] == row[x])
                ++run;
        }
        if (run >= 2 || n - x < 3) {
            out.push_back(uint8_t(run));
            out.push_back(four ? uint8_t(row[x] << 4 | (run > 1 ? row[x + 1] : 0)) : row[x]);
            x += run;
            continue;
        }
        size_t count = 0;  // absolute run: up to the next repeat
        while (x + count < n && count < 255 &&
               !(x + count + 1 < n && row[x + count + 1] == row[x + count]))
            ++count;
        if (count < 3) count = std::min<size_t>(3, n - x);
        out.push_back(0);
        out.push_back(uint8_t(count));
        size_t bytes = four ? (count + 1) / 2 : count;
        for (size_t i = 0; i < bytes; ++i) {
            if (four) {
                uint8_t hi = row[x + 2 * i];
                uint8_t lo = 2 * i + 1 < count ? row[x + 2 * i + 1] : 0;
                out.push_back(uint8_t(hi << 4 | lo));
            } else {
                out.push_back(row[x + i]);
            }
        }
        if (bytes & 1) out.push_back(0);
        x += count;
    }
    out.push_back(0);
    out.push_back(0);  // end of line
}

}  // namespace

Bytes EncodeBmp(const Picture& pic, const BmpOptions& o) {
    const int bpp = o.bitsPerPixel;
    const bool core = o.headerSize == 12;
    std::vector<uint32_t> palette;
    std::map<uint32_t, uint8_t> paletteIndex;
    if (bpp <= 8) {
        for (uint32_t c : pic.pixels)
            if (paletteIndex.emplace(c, uint8_t(palette.size())).second) palette.push_back(c);
        palette.resize(size_t(1) << bpp, 0);
    }
    uint32_t redMask = o.redMask, greenMask = o.greenMask, blueMask = o.blueMask;
    const bool fields = o.compression == BmpCompression::Bitfields;
    if (bpp == 16 && !fields) redMask = 0x7C00, greenMask = 0x03E0, blueMask = 0x001F;
    if (bpp == 16 && fields && !redMask) redMask = 0xF800, greenMask = 0x07E0, blueMask = 0x001F;
    if (bpp == 32 && (!fields || !redMask))
        redMask = 0x00FF0000, greenMask = 0x0000FF00, blueMask = 0x000000FF;

    Bytes pixels;
    const size_t stride = ((size_t(pic.width) * bpp + 31) / 32) * 4;
    auto index = [&](int x, int y) { return paletteIndex[pic.At(x, y)]; };
    if (o.compression == BmpCompression::Rle8 || o.compression == BmpCompression::Rle4) {
        for (int r = 0; r < pic.height; ++r) {
            int y = pic.height - 1 - r;
            std::vector<uint8_t> row(size_t(pic.width));
            for (int x = 0; x < pic.width; ++x)
                row[size_t(x)] = index(x, y);
            RleRow(pixels, row, o.compression == BmpCompression::Rle4);
        }
        pixels.push_back(0);
        pixels.push_back(1);  // end of picture
    } else {
        for (int r = 0; r < pic.height; ++r) {
            int y = o.topDown ? r : pic.height - 1 - r;
            Bytes row(stride, 0);
            for (int x = 0; x < pic.width; ++x) {
                uint32_t c = pic.At(x, y);
                switch (bpp) {
                case 1: row[size_t(x) / 8] |= uint8_t((index(x, y) & 1) << (7 - x % 8)); break;
                case 4: row[size_t(x) / 2] |= uint8_t((index(x, y) & 15) << (x % 2 ? 0 : 4)); break;
                case 8: row[size_t(x)] = index(x, y); break;
                case 24:
                    row[3 * size_t(x)] = Blue(c);
                    row[3 * size_t(x) + 1] = Green(c);
                    row[3 * size_t(x) + 2] = Red(c);
                    break;
                case 16: {
                    uint32_t v =
                        Pack(Red(c), redMask) | Pack(Green(c), greenMask) | Pack(Blue(c), blueMask);
                    row[2 * size_t(x)] = uint8_t(v);
                    row[2 * size_t(x) + 1] = uint8_t(v >> 8);
                    break;
                }
                case 32: {
                    uint32_t v =
                        Pack(Red(c), redMask) | Pack(Green(c), greenMask) | Pack(Blue(c), blueMask);
                    for (int i = 0; i < 4; ++i)
                        row[4 * size_t(x) + i] = uint8_t(v >> (8 * i));
                    break;
                }
                }
            }
            pixels.insert(pixels.end(), row.begin(), row.end());
        }
    }

    Bytes info;
    PutU32(info, uint32_t(o.headerSize));
    if (core) {
        PutU16(info, uint16_t(pic.width));
        PutU16(info, uint16_t(pic.height));
        PutU16(info, 1);
        PutU16(info, uint16_t(bpp));
    } else {
        PutI32(info, pic.width);
        PutI32(info, o.topDown ? -pic.height : pic.height);
        PutU16(info, 1);
        PutU16(info, uint16_t(bpp));
        PutU32(info, uint32_t(o.compression));
        PutU32(info, uint32_t(pixels.size()));
        PutI32(info, 2835);
        PutI32(info, 2835);
        PutU32(info, uint32_t(palette.size()));
        PutU32(info, 0);
        if (o.headerSize >= 108) {
            PutU32(info, redMask);
            PutU32(info, greenMask);
            PutU32(info, blueMask);
            PutU32(info, 0);           // alpha mask
            PutU32(info, 0x73524742);  // colour space "sRGB"
            info.resize(size_t(o.headerSize), 0);
        }
        if (o.headerSize == 40 && fields) {
            PutU32(info, redMask);
            PutU32(info, greenMask);
            PutU32(info, blueMask);
        }
    }
    for (uint32_t c : palette) {
        info.push_back(Blue(c));
        info.push_back(Green(c));
        info.push_back(Red(c));
        if (!core) info.push_back(0);
    }
    Bytes out = {'B', 'M'};
    PutU32(out, uint32_t(14 + info.size() + pixels.size()));
    PutU32(out, 0);
    PutU32(out, uint32_t(14 + info.size()));
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

Bytes LeadingBlock(const Bytes& content, const Bytes& rest) {
    Bytes out = {'q', 'U', 'I', 'C'};
    PutU32(out, uint32_t(content.size()));
    out.insert(out.end(), content.begin(), content.end());
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

Bytes Scramble(const Bytes& stream) {
    Bytes out(stream);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] ^= kKey[i % 32];
    return out;
}

Bytes Packed(const Bytes& body, std::optional<uint32_t> declaredLength, bool scramble) {
    uLongf length = compressBound(uLong(body.size()));
    Bytes stream(length);
    if (compress2(stream.data(), &length, body.data(), uLong(body.size()), 9) != Z_OK) return {};
    stream.resize(length);
    Bytes out = {'q', 'U', 'I', 'D'};
    PutU32(out, declaredLength ? *declaredLength : uint32_t(body.size()));
    Bytes tail = scramble ? Scramble(stream) : stream;
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

Bytes Trailer(uint32_t offset, uint32_t size) {
    Bytes out(kSignature, kSignature + 12);
    PutU32(out, offset);
    PutU32(out, size);
    return out;
}

Bytes Appended(const Bytes& program, const Bytes& region) {
    Bytes out = Concat(program, region);
    Bytes trailer = Trailer(uint32_t(program.size()), uint32_t(region.size()));
    out.insert(out.end(), trailer.begin(), trailer.end());
    return out;
}

Bytes Concat(const Bytes& a, const Bytes& b) {
    Bytes out(a);
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

bool WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file.flush());
}

}  // namespace quil::fixture
