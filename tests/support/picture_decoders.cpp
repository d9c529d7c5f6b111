#include "picture_decoders.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>

namespace quil::testing {

namespace {

uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

struct TJpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<TJpegErrors*>(cinfo->err)->jump, 1);
}

// libjpeg sequence in one frame with no C++ owners; `out` must hold
// width * height * 3 bytes once the header is known, so it is sized by the
// caller after a first header pass.
bool DecompressJpeg(const std::vector<uint8_t>& file, int* width, int* height, uint8_t* out,
                    size_t outSize) {
    jpeg_decompress_struct cinfo;
    TJpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpOnError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), (unsigned long)file.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    *width = int(cinfo.image_width);
    *height = int(cinfo.image_height);
    if (!out || size_t(*width) * size_t(*height) * 3 > outSize) {
        jpeg_destroy_decompress(&cinfo);
        return out == nullptr;
    }
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out + size_t(cinfo.output_scanline) * size_t(*width) * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

TPngHeader ReadPngHeader(const std::vector<uint8_t>& file) {
    TPngHeader h;
    static const uint8_t kSignature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};
    if (file.size() < 33 || !std::equal(kSignature, kSignature + 8, file.begin())) return h;
    if (BigEndian32(&file[8]) != 13 || std::string(file.begin() + 12, file.begin() + 16) != "IHDR")
        return h;
    h.valid = true;
    h.width = BigEndian32(&file[16]);
    h.height = BigEndian32(&file[20]);
    h.bitDepth = file[24];
    h.colorType = file[25];
    h.interlace = file[28];
    return h;
}

bool DecodePng(const std::vector<uint8_t>& file, TRgbaPicture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return false;
    image.format = PNG_FORMAT_RGBA;
    picture.width = int(image.width);
    picture.height = int(image.height);
    picture.pixels.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    return true;
}

bool DecodeJpeg(const std::vector<uint8_t>& file, TRgbaPicture& picture) {
    int width = 0, height = 0;
    if (!DecompressJpeg(file, &width, &height, nullptr, 0) || width <= 0 || height <= 0)
        return false;
    std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
    if (!DecompressJpeg(file, &width, &height, rgb.data(), rgb.size())) return false;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(size_t(width) * size_t(height) * 4);
    for (size_t i = 0, n = size_t(width) * size_t(height); i < n; ++i) {
        picture.pixels[4 * i + 0] = rgb[3 * i + 0];
        picture.pixels[4 * i + 1] = rgb[3 * i + 1];
        picture.pixels[4 * i + 2] = rgb[3 * i + 2];
        picture.pixels[4 * i + 3] = 255;
    }
    return true;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

TBitmap MakePatternPicture(int width, int height) {
    TBitmap picture;
    picture.Create(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* p = picture.ScanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = uint8_t(x * 7);      // blue
            p[1] = uint8_t(y * 5);      // green
            p[2] = uint8_t(x + y * 3);  // red
        }
    }
    return picture;
}

TRgbaPicture ReadPng(const std::filesystem::path& path) {
    TRgbaPicture picture;
    EXPECT_TRUE(DecodePng(ReadWholeFile(path.string()), picture)) << path;
    return picture;
}

bool SamePixels(const TRgbaPicture& a, const TRgbaPicture& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

}  // namespace quil::testing
