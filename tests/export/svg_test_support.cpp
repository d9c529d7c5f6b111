#include "svg_test_support.h"

namespace quil::testing {

std::vector<uint8_t> DecodeBase64(const std::string& text) {
    std::vector<uint8_t> out;
    uint32_t acc = 0;
    int bits = 0;
    for (char ch : text) {
        int v;
        if (ch >= 'A' && ch <= 'Z')
            v = ch - 'A';
        else if (ch >= 'a' && ch <= 'z')
            v = ch - 'a' + 26;
        else if (ch >= '0' && ch <= '9')
            v = ch - '0' + 52;
        else if (ch == '+')
            v = 62;
        else if (ch == '/')
            v = 63;
        else
            continue;  // line ends and padding
        acc = acc << 6 | uint32_t(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(uint8_t(acc >> bits));
        }
    }
    return out;
}

std::string EmbeddedPngText(const std::string& svg, int n) {
    const std::string marker = "data:image/png;base64,";
    size_t at = 0;
    for (int i = 0; i <= n; ++i) {
        at = svg.find(marker, at);
        if (at == std::string::npos) return {};
        at += marker.size();
    }
    return svg.substr(at, svg.find('"', at) - at);
}

bool OnlyCrLfLineEnds(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    return true;
}

}  // namespace quil::testing
