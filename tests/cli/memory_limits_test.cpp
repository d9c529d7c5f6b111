// quil under memory it cannot have: recordings that expand beyond what the
// process may take, and pictures too large for it, end with their code and
// one line, without an abort and without first touching the memory.

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

#include "platform/sanitizer.h"
#include "recording_writer.h"
#include "run_tool.h"
#include "test_folder.h"

namespace quil {
namespace {

using fixture::Bytes;
using fixture::Generation;
using fixture::Header;
using fixture::TRecordingWriter;
using test::RunQuil;
using test::ToolRun;
using testing::TTestFolder;

// Well above what quil needs to refuse, far below what the inputs would
// take if it did not.
constexpr long kRefusalKilobytes = 200 * 1024;

// A "Qui2" header with the given subdivision count, followed by one kind-0
// stroke record of `points` float points, all at (0, 0) with radius 1.
// The body is written through zlib a piece at a time, so that a body of
// hundreds of megabytes costs the test no more than its packed form.
Bytes PackedRepeatedPoints(int32_t subdivision, uint32_t points) {
    Header header;
    header.generation = Generation::Qui2;
    header.subdivision = subdivision;
    const uint64_t recordBytes = 12 + uint64_t(points) * 16;
    const Bytes empty = TRecordingWriter(header).Body();
    header.bodySize = uint32_t(empty.size() + recordBytes);
    Bytes head = TRecordingWriter(header).Body();
    fixture::PutI32(head, 0);  // kind
    fixture::PutU32(head, 0);  // colour
    fixture::PutU32(head, points);
    Bytes point;
    for (float value : {0.0f, 0.0f, 1.0f, 0.0f})
        fixture::PutF32(point, value);
    Bytes chunk;
    for (int i = 0; i < 4096; ++i)
        chunk.insert(chunk.end(), point.begin(), point.end());

    z_stream z{};
    EXPECT_EQ(deflateInit(&z, 9), Z_OK);
    Bytes stream(deflateBound(&z, uLong(head.size())) + 64);
    size_t produced = 0;
    auto feed = [&](const Bytes& in, size_t length, int flush) {
        z.next_in = const_cast<Bytef*>(in.data());
        z.avail_in = uInt(length);
        do {
            if (stream.size() - produced < 65536) stream.resize(stream.size() * 2 + 65536);
            z.next_out = stream.data() + produced;
            z.avail_out = uInt(stream.size() - produced);
            deflate(&z, flush);
            produced = stream.size() - z.avail_out;
        } while (z.avail_in > 0 || (flush == Z_FINISH && z.avail_out == 0));
    };
    feed(head, head.size(), Z_NO_FLUSH);
    for (uint32_t left = points; left > 0;) {
        const uint32_t take = std::min<uint32_t>(left, 4096);
        left -= take;
        feed(chunk, size_t(take) * 16, left == 0 ? Z_FINISH : Z_NO_FLUSH);
    }
    deflateEnd(&z);
    stream.resize(produced);

    Bytes block = {'q', 'U', 'I', 'D'};
    fixture::PutU32(block, header.bodySize.value());
    const Bytes scrambled = fixture::Scramble(stream);
    block.insert(block.end(), scrambled.begin(), scrambled.end());
    return block;
}

// A plain "Qui2" body of one stroke of `points` points and a subdivision count.
Bytes SubdividedStroke(int32_t subdivision, int points) {
    Header header;
    header.generation = Generation::Qui2;
    header.subdivision = subdivision;
    TRecordingWriter w(header);
    w.Stroke(std::vector<fixture::Point>(size_t(points), fixture::Point{5, 5, 1}), {.kind = 0});
    return w.Body();
}

// Runs quil under an address-space limit (0: none).
ToolRun QuilWithin(uint64_t addressSpace, const std::vector<std::string>& args) {
    if (addressSpace == 0) return RunQuil(args);
    return test::RunQuilLimited("--as=" + std::to_string(addressSpace), args);
}

TEST(MemoryLimits, RecordingsThatExpandBeyondMemoryEndWithCodeThree) {
    TTestFolder folder;
    constexpr uint64_t kMiB = uint64_t(1) << 20;
    struct Case {
        const char* what;
        Bytes file;
        uint64_t addressSpace;  // 0: none
    } cases[] = {
        // About 20 KB packed: 1.25 million stored points, each refined into
        // 1024, over a billion points in memory. Without a limit, four
        // million: more than any machine running this has.
        {"packed, subdivision 1024", PackedRepeatedPoints(1024, 4000000), 0},
        {"packed, subdivision 1024, limited", PackedRepeatedPoints(1024, 1250000), 1024 * kMiB},
        {"64,000 points, subdivision 1024, limited", SubdividedStroke(1024, 64000), 1024 * kMiB},
        // 16 million points behind a small zlib stream: the body unpacks
        // within the limit, its points would not fit beside it.
        {"zlib bomb of 16 million points, limited", PackedRepeatedPoints(1, 16000000), 768 * kMiB},
    };
    for (const Case& c : cases) {
        if (c.addressSpace != 0 && kAddressSanitizer) continue;  // it cannot run under a limit
        const std::filesystem::path file = folder / "big.stk";
        ASSERT_TRUE(fixture::WriteFile(file, c.file));
        const ToolRun run = QuilWithin(c.addressSpace, {"info", file.string()});
        EXPECT_EQ(run.status, 3) << c.what << ": " << run.err << " signal " << run.signal;
        EXPECT_EQ(run.err, "quil: " + file.string() + ": the file format does not match (code 3)\n")
            << c.what;
        EXPECT_TRUE(run.out.empty()) << c.what;
        if (c.addressSpace == 0 && !kAddressSanitizer) {
            EXPECT_LT(run.peakKilobytes, kRefusalKilobytes) << c.what;
        }
    }
}

// The surfaces of a picture are weighed before any is made: a size far
// beyond memory is refused at once, with the message that says so.
TEST(MemoryLimits, PicturesTooLargeAreRefusedBeforeAnyIsAllocated) {
    TTestFolder folder;
    const std::string page = (folder / "page.stk").string();
    ASSERT_TRUE(fixture::WriteFile(page, SubdividedStroke(1, 3)));
    Header hugeHeader;
    hugeHeader.pageWidth = hugeHeader.pageHeight = 32767;
    TRecordingWriter huge(hugeHeader);
    huge.Stroke({{10, 10, 2}, {20, 20, 0}});
    const std::string hugePage = (folder / "huge.stk").string();
    ASSERT_TRUE(fixture::WriteFile(hugePage, huge.Body()));
    const std::string out = (folder / "out.png").string();
    testing::WriteText(out, "old");

    // Sizes of hundreds of gigabytes need no limit; the 32767 x 32767 page
    // (127 GB at Best, 54 GB for the export) gets one where it can, so that
    // no machine has that much to give it.
    const uint64_t limit = kAddressSanitizer ? 0 : uint64_t(16) << 30;
    const struct {
        std::vector<std::string> args;
        uint64_t addressSpace;
    } cases[] = {
        {{"render", page, "-o", out, "--size", "65536x65536"}, 0},
        {{"render", page, "-o", out, "--zoom", "64"}, 0},
        {{"render", page, "-o", out, "--zoom", "1e30"}, 0},
        {{"render", hugePage, "-o", out}, limit},
        {{"export", page, "-o", out, "--size", "65536x65536"}, 0},
        {{"export", hugePage, "-o", out}, limit},
    };
    for (const auto& [args, addressSpace] : cases) {
        const ToolRun run = QuilWithin(addressSpace, args);
        const std::string what = args[0] + " " + args.back();
        EXPECT_EQ(run.status, 7) << what << ": " << run.err;
        EXPECT_EQ(run.err, "quil: " + args[1] + ": the page is too large at this zoom or size\n")
            << what;
        if (!kAddressSanitizer) {
            EXPECT_LT(run.peakKilobytes, kRefusalKilobytes) << what;
        }
    }
    EXPECT_TRUE(testing::ReadText(out) == "old");
}

}  // namespace
}  // namespace quil
