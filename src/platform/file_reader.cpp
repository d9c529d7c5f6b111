#include "platform/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

namespace quil {

namespace {
constexpr size_t kBufferSize = 64 * 1024;
}

TFileReader::~TFileReader() { Close(); }

TFileReader::TFileReader(TFileReader&& other) noexcept { *this = std::move(other); }

TFileReader& TFileReader::operator=(TFileReader&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        memory_ = std::exchange(other.memory_, nullptr);
        length_ = std::exchange(other.length_, 0);
        position_ = std::exchange(other.position_, 0);
        buffer_ = std::move(other.buffer_);
        bufferStart_ = std::exchange(other.bufferStart_, 0);
        bufferFill_ = std::exchange(other.bufferFill_, 0);
    }
    return *this;
}

bool TFileReader::Open(const std::filesystem::path& path) {
    Close();
    // O_NONBLOCK: opening a pipe would otherwise wait for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    // Only regular files: a folder or a pipe has no length to check a region against.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    buffer_.reset(new (std::nothrow) uint8_t[kBufferSize]);
    if (!buffer_) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    length_ = uint64_t(info.st_size);
    return true;
}

void TFileReader::OpenMemory(const uint8_t* data, size_t size) {
    Close();
    static const uint8_t kEmpty = 0;
    memory_ = data ? data : &kEmpty;
    length_ = size;
}

void TFileReader::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    memory_ = nullptr;
    length_ = position_ = 0;
    bufferStart_ = 0;
    bufferFill_ = 0;
}

bool TFileReader::Seek(uint64_t position) {
    if (!IsOpen() || position > length_) return false;
    position_ = position;
    return true;
}

size_t TFileReader::Refill() {
    bufferStart_ = position_;
    bufferFill_ = 0;
    while (bufferFill_ < kBufferSize) {
        ssize_t got = ::pread(fd_, buffer_.get() + bufferFill_, kBufferSize - bufferFill_,
                              off_t(bufferStart_ + bufferFill_));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        bufferFill_ += size_t(got);
    }
    return bufferFill_;
}

size_t TFileReader::Read(void* destination, size_t count) {
    if (!IsOpen() || position_ >= length_) return 0;
    count = size_t(std::min<uint64_t>(count, length_ - position_));
    auto* out = static_cast<uint8_t*>(destination);
    if (memory_ != nullptr) {
        std::memcpy(out, memory_ + position_, count);
        position_ += count;
        return count;
    }
    size_t done = 0;
    while (done < count) {
        if (position_ < bufferStart_ || position_ >= bufferStart_ + bufferFill_) {
            if (Refill() == 0) break;
        }
        size_t at = size_t(position_ - bufferStart_);
        size_t take = std::min(count - done, bufferFill_ - at);
        std::memcpy(out + done, buffer_.get() + at, take);
        done += take;
        position_ += take;
    }
    return done;
}

}  // namespace quil
