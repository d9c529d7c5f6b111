#include "model/packed_block.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/little_endian.h"

namespace quil {

const uint8_t kScrambleKey[32] = {
    0x5a, 0x17, 0xc3, 0x08, 0x9e, 0x41, 0xb2, 0x6d, 0xf0, 0x2c, 0x83, 0x55, 0x1e, 0xa9, 0x64, 0xd7,
    0x3b, 0x90, 0xc8, 0x02, 0x7f, 0xe5, 0x46, 0xb1, 0x0d, 0x98, 0x6a, 0x23, 0xf4, 0x5c, 0x81, 0xee,
};

namespace {

constexpr size_t kHeadSize = 8;
constexpr size_t kChunk = 64 * 1024;  // stream bytes unscrambled at a time

// Ends the inflate stream on every road out of UnpackBlock.
class InflateStream {
public:
    InflateStream() { std::memset(&stream_, 0, sizeof stream_); }
    ~InflateStream() {
        if (open_) inflateEnd(&stream_);
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    int Init() {
        int status = inflateInit2(&stream_, 15);  // zlib format, window up to 32 KiB
        open_ = status == Z_OK;
        return status;
    }
    z_stream* operator->() { return &stream_; }
    z_stream* get() { return &stream_; }

private:
    z_stream stream_;
    bool open_ = false;
};

// Deflate cannot expand data by more than 1032 to 1 (a length of 258 for
// two bits), so no stream yields more than 1032 times its own length.
constexpr uint64_t kLargestRatio = 1032;

// Sizes `output` once: for the declared length, or for what the stream can
// produce when that is less. False when memory cannot be had.
bool SizeOutput(TUnpackedBody& output, size_t declared, size_t streamLength) {
    const size_t size =
        size_t(std::min<uint64_t>(declared, uint64_t(streamLength) * kLargestRatio));
    output.bytes = AllocateBigBlock(std::max<size_t>(size, 1));
    output.size = size;
    return bool(output.bytes);
}

// Copies `count` stream bytes from `input`, the stream's bytes from `at`
// on, into `chunk`, unscrambled: byte i of the stream was stored XORed
// with key[i % 32]. `at` is a multiple of 32, so the key lines up with
// every 32 bytes of the chunk.
void Unscramble(const uint8_t* input, size_t at, size_t count, const uint8_t* key, uint8_t* chunk) {
    size_t i = 0;
    for (; i + 32 <= count; i += 32)
        for (size_t j = 0; j < 32; ++j)
            chunk[i + j] = uint8_t(input[at + i + j] ^ key[j]);
    for (; i < count; ++i)
        chunk[i] = uint8_t(input[at + i] ^ key[i & 31]);
}

}  // namespace

int PackedBlockLength(const uint8_t* block, size_t length, uint32_t* unpackedLength) {
    if (length < kHeadSize || std::memcmp(block, "qUID", 4) != 0) return kUnpackBufError;
    uint32_t declared = LoadU32(block + 4);
    if (unpackedLength) *unpackedLength = declared;
    return kUnpackOk;
}

int UnpackBlock(const uint8_t* block, size_t length, TUnpackedBody& output, const uint8_t* key) {
    output = TUnpackedBody();
    uint32_t declared = 0;
    if (int status = PackedBlockLength(block, length, &declared); status != kUnpackOk)
        return status;

    InflateStream stream;
    if (int status = stream.Init(); status != Z_OK) return status;
    if (!SizeOutput(output, declared, length - kHeadSize)) return kUnpackMemError;

    // The stream is unscrambled a chunk at a time, so the caller's block
    // stays as it was and no second copy of it is made.
    const uint8_t* input = block + kHeadSize;
    const size_t inputLength = length - kHeadSize;
    size_t consumed = 0;  // stream bytes handed to inflate so far
    uint8_t chunk[kChunk];
    uint8_t spare = 0;  // catches output beyond the declared length
    size_t produced = 0;

    for (;;) {
        if (stream->avail_in == 0 && consumed < inputLength) {
            size_t take = std::min(kChunk, inputLength - consumed);
            if (key) {
                Unscramble(input, consumed, take, key, chunk);
            } else {
                std::memcpy(chunk, input + consumed, take);
            }
            consumed += take;
            stream->next_in = chunk;
            stream->avail_in = uInt(take);
        }
        // Output beyond the room is more than the stream can justify, or
        // more than declared: data error either way.
        const bool full = produced == output.size;
        if (full) {
            stream->next_out = &spare;
            stream->avail_out = 1;
        } else {
            size_t room = std::min<size_t>(output.size - produced, 1u << 30);
            stream->next_out = output.bytes.get() + produced;
            stream->avail_out = uInt(room);
        }
        uInt roomBefore = stream->avail_out;
        int status = inflate(stream.get(), Z_NO_FLUSH);
        size_t made = roomBefore - stream->avail_out;
        if (full && made > 0) return kUnpackDataError;  // more than declared
        produced += made;

        if (status == Z_STREAM_END) break;
        if (status == Z_NEED_DICT || status == Z_DATA_ERROR) return kUnpackDataError;
        if (status == Z_MEM_ERROR) return kUnpackMemError;
        if (status == Z_BUF_ERROR && stream->avail_in == 0 && consumed == inputLength)
            return kUnpackBufError;  // the stream stops before its end
        if (status != Z_OK && status != Z_BUF_ERROR) return status;
    }
    output.size = produced;
    return kUnpackOk;
}

int UnpackBlock(const uint8_t* block, size_t length, std::vector<uint8_t>& output,
                const uint8_t* key) {
    output.clear();
    TUnpackedBody body;
    const int status = UnpackBlock(block, length, body, key);
    if (status != kUnpackOk) return status;
    try {
        output.assign(body.bytes.get(), body.bytes.get() + body.size);
    } catch (const std::bad_alloc&) {
        return kUnpackMemError;
    }
    return kUnpackOk;
}

}  // namespace quil
