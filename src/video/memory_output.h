#pragma once

#include <cstdint>
#include <vector>

struct AVDictionary;
struct AVFormatContext;
struct AVIOContext;

namespace quil {

// The output of a muxer kept in memory, as seekable as a file: the muxers
// go back to fill in sizes, and the MP4 muxer moves its index to the front
// at the end by reading what it wrote (it opens its output a second time,
// for reading, which is answered here too). The finished bytes are then
// handed to the project's file writer in one piece.
class TMemoryOutput {
public:
    TMemoryOutput() = default;
    ~TMemoryOutput();
    TMemoryOutput(const TMemoryOutput&) = delete;
    TMemoryOutput& operator=(const TMemoryOutput&) = delete;

    // Makes this the output of `format` (which must not be opened yet and
    // must not outlive this object). False when memory is short.
    bool Attach(AVFormatContext* format);

    // What the muxer has written; complete once its trailer is written.
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::vector<uint8_t> TakeBytes();

private:
    struct TReader;

    static int Write(void* opaque, uint8_t* data, int size);
    static int64_t Seek(void* opaque, int64_t offset, int whence);
    static int Read(void* opaque, uint8_t* data, int size);
    static int64_t SeekReader(void* opaque, int64_t offset, int whence);
    static int OpenAgain(AVFormatContext* format, AVIOContext** io, const char* url, int flags,
                         AVDictionary** options);
    static int CloseAgain(AVFormatContext* format, AVIOContext* io);

    std::vector<uint8_t> bytes_;
    int64_t position_ = 0;
    AVIOContext* io_ = nullptr;
};

}  // namespace quil
