#include "video/memory_output.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

extern "C" {
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
#include <libavutil/mem.h>
}

namespace quil {

namespace {

// The buffer FFmpeg fills before it calls Write or after Read.
constexpr int kBufferSize = 64 * 1024;

// The new position for a seek from `position` in `size` bytes, or -1.
int64_t SeekTarget(int64_t position, int64_t size, int64_t offset, int whence) {
    switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET: return offset >= 0 ? offset : -1;
    case SEEK_CUR: return position + offset >= 0 ? position + offset : -1;
    case SEEK_END: return size + offset >= 0 ? size + offset : -1;
    default: return -1;
    }
}

AVIOContext* NewContext(void* opaque, bool writing, int (*read)(void*, uint8_t*, int),
                        int (*write)(void*, uint8_t*, int), int64_t (*seek)(void*, int64_t, int)) {
    auto* buffer = static_cast<uint8_t*>(av_malloc(kBufferSize));
    if (!buffer) return nullptr;
    AVIOContext* io =
        avio_alloc_context(buffer, kBufferSize, writing ? 1 : 0, opaque, read, write, seek);
    if (!io) av_free(buffer);
    return io;
}

void FreeContext(AVIOContext*& io) {
    if (!io) return;
    av_freep(&io->buffer);
    avio_context_free(&io);
}

}  // namespace

// A second view of the bytes, for reading, with its own position.
struct TMemoryOutput::TReader {
    const std::vector<uint8_t>* bytes;
    int64_t position = 0;
};

TMemoryOutput::~TMemoryOutput() { FreeContext(io_); }

bool TMemoryOutput::Attach(AVFormatContext* format) {
    if (io_) return false;
    io_ = NewContext(this, true, nullptr, Write, Seek);
    if (!io_) return false;
    format->pb = io_;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    format->opaque = this;
    format->io_open = OpenAgain;
    format->io_close2 = CloseAgain;
    return true;
}

std::vector<uint8_t> TMemoryOutput::TakeBytes() {
    position_ = 0;
    return std::move(bytes_);
}

int TMemoryOutput::Write(void* opaque, uint8_t* data, int size) {
    auto* self = static_cast<TMemoryOutput*>(opaque);
    if (size <= 0) return 0;
    const size_t end = size_t(self->position_) + size_t(size);
    // The library is C: running out of memory must come back as its error
    // code, not as an exception through its frames.
    try {
        if (end > self->bytes_.size()) self->bytes_.resize(end);
    } catch (const std::bad_alloc&) {
        return AVERROR(ENOMEM);
    } catch (const std::length_error&) {
        return AVERROR(ENOMEM);
    }
    std::memcpy(self->bytes_.data() + self->position_, data, size_t(size));
    self->position_ = int64_t(end);
    return size;
}

int64_t TMemoryOutput::Seek(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<TMemoryOutput*>(opaque);
    const int64_t size = int64_t(self->bytes_.size());
    if (whence & AVSEEK_SIZE) return size;
    const int64_t target = SeekTarget(self->position_, size, offset, whence);
    if (target < 0) return AVERROR(EINVAL);
    self->position_ = target;
    return target;
}

int TMemoryOutput::Read(void* opaque, uint8_t* data, int size) {
    auto* reader = static_cast<TReader*>(opaque);
    const int64_t total = int64_t(reader->bytes->size());
    if (reader->position >= total) return AVERROR_EOF;
    const int64_t n = std::min<int64_t>(size, total - reader->position);
    std::memcpy(data, reader->bytes->data() + reader->position, size_t(n));
    reader->position += n;
    return int(n);
}

int64_t TMemoryOutput::SeekReader(void* opaque, int64_t offset, int whence) {
    auto* reader = static_cast<TReader*>(opaque);
    const int64_t size = int64_t(reader->bytes->size());
    if (whence & AVSEEK_SIZE) return size;
    const int64_t target = SeekTarget(reader->position, size, offset, whence);
    if (target < 0) return AVERROR(EINVAL);
    reader->position = target;
    return target;
}

int TMemoryOutput::OpenAgain(AVFormatContext* format, AVIOContext** io, const char* /*url*/,
                             int flags, AVDictionary** /*options*/) {
    // Only the second pass of the MP4 muxer opens its output again, to read.
    if (flags & AVIO_FLAG_WRITE) return AVERROR(EINVAL);
    auto* self = static_cast<TMemoryOutput*>(format->opaque);
    auto* reader = new (std::nothrow) TReader{&self->bytes_};
    if (!reader) return AVERROR(ENOMEM);
    *io = NewContext(reader, false, Read, nullptr, SeekReader);
    if (!*io) {
        delete reader;
        return AVERROR(ENOMEM);
    }
    return 0;
}

int TMemoryOutput::CloseAgain(AVFormatContext* format, AVIOContext* io) {
    auto* self = static_cast<TMemoryOutput*>(format->opaque);
    if (!io || io == self->io_) return 0;
    delete static_cast<TReader*>(io->opaque);
    FreeContext(io);
    return 0;
}

}  // namespace quil
