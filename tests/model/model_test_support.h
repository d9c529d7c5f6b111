#pragma once

// Helpers shared by the model tests: loading bytes as a file, and reading a
// document back as plain values to compare.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/document.h"
#include "recording_writer.h"
#include "test_folder.h"

namespace quil::test {

// Writes `bytes` as the file `name` in the folder; gives its path.
std::filesystem::path WriteBytes(const testing::TTestFolder& folder, const std::string& name,
                                 const fixture::Bytes& bytes);

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
