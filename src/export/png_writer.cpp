#include "export/png_writer.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include <png.h>

namespace quil {

namespace {

// The PNG data stream grows in a malloc'ed block, so that a libpng error
// (a longjmp) leaves nothing but this plain struct to clean up.
struct TPngSink {
    unsigned char* data;
    size_t size;
    size_t capacity;
    bool failed;
};

void AppendToSink(png_structp png, png_bytep bytes, png_size_t length) {
    TPngSink* sink = static_cast<TPngSink*>(png_get_io_ptr(png));
    if (length > sink->capacity - sink->size) {
        size_t capacity = sink->capacity ? sink->capacity : 64 * 1024;
        while (capacity - sink->size < length) {
            if (capacity > SIZE_MAX / 2) {
                sink->failed = true;
                png_error(png, "PNG data too large");
            }
            capacity *= 2;
        }
        void* grown = std::realloc(sink->data, capacity);
        if (!grown) {
            sink->failed = true;
            png_error(png, "out of memory");
        }
        sink->data = static_cast<unsigned char*>(grown);
        sink->capacity = capacity;
    }
    std::memcpy(sink->data + sink->size, bytes, length);
    sink->size += length;
}

void FlushSink(png_structp) {}

void DropWarning(png_structp, png_const_charp) {}

enum class TPngKind { Rgb, WhiteTransparent };

// One row of the picture in libpng's byte order: red, green, blue (and
// alpha for the stamp kind).
void ConvertRow(const TBitmap& picture, int y, TPngKind kind, uint8_t* out) {
    const uint8_t* src = picture.ScanLine(y);
    const int width = picture.Width();
    if (picture.BitsPerPixel() == 8) {
        for (int x = 0; x < width; ++x, out += kind == TPngKind::Rgb ? 3 : 4) {
            out[0] = out[1] = out[2] = src[x];
            if (kind == TPngKind::WhiteTransparent) out[3] = src[x] == 255 ? 0 : 255;
        }
        return;
    }
    if (kind == TPngKind::Rgb) {
        for (int x = 0; x < width; ++x, src += 3, out += 3) {
            out[0] = src[2];
            out[1] = src[1];
            out[2] = src[0];
        }
        return;
    }
    for (int x = 0; x < width; ++x, src += 3, out += 4) {
        out[0] = src[2];
        out[1] = src[1];
        out[2] = src[0];
        out[3] = (src[0] & src[1] & src[2]) == 255 ? 0 : 255;
    }
}

// The whole libpng sequence. Nothing in this frame owns C++ resources, so
// a libpng error's longjmp skips no destructor. `row` is caller memory of
// one converted row.
bool CompressPicture(const TBitmap& picture, TPngKind kind, uint8_t* row, TPngSink* sink) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, DropWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, sink, AppendToSink, FlushSink);
    png_set_IHDR(png, info, png_uint_32(picture.Width()), png_uint_32(picture.Height()), 8,
                 kind == TPngKind::Rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.Height(); ++y) {
        ConvertRow(picture, y, kind, row);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return !sink->failed;
}

std::vector<uint8_t> EncodePng(const TBitmap& picture, TPngKind kind) {
    if (picture.Empty() || (picture.BitsPerPixel() != 24 && picture.BitsPerPixel() != 8)) return {};
    std::vector<uint8_t> row(size_t(picture.Width()) * (kind == TPngKind::Rgb ? 3 : 4));
    TPngSink sink{nullptr, 0, 0, false};
    std::vector<uint8_t> file;
    if (CompressPicture(picture, kind, row.data(), &sink)) {
        try {
            file.assign(sink.data, sink.data + sink.size);
        } catch (...) {
            file.clear();
        }
    }
    std::free(sink.data);
    return file;
}

}  // namespace

std::vector<uint8_t> EncodePngRgb(const TBitmap& picture) {
    return EncodePng(picture, TPngKind::Rgb);
}

std::vector<uint8_t> EncodePngWhiteTransparent(const TBitmap& picture) {
    return EncodePng(picture, TPngKind::WhiteTransparent);
}

}  // namespace quil
