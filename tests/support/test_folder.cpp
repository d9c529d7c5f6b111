#include "test_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <gtest/gtest.h>

#include "recording_writer.h"

namespace quil::testing {

namespace fs = std::filesystem;

TTestFolder::TTestFolder() {
    std::string pattern = (fs::temp_directory_path() / "quil-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a test folder");
    path_ = pattern;
}

TTestFolder::~TTestFolder() {
    std::error_code ec;
    // Folders a test made read-only must be writable again to be removed.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (!it->is_symlink(ec) && it->is_directory(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::vector<std::string> TTestFolder::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

fs::path TTestFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const fs::path path = path_ / name;
    EXPECT_TRUE(fixture::WriteFile(path, bytes)) << path;
    return path;
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

unsigned FileType(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? unsigned(st.st_mode & S_IFMT) : 0;
}

std::future<std::string> ReadFifo(const fs::path& fifo) {
    return std::async(std::launch::async, [fifo] { return ReadText(fifo); });
}

}  // namespace quil::testing
