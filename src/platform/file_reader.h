#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace quil {

// Reads a file (or a block of memory) through a buffer, so that the many
// small fields of a recording cost no system call each. No exceptions: every
// operation reports failure by its result. Move-only; closes on destruction.
class TFileReader {
public:
    TFileReader() = default;
    ~TFileReader();
    TFileReader(TFileReader&& other) noexcept;
    TFileReader& operator=(TFileReader&& other) noexcept;
    TFileReader(const TFileReader&) = delete;
    TFileReader& operator=(const TFileReader&) = delete;

    // Opens a regular file for reading; false when it cannot be opened.
    bool Open(const std::filesystem::path& path);
    // Reads from `size` bytes at `data`, which must outlive the reader.
    void OpenMemory(const uint8_t* data, size_t size);
    void Close();
    bool IsOpen() const { return fd_ >= 0 || memory_ != nullptr; }

    // Length of the file when it was opened.
    uint64_t Length() const { return length_; }
    uint64_t Position() const { return position_; }
    // Moves to an absolute position; false beyond the end.
    bool Seek(uint64_t position);

    // Copies up to `count` bytes; returns how many were read (short at the
    // end of the file or on a read error).
    size_t Read(void* destination, size_t count);
    // True only when exactly `count` bytes were read.
    bool ReadExact(void* destination, size_t count) { return Read(destination, count) == count; }

private:
    size_t Refill();

    int fd_ = -1;
    const uint8_t* memory_ = nullptr;
    uint64_t length_ = 0;
    uint64_t position_ = 0;  // logical read position
    std::unique_ptr<uint8_t[]> buffer_;
    uint64_t bufferStart_ = 0;  // file offset of buffer_[0]
    size_t bufferFill_ = 0;     // valid bytes in buffer_
};

}  // namespace quil
