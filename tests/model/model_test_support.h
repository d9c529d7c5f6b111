#pragma once

// Helpers shared by the model tests: loading bytes as a file, and reading a
// document back as plain values to compare.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/document.h"
#include "recording_writer.h"

namespace quil::test {

// A folder of its own for each test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path Write(const std::string& name, const fixture::Bytes& bytes) const;

private:
    std::filesystem::path path_;
};

// Loads `bytes` through LoadFile from a scratch file.
int LoadBytes(TPenReplayWT& document, const fixture::Bytes& bytes);

struct PointValue {
    float x, y, radius;
    bool operator==(const PointValue&) const = default;
};
std::vector<PointValue> PointsOf(const TInkelDataWT* element);

// Every element with its fields and points as text, for comparing two
// documents that should be equal.
std::string Describe(const TPenReplayWT& document);

}  // namespace quil::test
