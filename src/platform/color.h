#pragma once

#include <cstdint>

namespace quil {

// A colour word laid out as 0x00BBGGRR: red in the low byte.
using COLORREF = uint32_t;

constexpr COLORREF MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
    return COLORREF(red) | (COLORREF(green) << 8) | (COLORREF(blue) << 16);
}
constexpr uint8_t RedOf(COLORREF c) { return uint8_t(c & 0xFF); }
constexpr uint8_t GreenOf(COLORREF c) { return uint8_t((c >> 8) & 0xFF); }
constexpr uint8_t BlueOf(COLORREF c) { return uint8_t((c >> 16) & 0xFF); }

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;

}  // namespace quil
