#pragma once

#include <cstdint>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

namespace quil::testing {

// A fresh empty folder under the system's temporary folder, removed with
// everything in it when the test ends.
class TTestFolder {
public:
    TTestFolder();
    ~TTestFolder();
    TTestFolder(const TTestFolder&) = delete;
    TTestFolder& operator=(const TTestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const;
    // Writes `bytes` as the file `name` in the folder and returns its path;
    // a failed write fails the test.
    std::filesystem::path Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

private:
    std::filesystem::path path_;
};

void WriteText(const std::filesystem::path& path, const std::string& text);
std::string ReadText(const std::filesystem::path& path);

// The type bits (S_IFREG, S_IFCHR, S_IFIFO, ...) of what the path names,
// not following a final link; 0 when there is nothing.
unsigned FileType(const std::filesystem::path& path);
// Reads everything a FIFO receives, on a thread of its own.
std::future<std::string> ReadFifo(const std::filesystem::path& fifo);

}  // namespace quil::testing
