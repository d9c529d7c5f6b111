#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quil::testing {

// Decodes base64 text, skipping CR and LF; an independent reading of what
// the SVG writer embeds.
std::vector<uint8_t> DecodeBase64(const std::string& text);

// The base64 payload of the n-th "data:image/png;base64," in an SVG text.
std::string EmbeddedPngText(const std::string& svg, int n = 0);

// True when every LF in the text is preceded by CR.
bool OnlyCrLfLineEnds(const std::string& text);

}  // namespace quil::testing
