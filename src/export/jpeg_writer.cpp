#include "export/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace quil {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back into CompressPicture. Warnings are dropped rather than
// printed, since exports report nothing.
struct TJpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<TJpegErrors*>(cinfo->err)->jump, 1);
}

void DropMessage(j_common_ptr) {}

#ifdef JCS_EXTENSIONS
constexpr J_COLOR_SPACE kInputSpace = JCS_EXT_BGR;  // the picture's own byte order
#else
constexpr J_COLOR_SPACE kInputSpace = JCS_RGB;
#endif

// The whole libjpeg sequence. Nothing in this frame owns C++ resources, so
// the longjmp of a libjpeg error skips no destructor. `rgbRow` is caller
// memory of width * 3 bytes used only when libjpeg cannot take BGR input.
// On success *out holds a malloc'ed buffer of *outSize bytes.
bool CompressPicture(const TBitmap& picture, int quality, uint8_t* rgbRow, unsigned char** out,
                     unsigned long* outSize) {
    jpeg_compress_struct cinfo;
    TJpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpOnError;
    errors.manager.output_message = DropMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(*out);
        *out = nullptr;
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, outSize);
    cinfo.image_width = JDIMENSION(picture.Width());
    cinfo.image_height = JDIMENSION(picture.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = kInputSpace;
    jpeg_set_defaults(&cinfo);  // baseline, JFIF marker, default sampling
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint8_t* src = picture.ScanLine(int(cinfo.next_scanline));
        JSAMPROW row = const_cast<JSAMPROW>(src);
        if (kInputSpace == JCS_RGB) {
            for (int x = 0; x < picture.Width(); ++x) {
                rgbRow[3 * x + 0] = src[3 * x + 2];
                rgbRow[3 * x + 1] = src[3 * x + 1];
                rgbRow[3 * x + 2] = src[3 * x + 0];
            }
            row = rgbRow;
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TBitmap& picture, int quality) {
    if (picture.Empty() || picture.BitsPerPixel() != 24) return {};
    std::vector<uint8_t> rgbRow(kInputSpace == JCS_RGB ? size_t(picture.Width()) * 3 : 0);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (!CompressPicture(picture, quality, rgbRow.data(), &buffer, &size)) return {};
    std::vector<uint8_t> file;
    try {
        file.assign(buffer, buffer + size);
    } catch (...) {
        file.clear();
    }
    std::free(buffer);
    return file;
}

}  // namespace quil
