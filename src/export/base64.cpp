#include "export/base64.h"

namespace quil {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kGroupsPerLine = 19;

}  // namespace

std::string EncodeBase64(const uint8_t* bytes, size_t length) {
    const size_t fullGroups = length / 3;
    const size_t rest = length % 3;
    std::string text;
    text.reserve(fullGroups * 4 + fullGroups / kGroupsPerLine + (rest ? 4 : 0));

    const uint8_t* p = bytes;
    for (size_t g = 1; g <= fullGroups; ++g, p += 3) {
        const uint32_t v = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
        text += kAlphabet[(v >> 18) & 63];
        text += kAlphabet[(v >> 12) & 63];
        text += kAlphabet[(v >> 6) & 63];
        text += kAlphabet[v & 63];
        if (g % kGroupsPerLine == 0) text += '\n';
    }
    if (rest != 0) {
        const uint32_t v = (uint32_t(p[0]) << 16) | (rest == 2 ? uint32_t(p[1]) << 8 : 0);
        text += kAlphabet[(v >> 18) & 63];
        text += kAlphabet[(v >> 12) & 63];
        text += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        text += '=';
    }
    return text;
}

}  // namespace quil
