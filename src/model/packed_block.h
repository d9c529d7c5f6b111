#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/big_block.h"

namespace quil {

// The fixed 32-byte key that scrambles the zlib stream of a packed block:
// byte i of the stream is stored XORed with key[i % 32].
extern const uint8_t kScrambleKey[32];

// zlib-style statuses of UnpackBlock.
constexpr int kUnpackOk = 0;          // Z_OK
constexpr int kUnpackDataError = -3;  // Z_DATA_ERROR
constexpr int kUnpackMemError = -4;   // Z_MEM_ERROR
constexpr int kUnpackBufError = -5;   // Z_BUF_ERROR

// Reads the declared unpacked length of a "qUID" block. Returns kUnpackOk,
// or kUnpackBufError when the block is shorter than 8 bytes or is not
// tagged "qUID".
int PackedBlockLength(const uint8_t* block, size_t length, uint32_t* unpackedLength);

// An unpacked body: `size` bytes at the start of one big block.
struct TUnpackedBody {
    TBigBlock bytes;
    size_t size = 0;
};

// Unpacks a "qUID" block: unscrambles the stream with `key` (none: the
// stream is plain zlib) and inflates it into `output`, sized once for the
// declared length or for the most the stream can yield (1032 bytes for each
// of its bytes), whichever is less. The block is left unchanged. Returns
// kUnpackOk when the stream ends within the declared length (a shorter body
// is fine), kUnpackDataError for a corrupt stream, a preset dictionary, or
// more output than declared, kUnpackBufError for a truncated stream or a
// bad block head, kUnpackMemError when memory runs out.
int UnpackBlock(const uint8_t* block, size_t length, TUnpackedBody& output,
                const uint8_t* key = kScrambleKey);
// The same, the body copied into a vector.
int UnpackBlock(const uint8_t* block, size_t length, std::vector<uint8_t>& output,
                const uint8_t* key = kScrambleKey);

}  // namespace quil
