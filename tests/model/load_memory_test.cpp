// Memory that runs out while a recording is built: the load ends with a
// code, the points a record would produce are weighed before any is made,
// and no allocation failure leaves the loader as an exception.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "model/document.h"
#include "model_test_support.h"
#include "platform/memory_budget.h"
#include "platform/sanitizer.h"

namespace quil {
namespace {

using fixture::Bytes;
using fixture::Generation;
using fixture::Header;
using fixture::TRecordingWriter;
using test::LoadBytes;

// What the process holds now, from /proc/self/statm: {address space, resident}.
std::pair<uint64_t, uint64_t> ProcessBytes() {
    unsigned long long size = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%llu %llu", &size, &resident) != 2) size = resident = 0;
        std::fclose(f);
    }
    const uint64_t page = uint64_t(::sysconf(_SC_PAGESIZE));
    return {size * page, resident * page};
}

// `records` stroke records of `points` stored points each, on a "Qui2"
// body with the given subdivision count.
Bytes SubdividedBody(int32_t subdivision, int records, int points) {
    Header header;
    header.generation = Generation::Qui2;
    header.subdivision = subdivision;
    TRecordingWriter w(header);
    std::vector<fixture::Point> stroke(size_t(points), fixture::Point{10, 10, 1});
    stroke.back().radius = 0;  // each record is a stroke of its own
    for (int r = 0; r < records; ++r)
        w.Stroke(stroke, {.kind = 0});
    return w.Body();
}

// A ceiling on the test's own memory, lifted again at the end.
class TCeiling {
public:
    explicit TCeiling(uint64_t moreBytes) { SetMemoryCeiling(ProcessBytes().second + moreBytes); }
    ~TCeiling() { SetMemoryCeiling(0); }
};

TEST(LoadMemory, PointsThatWouldNotFitEndTheLoadBeforeTheyAreMade) {
    constexpr uint64_t kRoom = uint64_t(128) << 20;
    struct Case {
        const char* what;
        Bytes body;
        int code;
        int strokesBuilt;  // strokes made before the load ended
    } cases[] = {
        // 64,000 stored points, each refined into 1024: some 65 million
        // points, far beyond the room.
        {"one record too large", SubdividedBody(1024, 1, 64000), kLoadBadRegion, 0},
        // Some 600,000 points a record: two fit, the third does not.
        {"records too large together", SubdividedBody(1024, 12, 600), kLoadBadRegion, 2},
        {"records that fit", SubdividedBody(4, 3, 1000), kLoadOk, 3},
    };
    for (const Case& c : cases) {
        TPenReplayWT document(1022, 718);
        int code;
        {
            TCeiling ceiling(kRoom);
            code = LoadBytes(document, c.body);
        }
        EXPECT_EQ(code, c.code) << c.what;
        EXPECT_EQ(document.ElementCount(), c.strokesBuilt) << c.what;
    }
}

// The region is read whole, and its points weighed before they are made: a
// file too large for the room left ends the load with nothing made.
TEST(LoadMemory, AFileTooLargeForTheRoomEndsTheLoadWithNothingMade) {
    const Bytes body = SubdividedBody(1, 1, 1'500'000);  // 24 MB of points stored
    TPenReplayWT document(1022, 718);
    int code;
    {
        TCeiling ceiling(uint64_t(16) << 20);
        code = LoadBytes(document, body);
    }
    EXPECT_EQ(code, kLoadBadRegion);
    EXPECT_EQ(document.ElementCount(), 0);
    // With the room, the same file loads.
    EXPECT_EQ(LoadBytes(document, body), kLoadOk);
    EXPECT_EQ(document.ElementCount(), 1);
}

// Points are made one by one without throwing: when memory runs out, the
// point is not added and the document stays whole. A child process takes
// an address-space limit and fills it.
TEST(LoadMemory, AddPointReportsExhaustedMemoryWithoutThrowing) {
    if (kAddressSanitizer) GTEST_SKIP() << "the address sanitizer cannot run under a space limit";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = ProcessBytes().first + (uint64_t(64) << 20);
        if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(2);
        TPenReplayWT document(1022, 718);
        TStrokeDataWT* stroke = document.AddPoint(0, 0, 1);
        int added = 1;
        while (document.AddPoint(float(added), 0, 1) == stroke)
            ++added;
        // Out of memory: the refused point left the stroke as it was.
        const bool whole = stroke != nullptr && stroke->pointCount == added &&
                           document.ElementCount() == 1 && stroke->lastPoint->x == added - 1;
        ::_exit(whole && added > 1000 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace quil
