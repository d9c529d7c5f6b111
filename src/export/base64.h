#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quil {

// Standard base64 with "=" padding, broken into lines the way the SVG
// writer embeds pictures: a line feed after every 19th full 3-byte group
// (76 characters), also after the last one; a final group of one or two
// bytes is padded and never followed by a line feed. Empty input gives "".
std::string EncodeBase64(const uint8_t* bytes, size_t length);

}  // namespace quil
