// Leading blocks, packed blocks and recordings appended to a program.

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

#include "model/document.h"
#include "model/load_recording.h"
#include "model/packed_block.h"
#include "model_test_support.h"
#include "platform/file_reader.h"

namespace quil {
namespace {

using fixture::Bytes;
using fixture::Generation;
using fixture::Header;
using fixture::TRecordingWriter;
using test::Describe;
using test::LoadBytes;
using test::WriteBytes;
using testing::TTestFolder;

Bytes SampleBody() {
    Header h;
    h.minor = 8;
    h.title = u"Packed";
    h.gridCellSize = 0x00200020;
    TRecordingWriter w(h);
    for (int s = 0; s < 30; ++s) {
        std::vector<fixture::Point> points;
        for (int i = 0; i < 40; ++i)
            points.push_back({s * 10.0 + i, i * 2.0, i + 1 == 40 ? 0 : 1.5});
        w.Stroke(points, {.color = uint32_t(s * 0x010203), .tag = uint32_t(s)});
    }
    w.Stamp(5, 6, 7, 8, fixture::EncodeBmp(fixture::PatternPicture(9, 7)));
    w.Background(1, 0, fixture::EncodeBmp(fixture::PatternPicture(16, 16)));
    return w.Body();
}

Bytes QuilBody20() {
    Header h;
    h.generation = Generation::Quil;
    return TRecordingWriter(h).Body();
}

// The same recording in each of its stored forms loads to the same document.
TEST(PackedRecording, EveryStoredFormGivesTheSameDocument) {
    const Bytes body = SampleBody();
    TPenReplayWT plain(1022, 718);
    ASSERT_EQ(LoadBytes(plain, body), kLoadOk);
    const std::string expected = Describe(plain);
    ASSERT_EQ(plain.ElementCount(), 31);

    const Bytes content(13056, 0x5C);
    const Bytes program(4096, 0x90);
    struct Form {
        const char* name;
        Bytes bytes;
    };
    const Form forms[] = {
        {"leading block + body", fixture::LeadingBlock(content, body)},
        {"packed", fixture::Packed(body)},
        {"leading block + packed", fixture::LeadingBlock(content, fixture::Packed(body))},
        {"appended body", fixture::Appended(program, body)},
        {"appended leading block + packed",
         fixture::Appended(program, fixture::LeadingBlock(content, fixture::Packed(body)))},
    };
    TTestFolder folder;
    for (const Form& form : forms) {
        auto path = WriteBytes(folder, "form.stk", form.bytes);
        TPenReplayWT doc(1022, 718);
        EXPECT_EQ(LoadRecording(doc, path), kLoadOk) << form.name;
        EXPECT_EQ(Describe(doc), expected) << form.name;
        EXPECT_EQ(std::u16string(doc.title.data()), u"Packed") << form.name;
    }
    // Nothing is left behind in the folder by unpacking.
    size_t files = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder.Path()))
        (void)entry, ++files;
    EXPECT_EQ(files, 1u);
}

// A body of a dozen megabytes, whose memory the loader gives back as it
// reads: plain, packed and behind a leading block, the same points, and
// the stamps and the background that lie far into it decode as they were.
TEST(PackedRecording, LargeBodiesGiveTheSameDocumentInEveryForm) {
    Header h;
    h.minor = 6;  // float points, 16 bytes each
    TRecordingWriter w(h);
    std::vector<fixture::Point> points(500);
    for (int s = 0; s < 1500; ++s) {
        for (int i = 0; i < 500; ++i)
            points[size_t(i)] = {s * 0.25 + i, i * 0.5 + s % 7, i + 1 == 500 ? 0.0 : 1.0 + i % 3};
        w.Stroke(points, {.color = uint32_t(s)});
        if (s % 500 == 499)
            w.Stamp(float(s), 6, 7, 8, fixture::EncodeBmp(fixture::PatternPicture(9, 7)));
    }
    w.Background(1, 0, fixture::EncodeBmp(fixture::PatternPicture(16, 16)));
    const Bytes body = w.Body();
    ASSERT_GT(body.size(), size_t(10) << 20);
    TPenReplayWT plain(1022, 718), packed(1022, 718), leading(1022, 718);
    ASSERT_EQ(LoadBytes(plain, body), kLoadOk);
    ASSERT_EQ(LoadBytes(packed, fixture::Packed(body)), kLoadOk);
    ASSERT_EQ(LoadBytes(leading, fixture::LeadingBlock(Bytes(100, 7), body)), kLoadOk);
    ASSERT_EQ(plain.ElementCount(), 1503);
    for (const TPenReplayWT* other : {&packed, &leading}) {
        const TInkelDataWT* a = plain.firstElement;
        const TInkelDataWT* b = other->firstElement;
        for (; a && b; a = a->next, b = b->next) {
            ASSERT_EQ(a->kind, b->kind);
            ASSERT_EQ(a->color, b->color);
            ASSERT_EQ(test::PointsOf(a), test::PointsOf(b)) << "element " << a->index;
            if (a->kind != kStampKind) continue;
            const auto& p = static_cast<const TStampDataWT&>(*a).picture;
            const auto& q = static_cast<const TStampDataWT&>(*b).picture;
            ASSERT_TRUE(p.Width() == q.Width() && p.Height() == q.Height());
            for (int y = 0; y < p.Height(); ++y)
                ASSERT_EQ(std::memcmp(p.ScanLine(y), q.ScanLine(y), 3 * size_t(p.Width())), 0);
        }
        EXPECT_EQ(a, nullptr);
        EXPECT_EQ(b, nullptr);
        ASSERT_TRUE(other->background);
        EXPECT_EQ(other->background->Width(), 16);
    }
    // The strokes and stamps as written: a stamp after every 500th stroke.
    const auto* last = static_cast<const TStrokeDataWT*>(plain.ElementAt(1501, false));
    ASSERT_EQ(last->kind, kStrokeKind);
    EXPECT_EQ(last->pointCount, 500);
    EXPECT_EQ(last->firstPoint->x, float(1499 * 0.25));
    const auto* stamp = static_cast<const TStampDataWT*>(plain.ElementAt(1001, false));
    ASSERT_EQ(stamp->kind, kStampKind);
    EXPECT_EQ(stamp->picture.Width(), 9);
    EXPECT_EQ(stamp->x, 999.0f);
}

TEST(PackedRecording, LeadingBlockBeforeAPlainBody) {
    Bytes region = fixture::LeadingBlock({1, 2, 3, 4}, QuilBody20());
    ASSERT_EQ(region.size(), 32u);
    TPenReplayWT doc(1022, 718);
    EXPECT_EQ(LoadBytes(doc, region), kLoadOk);
}

TEST(PackedRecording, FailuresOfLeadingAndPackedBlocks) {
    const Bytes body = SampleBody();
    Bytes corrupt = fixture::Packed(body);
    corrupt[corrupt.size() / 2] ^= 0x55;
    Bytes truncated = fixture::Packed(body);
    truncated.resize(truncated.size() - 30);
    Bytes unscrambled = fixture::Packed(body, {}, false);
    Header twelve;
    twelve.generation = Generation::Quil;
    Bytes tiny = TRecordingWriter(twelve).Body();
    tiny.resize(12);
    Bytes longLeading = fixture::LeadingBlock(Bytes(8, 0), QuilBody20());
    longLeading[4] = 200;  // L beyond the region
    Bytes notPacked = fixture::LeadingBlock(Bytes(4, 0), Bytes(24, 'x'));

    struct Case {
        const char* name;
        Bytes bytes;
        int code;
    };
    const Case cases[] = {
        {"declared length one short", fixture::Packed(body, uint32_t(body.size() - 1)),
         kLoadUnpackFailed},
        {"declared length 0", fixture::Packed(body, 0u), kLoadUnpackFailed},
        {"corrupt stream", corrupt, kLoadUnpackFailed},
        {"truncated stream", truncated, kLoadUnpackFailed},
        {"stream not scrambled", unscrambled, kLoadUnpackFailed},
        {"unpacked body of 12 bytes", fixture::Packed(tiny), kLoadBadRegion},
        {"leading block longer than the region", longLeading, kLoadBadRegion},
        {"after a leading block neither body nor packed block", notPacked, kLoadBadRegion},
        // A declared length of 4 GiB with a small stream costs small memory
        // and parses the shorter body, whose bodySize then matches.
        {"declared length 4 GiB", fixture::Packed(body, 0xFFFFFFFFu), kLoadOk},
    };
    for (const Case& c : cases) {
        TPenReplayWT doc(1022, 718);
        EXPECT_EQ(LoadBytes(doc, c.bytes), c.code) << c.name;
    }
}

TEST(PackedRecording, PackedBodyWhoseSizeWordDisagreesGivesTwo) {
    Header h;
    h.bodySize = 5000;
    TPenReplayWT doc(1022, 718);
    EXPECT_EQ(LoadBytes(doc, fixture::Packed(TRecordingWriter(h).Body())), kLoadSizeMismatch);
}

TEST(UnpackBlock, StatusesOfTheBlockForms) {
    const Bytes body = SampleBody();
    std::vector<uint8_t> out;
    Bytes block = fixture::Packed(body);
    const Bytes copy = block;
    EXPECT_EQ(UnpackBlock(block.data(), block.size(), out), kUnpackOk);
    EXPECT_EQ(out, body);
    EXPECT_EQ(block, copy);  // the caller's block is not changed

    uint32_t length = 0;
    EXPECT_EQ(PackedBlockLength(block.data(), block.size(), &length), kUnpackOk);
    EXPECT_EQ(length, body.size());
    EXPECT_EQ(PackedBlockLength(block.data(), 7, &length), kUnpackBufError);
    Bytes wrongTag = block;
    wrongTag[3] = 'C';
    EXPECT_EQ(UnpackBlock(wrongTag.data(), wrongTag.size(), out), kUnpackBufError);

    Bytes plainStream = fixture::Packed(body, {}, false);
    EXPECT_EQ(UnpackBlock(plainStream.data(), plainStream.size(), out, nullptr), kUnpackOk);
    EXPECT_EQ(out, body);

    // A stream with a preset dictionary is refused.
    Bytes dictStream(256);
    z_stream z{};
    ASSERT_EQ(deflateInit(&z, 9), Z_OK);
    const uint8_t dict[] = "dictionary words";
    deflateSetDictionary(&z, dict, sizeof dict);
    z.next_in = const_cast<uint8_t*>(body.data());
    z.avail_in = 64;
    z.next_out = dictStream.data();
    z.avail_out = uInt(dictStream.size());
    ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    dictStream.resize(z.total_out);
    deflateEnd(&z);
    Bytes dictBlock = {'q', 'U', 'I', 'D'};
    fixture::PutU32(dictBlock, 64);
    dictBlock = fixture::Concat(dictBlock, fixture::Scramble(dictStream));
    EXPECT_EQ(UnpackBlock(dictBlock.data(), dictBlock.size(), out), kUnpackDataError);

    // Output beyond the declared length, and bytes after the stream's end.
    Bytes oneShort = fixture::Packed(body, uint32_t(body.size() - 1));
    EXPECT_NE(UnpackBlock(oneShort.data(), oneShort.size(), out), kUnpackOk);
    // A declared length of 4 GiB: memory follows the output, not the claim.
    Bytes claimsMuch = fixture::Packed(body, 0xFFFFFFFFu);
    EXPECT_EQ(UnpackBlock(claimsMuch.data(), claimsMuch.size(), out), kUnpackOk);
    EXPECT_EQ(out, body);
    EXPECT_LT(out.capacity(), size_t(64) << 20);
    Bytes trailing = fixture::Concat(block, Bytes(17, 0xEE));
    EXPECT_EQ(UnpackBlock(trailing.data(), trailing.size(), out), kUnpackOk);
    EXPECT_EQ(out, body);
}

TEST(AppendedRecording, TrailerIsFoundOnlyWhenAllTwelveBytesMatch) {
    TTestFolder folder;
    auto path =
        WriteBytes(folder, "program", fixture::Concat(Bytes(50, 0), fixture::Trailer(7, 9)));
    uint32_t offset = 1, size = 1;
    EXPECT_TRUE(TPenReplayWT::FindAppendedRecording(path, &offset, &size));
    EXPECT_EQ(offset, 7u);
    EXPECT_EQ(size, 9u);
    EXPECT_TRUE(TPenReplayWT::FindAppendedRecording(path));

    for (int i = 0; i < 12; ++i) {
        Bytes trailer = fixture::Trailer(7, 9);
        trailer[size_t(i)] ^= 1;
        auto changed = WriteBytes(folder, "changed", fixture::Concat(Bytes(50, 0), trailer));
        EXPECT_FALSE(TPenReplayWT::FindAppendedRecording(changed, &offset, &size)) << i;
        EXPECT_EQ(offset, 0u);
        EXPECT_EQ(size, 0u);
    }
    Bytes nineteen = fixture::Trailer(7, 9);
    nineteen.erase(nineteen.begin());
    EXPECT_FALSE(TPenReplayWT::FindAppendedRecording(WriteBytes(folder, "short", nineteen)));
    EXPECT_FALSE(TPenReplayWT::FindAppendedRecording(folder.Path() / "missing"));
}

TEST(AppendedRecording, LoadAppendedResults) {
    TTestFolder folder;
    TPenReplayWT doc(1022, 718);
    EXPECT_EQ(doc.LoadAppended(WriteBytes(folder, "plain.stk", QuilBody20())), kLoadCannotOpen);
    EXPECT_EQ(doc.LoadAppended(folder.Path() / "missing"), kLoadCannotOpen);
    // A trailer naming a region beyond the file.
    Bytes beyond = fixture::Concat(QuilBody20(), fixture::Trailer(10, 1000));
    EXPECT_EQ(doc.LoadAppended(WriteBytes(folder, "beyond", beyond)), kLoadBadRegion);
    Bytes good = fixture::Appended(Bytes(100, 0xCC), QuilBody20());
    EXPECT_EQ(doc.LoadAppended(WriteBytes(folder, "good", good)), kLoadOk);
    // Through the viewer's road: any file that ends with the trailer.
    EXPECT_EQ(LoadRecording(doc, folder.Path() / "good"), kLoadOk);
    EXPECT_EQ(LoadRecording(doc, folder.Path() / "beyond"), kLoadBadRegion);
}

}  // namespace
}  // namespace quil
