// quil info: the header and counts as JSON, exit statuses and messages.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "info_json_reader.h"
#include "recording_writer.h"
#include "run_tool.h"
#include "test_folder.h"

namespace quil {
namespace {

using fixture::Bytes;
using fixture::Generation;
using fixture::Header;
using fixture::TRecordingWriter;
using test::JsonValue;
using test::RunQuil;

class CliFiles : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        return folder_.Write(name, bytes).string();
    }
    testing::TTestFolder folder_;
};

JsonValue ParseOrFail(const std::string& text) {
    JsonValue value;
    std::string error;
    EXPECT_TRUE(test::ParseJson(text, value, error)) << error << "\n" << text;
    return value;
}

Bytes RichBody() {
    Header h;
    h.minor = 8;
    h.pageWidth = 800;
    h.pageHeight = 600;
    h.title = u"Say \"hi\" \\ caf\u00e9 \u4e2d\U0001F600\n";
    h.extraText = u"second";
    h.gridCellSize = 0x00140014;
    h.gridOrigin = 0xFFFF0003;
    h.gridCells = 7;
    h.gridSubdivisions = 2;
    TRecordingWriter w(h);
    w.Stroke({{1, 1, 2}, {3, 1, 2}, {5, 1, 0}});
    w.Stroke({{9, 9, 1}, {10, 10, 1}, {11, 11, 1}, {12, 12, 0}});
    w.Stamp(10, 10, 5, 5, fixture::EncodeBmp(fixture::SolidPicture(32, 32, 0xFFFFFF)));
    w.Background(1, 0, fixture::EncodeBmp(fixture::PatternPicture(256, 128)));
    return w.Body();
}

TEST_F(CliFiles, InfoReportsTheHeaderAndCounts) {
    auto run = RunQuil({"info", Write("rich.stk", RichBody())});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    JsonValue v = ParseOrFail(run.out);
    EXPECT_EQ(v["magic"].text, "Qui3");
    EXPECT_EQ(v["version"].text, "1.8");
    EXPECT_EQ(v["bodySize"].Integer(), (long long)RichBody().size());
    EXPECT_EQ(v["page"]["width"].Integer(), 800);
    EXPECT_EQ(v["page"]["height"].Integer(), 600);
    EXPECT_EQ(v["title"].text, "Say \"hi\" \\ caf\xc3\xa9 \xe4\xb8\xad\xf0\x9f\x98\x80\n");
    EXPECT_EQ(v["extraText"].text, "second");
    EXPECT_EQ(v["elements"].Integer(), 3);
    EXPECT_EQ(v["strokes"].Integer(), 2);
    EXPECT_EQ(v["stamps"].Integer(), 1);
    EXPECT_EQ(v["points"].Integer(), 7);
    EXPECT_EQ(v["background"]["mode"].Integer(), 1);
    EXPECT_EQ(v["background"]["placement"].Integer(), 0);
    EXPECT_EQ(v["background"]["width"].Integer(), 256);
    EXPECT_EQ(v["background"]["height"].Integer(), 128);
    EXPECT_EQ(v["grid"]["cellSize"].Integer(), 0x00140014);
    EXPECT_EQ(v["grid"]["origin"].Integer(), 0xFFFF0003LL);  // unsigned
    EXPECT_EQ(v["grid"]["cells"].Integer(), 7);
    EXPECT_EQ(v["grid"]["subdivisions"].Integer(), 2);
    EXPECT_FALSE(v["selfContained"].boolean);
}

TEST_F(CliFiles, InfoOfEachGenerationAndOfASelfContainedProgram) {
    Header quil;
    quil.generation = Generation::Quil;
    JsonValue v = ParseOrFail(RunQuil({"info", Write("a.stk", TRecordingWriter(quil).Body())}).out);
    EXPECT_EQ(v["version"].text, "1.1");
    EXPECT_TRUE(v["grid"].IsNull());
    EXPECT_TRUE(v["background"].IsNull());
    EXPECT_EQ(v["title"].text, "");

    Header qui2;
    qui2.generation = Generation::Qui2;
    qui2.ansiTitle = "\xcf\xf0\xe8\xe2\xe5\xf2";  // "Привет" in CP1251
    auto path = Write("b.stk", TRecordingWriter(qui2).Body());
    v = ParseOrFail(RunQuil({"info", path}).out);
    EXPECT_EQ(v["version"].text, "1.2");
    EXPECT_EQ(v["magic"].text, "Qui2");
    EXPECT_EQ(v["title"].text, "\xc3\x8f\xc3\xb0\xc3\xa8\xc3\xa2\xc3\xa5\xc3\xb2");  // as CP1252
    v = ParseOrFail(RunQuil({"info", path}, {"QUIL_CODEPAGE=CP1251"}).out);
    EXPECT_EQ(v["title"].text, "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82");
    // A code page iconv does not know falls back to CP1252.
    v = ParseOrFail(RunQuil({"info", path}, {"QUIL_CODEPAGE=NO-SUCH-PAGE"}).out);
    EXPECT_EQ(v["title"].text, "\xc3\x8f\xc3\xb0\xc3\xa8\xc3\xa2\xc3\xa5\xc3\xb2");

    Bytes program(3000, 0x7F);
    Bytes region = fixture::LeadingBlock(Bytes(13056, 1), fixture::Packed(RichBody()));
    v = ParseOrFail(RunQuil({"info", Write("program", fixture::Appended(program, region))}).out);
    EXPECT_TRUE(v["selfContained"].boolean);
    EXPECT_EQ(v["magic"].text, "Qui3");
    EXPECT_EQ(v["elements"].Integer(), 3);
}

TEST_F(CliFiles, LoadFailuresExitWithTheirCodeAndOneLine) {
    Header quil;
    quil.generation = Generation::Quil;
    Header wrongSize = quil;
    wrongSize.bodySize = 99;
    Header major2;
    major2.major = 2;
    Header minor9;
    minor9.minor = 9;
    Bytes corrupt = fixture::Packed(RichBody());
    corrupt[40] ^= 0xFF;
    struct Case {
        std::string file;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {(folder_ / "missing.stk").string(), 1, "cannot open the file"},
        {Write("size.stk", TRecordingWriter(wrongSize).Body()), 2,
         "the file size is wrong, the file may be damaged"},
        {Write("format.stk", Bytes(40, 'z')), 3, "the file format does not match"},
        {Write("packed.stk", corrupt), 4, "decompression failed"},
        {Write("major.stk", TRecordingWriter(major2).Body()), 5,
         "the main version of the format does not match"},
        {Write("minor.stk", TRecordingWriter(minor9).Body()), 6,
         "a newer version that is not supported"},
    };
    for (const char* command : {"info", "dump"}) {
        for (const Case& c : cases) {
            auto run = RunQuil({command, c.file});
            EXPECT_EQ(run.status, c.code) << command << " " << c.file;
            EXPECT_EQ(run.out, "") << command << " " << c.file;
            EXPECT_EQ(run.err, "quil: " + c.file + ": " + c.message + " (code " +
                                   std::to_string(c.code) + ")\n");
        }
    }
}

TEST_F(CliFiles, UsageErrorsExit64AndHelpExits0) {
    auto file = Write("ok.stk", RichBody());
    const std::vector<std::vector<std::string>> usage = {
        {},       {"frobnicate", file}, {"info"}, {"info", file, file}, {"info", "--colour", file},
        {"dump"}, {"dump", "-x", file},
    };
    for (const auto& args : usage) {
        auto run = RunQuil(args);
        EXPECT_EQ(run.status, 64) << (args.empty() ? "(none)" : args[0]);
        EXPECT_EQ(run.out, "");
        // One line on stderr, like every other failure.
        EXPECT_EQ(run.err.rfind("quil: ", 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"info", "--help"}, {"dump", "-h"}}) {
        auto run = RunQuil(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("Usage"), std::string::npos);
    }
    // A FILE that looks like an option is still a FILE after "--".
    auto dashed = RunQuil({"info", "--", file});
    EXPECT_EQ(dashed.status, 0) << dashed.err;
}

TEST_F(CliFiles, OutputThatCannotBeWrittenExits70) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    std::string file = Write("ok.stk", RichBody());
    EXPECT_EQ(RunQuil({"info", file}, {}, "/dev/full").status, 70);
}

}  // namespace
}  // namespace quil
