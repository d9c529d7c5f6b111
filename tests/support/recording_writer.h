#pragma once

// A writer of recordings for tests, fixtures and the demo. It knows the
// stored forms on its own and shares no code with the loader it is used to
// check: bodies of every generation ("Quil", "Qui2", "Qui3" minor 0 to 8),
// records of every kind, BMP pictures of every layout the decoder reads,
// leading blocks, packed blocks and appended recordings.
//
//   quil::fixture::TRecordingWriter w({.generation = Generation::Qui3, .minor = 8});
//   w.Stroke({{1, 1, 2}, {3, 1, 2}, {5, 1, 0}}, {.color = 0x0000FF});
//   w.Stamp(10, 10, 5, 5, quil::fixture::EncodeBmp(quil::fixture::SolidPicture(4, 4, 0xFF)));
//   std::vector<uint8_t> body = w.Body();
//   quil::fixture::WriteFile(path, quil::fixture::Packed(body));

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quil::fixture {

using Bytes = std::vector<uint8_t>;

enum class Generation { Quil, Qui2, Qui3 };

// Everything a body header can say. Texts: for ANSI headers (Qui2, Qui3
// minor < 4) `ansiTitle` bytes are written as they are; for UTF-16 headers
// `title` units. Both are NUL-padded to 256.
struct Header {
    Generation generation = Generation::Qui3;
    uint16_t major = 1;
    uint16_t minor = 8;
    int32_t pageWidth = 1022;
    int32_t pageHeight = 718;
    std::string ansiTitle, ansiExtraText;
    std::u16string title, extraText;
    int32_t reservedWord = -1;
    int32_t subdivision = 1;
    uint32_t gridCellSize = 0, gridOrigin = 0, gridCells = 0, gridSubdivisions = 0;
    int32_t pointScale = 1;            // minor 7 and 8
    uint32_t extraWord = 0;            // minor 8
    std::optional<uint32_t> bodySize;  // written instead of the true size
};

struct Point {
    double x = 0, y = 0, radius = 0;
};

struct StrokeOptions {
    int32_t kind = 7;  // 0 or 7
    uint32_t color = 0;
    uint32_t aux = 0;                             // kind 7
    uint32_t eraser = 0;                          // kind 7
    uint32_t opacity = 255;                       // kind 7
    uint32_t tag = 0;                             // minor 8
    std::optional<int32_t> count = std::nullopt;  // written instead of the number of points
};

class TRecordingWriter {
public:
    explicit TRecordingWriter(const Header& header);

    // A stroke record. Points are written in the version's form; integer
    // forms store round(value * pointScale). With a subdivision count of 2
    // or more the first point is always in the 16-byte float form.
    void Stroke(const std::vector<Point>& points, const StrokeOptions& options = {});
    void Stamp(float x, float y, float width, float height, const Bytes& bmp, uint32_t color = 255,
               uint32_t tag = 0);
    void Background(int32_t mode, int32_t placement, const Bytes& bmp);
    // A record head alone (any kind), then `extra` bytes.
    void Record(int32_t kind, uint32_t color, uint32_t tag = 0, const Bytes& extra = {});
    // Bytes appended as they are (to cut records short or leave leftovers).
    void Raw(const Bytes& bytes);

    // The complete body with its bodySize word.
    Bytes Body() const;
    const Header& header() const { return header_; }

private:
    bool IntegerPoints() const;
    bool Tagged() const;
    void Head(int32_t kind, uint32_t color, uint32_t tag);
    void PointBytes(const Point& p, bool floatForm);

    Header header_;
    Bytes records_;
};

// Little-endian helpers.
void PutU32(Bytes& out, uint32_t value);
void PutI32(Bytes& out, int32_t value);
void PutF32(Bytes& out, float value);

// A picture given top-down, one 0x00BBGGRR colour per pixel.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};
Picture SolidPicture(int width, int height, uint32_t color);
// A picture with a different colour in every pixel of a small pattern.
Picture PatternPicture(int width, int height, int colours = 0);

enum class BmpCompression { Rgb = 0, Rle8 = 1, Rle4 = 2, Bitfields = 3 };

struct BmpOptions {
    int bitsPerPixel = 24;  // 1, 4, 8 (palette: the picture's colours), 16, 24, 32
    int headerSize = 40;    // 12, 40, 108 or 124
    bool topDown = false;
    BmpCompression compression = BmpCompression::Rgb;
    // BI_BITFIELDS masks (16-bit: 5-6-5 by default).
    uint32_t redMask = 0, greenMask = 0, blueMask = 0;
};

// Encodes a BMP file image. Palette pictures need at most 2^bpp colours;
// 16-bit pictures keep the top bits of each channel.
Bytes EncodeBmp(const Picture& picture, const BmpOptions& options = {});

// The 20-byte recording forms around a body.
Bytes LeadingBlock(const Bytes& content, const Bytes& rest);
// A "qUID" block: the body deflated (zlib format), scrambled with the fixed
// key. `declaredLength` replaces the true unpacked length when given.
Bytes Packed(const Bytes& body, std::optional<uint32_t> declaredLength = {}, bool scramble = true);
// A zlib stream XORed with the scramble key, as it follows a "qUID" head.
Bytes Scramble(const Bytes& stream);
// `program` then `region` then the trailer naming the region.
Bytes Appended(const Bytes& program, const Bytes& region);
// The 20-byte trailer alone, for any offset and size.
Bytes Trailer(uint32_t offset, uint32_t size);

Bytes Concat(const Bytes& a, const Bytes& b);
bool WriteFile(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace quil::fixture
