#include <gtest/gtest.h>

#include <zlib.h>

#include "export/svg_document.h"
#include "export/svgz_writer.h"
#include "model/document.h"
#include "picture_decoders.h"
#include "test_folder.h"

namespace quil {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::TTestFolder;
using testing::WriteText;

std::string Gunzip(const fs::path& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file) return "<cannot open>";
    std::string text;
    char buffer[4096];
    int n;
    while ((n = gzread(file, buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(n));
    gzclose(file);
    return text;
}

void FillDocument(TPenReplayWT& document) {
    document.penColor = 0x00FF8000;
    for (int i = 0; i < 400; ++i)
        document.AddPoint(10.0f + i * 0.7f, 20.0f + (i % 40) * 1.5f, i % 97 == 96 ? 0.0f : 2.5f);
    document.gridCellSize = 32 | 32u << 16;
    document.gridCells = 4 | 3u << 16;
}

TEST(SvgzWriter, FileIsTheSvgTextAsOneMaximumCompressionGzipMember) {
    TTestFolder folder;
    TPenReplayWT document(1022, 718);
    FillDocument(document);
    ASSERT_EQ(WriteSvgzFile(document, folder / "page.svgz"), 0);

    TSvgStream expected;
    WriteSvgDocument(document, expected);
    EXPECT_EQ(Gunzip(folder / "page.svgz"), expected.Text());
    const std::vector<uint8_t> bytes = testing::ReadWholeFile((folder / "page.svgz").string());
    ASSERT_GT(bytes.size(), 10u);
    EXPECT_EQ(bytes[0], 0x1F);
    EXPECT_EQ(bytes[1], 0x8B);
    EXPECT_EQ(bytes[2], 8);  // deflate
    EXPECT_EQ(bytes[8], 2);  // extra flags: maximum compression
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.svgz"});
}

TEST(SvgzWriter, ReplacesAnOldFile) {
    TTestFolder folder;
    WriteText(folder / "page.svgz", "old");
    TPenReplayWT document(1022, 718);
    ASSERT_EQ(WriteSvgzFile(document, folder / "page.svgz"), 0);
    EXPECT_EQ(Gunzip(folder / "page.svgz").substr(0, 5), "<?xml");
}

TEST(SvgzWriter, FailuresLeaveTheTargetAsItWas) {
    TTestFolder folder;
    TPenReplayWT document(1022, 718);
    fs::create_directory(folder / "dir.svgz");
    EXPECT_EQ(WriteSvgzFile(document, folder / "dir.svgz"), 1);
    EXPECT_TRUE(fs::is_directory(folder / "dir.svgz"));
    EXPECT_EQ(WriteSvgzFile(document, folder / "missing" / "page.svgz"), 1);

    // A drawing that cannot be built (grid words asking for billions of
    // lines) fails before the old file is touched.
    WriteText(folder / "page.svgz", "old");
    document.gridCellSize = 1 | 1u << 16;
    document.gridCells = 0xFFFF | 0x7FFFu << 16;
    document.gridSubdivisions = 0xFFFF | 0x7FFFu << 16;
    EXPECT_EQ(WriteSvgzFile(document, folder / "page.svgz"), 1);
    EXPECT_EQ(ReadText(folder / "page.svgz"), "old");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"dir.svgz", "page.svgz"}));
}

}  // namespace
}  // namespace quil
