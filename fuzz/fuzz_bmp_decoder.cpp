// Any bytes as a BMP file image.

#include <cstddef>
#include <cstdint>

#include "platform/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quil::TBitmap picture;
    if (quil::DecodeBmp(data, size, picture)) {
        // Touch the first and last rows: the picture must be whole.
        volatile uint8_t sink = picture.ScanLine(0)[0];
        sink = picture.ScanLine(picture.Height() - 1)[picture.Width() * 3 - 1];
        (void)sink;
    }
    return 0;
}
