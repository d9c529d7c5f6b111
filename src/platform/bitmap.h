#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/big_block.h"
#include "platform/geometry.h"
#include "platform/memory_budget.h"

namespace quil {

// A device-independent picture: 24 bits per pixel (blue, green, red) or
// 8 bits per pixel (a grey index, entry i = (i, i, i)). Rows are stored
// bottom-up and padded to a multiple of 4 bytes, so the first row in memory
// is the bottom row of the picture; ScanLine gives top-down access.
//
// Pictures are move-only values. An empty picture (0 x 0) owns nothing.
class TBitmap {
public:
    TBitmap() = default;
    TBitmap(TBitmap&& other) noexcept;
    TBitmap& operator=(TBitmap&& other) noexcept;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    ~TBitmap() = default;

    // Allocates a width x height picture with every byte set to `fill`
    // (0xFF: white). Width and height must be at least 1 and bitsPerPixel 24
    // or 8. Returns false, leaving the picture empty, when the size is out of
    // range or the memory cannot be had (see FitsInMemory). A picture filled
    // with 0 is not written at all: its memory comes zeroed.
    bool Create(int width, int height, int bitsPerPixel = 24, uint8_t fill = 0xFF);
    void Reset();
    TBitmap Clone() const;

    bool Empty() const { return bits_ == nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    TSize Size() const { return {width_, height_}; }
    int BitsPerPixel() const { return bpp_; }
    int BytesPerPixel() const { return bpp_ / 8; }
    int Stride() const { return stride_; }
    size_t ByteSize() const { return size_t(stride_) * size_t(height_); }

    // First byte in memory: the leftmost pixel of the bottom row.
    uint8_t* Bits() { return bits_.get(); }
    const uint8_t* Bits() const { return bits_.get(); }

    // Row y counted from the top (0 <= y < Height()).
    uint8_t* ScanLine(int y) { return bits_.get() + size_t(height_ - 1 - y) * size_t(stride_); }
    const uint8_t* ScanLine(int y) const {
        return bits_.get() + size_t(height_ - 1 - y) * size_t(stride_);
    }

    void Fill(uint8_t value);

private:
    TBigBlock bits_;
    int width_ = 0;
    int height_ = 0;
    int bpp_ = 24;
    int stride_ = 0;
};

// Bytes per row of a bottom-up picture: width * bpp / 8 rounded up to 4.
// Returns -1 when the row would not fit an int.
int64_t RowStride(int64_t width, int bitsPerPixel);

// `bytes` and the bytes of a 24-bit picture of width x height together, for
// a check of memory before anything is made; UINT64_MAX when `bytes` is, or
// when the picture's rows are too long for a picture.
uint64_t PlusPictureBytes(uint64_t bytes, int width, int height);

}  // namespace quil
