#include "platform/bitmap.h"

#include <cstring>
#include <utility>

namespace quil {

TBitmap::TBitmap(TBitmap&& other) noexcept { *this = std::move(other); }

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
    if (this != &other) {
        bits_ = std::move(other.bits_);
        width_ = other.width_;
        height_ = other.height_;
        bpp_ = other.bpp_;
        stride_ = other.stride_;
        other.width_ = other.height_ = other.stride_ = 0;
    }
    return *this;
}

int64_t RowStride(int64_t width, int bitsPerPixel) {
    if (width < 0) return -1;
    const int64_t bytes = (width * bitsPerPixel / 8 + 3) & ~int64_t(3);
    return bytes > INT32_MAX ? -1 : bytes;
}

uint64_t PlusPictureBytes(uint64_t bytes, int width, int height) {
    const int64_t row = RowStride(width, 24);
    if (bytes == UINT64_MAX || row < 0 || height < 0) return UINT64_MAX;
    const uint64_t picture = uint64_t(row) * uint64_t(height);
    return bytes > UINT64_MAX - picture ? UINT64_MAX : bytes + picture;
}

bool TBitmap::Create(int width, int height, int bitsPerPixel, uint8_t fill) {
    Reset();
    if (width < 1 || height < 1 || (bitsPerPixel != 24 && bitsPerPixel != 8)) return false;
    const int64_t stride = RowStride(width, bitsPerPixel);
    if (stride < 0) return false;
    const uint64_t size = uint64_t(stride) * uint64_t(height);
    TBigBlock bits = AllocateBigBlock(size_t(size));
    if (!bits) return false;
    if (fill != 0) std::memset(bits.get(), fill, size);
    bits_ = std::move(bits);
    width_ = width;
    height_ = height;
    bpp_ = bitsPerPixel;
    stride_ = int(stride);
    return true;
}

void TBitmap::Reset() {
    bits_.reset();
    width_ = height_ = stride_ = 0;
    bpp_ = 24;
}

TBitmap TBitmap::Clone() const {
    TBitmap copy;
    if (!Empty() && copy.Create(width_, height_, bpp_, 0))
        std::memcpy(copy.bits_.get(), bits_.get(), ByteSize());
    return copy;
}

void TBitmap::Fill(uint8_t value) {
    if (bits_) std::memset(bits_.get(), value, ByteSize());
}

}  // namespace quil
