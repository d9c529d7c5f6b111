// Parsing of recording bodies ("Quil", "Qui2", "Qui3" minor 0 to 8), with
// the leading ("qUIC") and packed ("qUID") blocks in front of them.

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "model/document.h"
#include "model/packed_block.h"
#include "platform/big_block.h"
#include "platform/bitmap.h"
#include "platform/bmp_decoder.h"
#include "platform/file_reader.h"
#include "platform/little_endian.h"
#include "platform/memory_budget.h"
#include "platform/text_codec.h"

namespace quil {

namespace {

constexpr uint32_t kMinimumRegion = 20;
constexpr int32_t kLargestPageSide = 32767;
// Each stored point becomes S points in memory; beyond this the count is
// taken for damage rather than a refinement any pen would ask for.
constexpr int32_t kLargestSubdivision = 1024;
// What one point may cost in memory: its place in the document's point
// arena and, at worst (every other point lifts the pen), half a stroke with
// the allocator's bookkeeping.
constexpr uint64_t kAllocationOverhead = 16;
constexpr uint64_t kBytesPerPoint =
    sizeof(TPenReplayPointWT) + (sizeof(TStrokeDataWT) + kAllocationOverhead) / 2;
// Record kinds besides the element kinds: a stroke without its aux, eraser
// and opacity words, and the background picture.
constexpr int32_t kPlainStrokeRecord = 0;
constexpr int32_t kBackgroundRecord = 5;

float LoadF32(const uint8_t* p) {
    uint32_t bits = LoadU32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Sequential reads of a body region held in memory, never past its end.
class RegionReader {
public:
    // The region lies in `block`, whose front may be given back as it is
    // read (ReleaseRead).
    RegionReader(const TBigBlock& block, const uint8_t* data, uint64_t size)
        : at_(data), remaining_(size), block_(block) {}

    uint64_t Remaining() const { return remaining_; }
    const uint8_t* At() const { return at_; }
    // The next `count` bytes, or none when fewer are left.
    const uint8_t* Take(size_t count) {
        if (count > remaining_) return nullptr;
        const uint8_t* taken = at_;
        at_ += count;
        remaining_ -= count;
        return taken;
    }
    bool Bytes(void* out, size_t count) {
        const uint8_t* p = Take(count);
        if (p) std::memcpy(out, p, count);
        return p != nullptr;
    }
    bool U32(uint32_t& value) {
        const uint8_t* p = Take(4);
        if (p) value = LoadU32(p);
        return p != nullptr;
    }
    bool I32(int32_t& value) {
        uint32_t word;
        if (!U32(word)) return false;
        value = int32_t(word);
        return true;
    }
    bool F32(float& value) {
        const uint8_t* p = Take(4);
        if (p) value = LoadF32(p);
        return p != nullptr;
    }
    bool Skip(uint64_t count) {
        if (count > remaining_) return false;
        at_ += count;
        remaining_ -= count;
        return true;
    }
    // Gives back the memory of what has been read, every few megabytes: a
    // region is read once, and its points take more room than it does.
    void ReleaseRead() {
        if (size_t(at_ - block_.get()) < released_ + kReleaseStep) return;
        released_ = size_t(at_ - block_.get());
        ReleaseBigBlockFront(block_, released_);
    }

private:
    static constexpr size_t kReleaseStep = size_t(8) << 20;

    const uint8_t* at_;
    uint64_t remaining_;
    const TBigBlock& block_;
    size_t released_ = 0;
};

enum class PointForm { Float, Integer };

struct BodyFormat {
    unsigned minor = 1;
    bool textsUtf16 = false;
    bool tagged = false;  // record heads carry a tag
    PointForm pointForm = PointForm::Float;
    int32_t subdivision = 1;
    float pointScale = 1.0f;
};

// What a record step tells the loop.
enum class Step { Next, End, Fail };

class BodyParser {
public:
    BodyParser(TPenReplayWT& document, RegionReader& region, const BodyFormat& format)
        : doc_(document), in_(region), format_(format) {}

    Step Record();

private:
    bool ReadPoint(PointForm form, TPenReplayPointWT& point);
    bool RoomForRecord(int32_t count);
    bool RoomFor(uint64_t bytes);
    Step StrokeRecord(int32_t kind, uint32_t tag);
    Step StampRecord(uint32_t tag);
    Step BackgroundRecord();
    Step ReadPicture(TBitmap& picture);

    TPenReplayWT& doc_;
    RegionReader& in_;
    const BodyFormat& format_;
    // What the process could still allocate when the parse began, and what
    // the elements built since then are expected to take of it.
    const uint64_t budget_ = AllocatableBytes();
    uint64_t committed_ = 0;
};

bool BodyParser::ReadPoint(PointForm form, TPenReplayPointWT& point) {
    if (form == PointForm::Float) {
        const uint8_t* b = in_.Take(16);
        if (!b) return false;
        point.x = LoadF32(b);
        point.y = LoadF32(b + 4);
        point.radius = LoadF32(b + 8);
        return true;
    }
    const uint8_t* b = in_.Take(12);
    if (!b) return false;
    const double scale = format_.pointScale;
    point.x = float(double(int32_t(LoadU32(b))) / scale);
    point.y = float(double(int32_t(LoadU32(b + 4))) / scale);
    point.radius = float(double(int32_t(LoadU32(b + 8))) / scale);
    return true;
}

// Whether the points a stroke record of `count` stored points will produce
// fit in memory, asked before any of them is made. A count larger than the
// region can hold is held to what the region holds.
bool BodyParser::RoomForRecord(int32_t count) {
    const uint64_t smallest = format_.pointForm == PointForm::Float ? 16 : 12;
    const uint64_t stored = std::min<uint64_t>(uint64_t(count), in_.Remaining() / smallest + 1);
    const uint64_t produced = 1 + (stored - 1) * uint64_t(std::max(format_.subdivision, 1));
    return RoomFor(produced * kBytesPerPoint);
}

bool BodyParser::RoomFor(uint64_t bytes) {
    if (committed_ + bytes > budget_) return false;
    committed_ += bytes;
    return true;
}

Step BodyParser::StrokeRecord(int32_t kind, uint32_t tag) {
    uint32_t aux = 0;
    int32_t count = 0;
    if (kind == kStrokeKind && !in_.U32(aux)) return Step::End;
    if (!in_.I32(count)) return Step::End;
    if (kind == kStrokeKind) {
        if (!in_.U32(doc_.penEraser) || !in_.U32(doc_.penOpacity)) return Step::End;
    } else {
        doc_.penEraser = 0;
        doc_.penOpacity = 255;
    }
    // A negative count is damage: the record, and the body, end here.
    if (count <= 0) return count == 0 ? Step::Next : Step::End;

    if (!RoomForRecord(count)) return Step::Fail;

    const bool subdivide = format_.subdivision >= 2;
    TPenReplayPointWT p;
    if (!ReadPoint(subdivide ? PointForm::Float : format_.pointForm, p)) return Step::End;
    TStrokeDataWT* stroke = doc_.AddPoint(p.x, p.y, p.radius);
    if (!stroke) return Step::Fail;
    stroke->recordTag = tag;
    stroke->recordAux = aux;

    const int32_t s = format_.subdivision;
    for (int32_t i = 1; i < count; ++i) {
        TPenReplayPointWT q;
        if (!ReadPoint(format_.pointForm, q)) return Step::End;
        if (subdivide) {
            // D = (Q - P) / S per component, rounded to float32; then
            // P + k * D, rounded to float32, for k = 1 .. S - 1.
            const float dx = float((double(q.x) - double(p.x)) / s);
            const float dy = float((double(q.y) - double(p.y)) / s);
            const float dr = float((double(q.radius) - double(p.radius)) / s);
            for (int32_t k = 1; k < s; ++k) {
                if (!doc_.AddPoint(float(double(p.x) + k * double(dx)),
                                   float(double(p.y) + k * double(dy)),
                                   float(double(p.radius) + k * double(dr))))
                    return Step::Fail;
            }
        }
        if (!doc_.AddPoint(q.x, q.y, q.radius)) return Step::Fail;
        p = q;
    }
    return Step::Next;
}

Step BodyParser::ReadPicture(TBitmap& picture) {
    uint32_t length = 0;
    if (!in_.U32(length)) return Step::End;
    // A picture that runs past the region cannot be decoded.
    const uint8_t* bytes = in_.Take(length);
    if (!bytes) return Step::Fail;
    if (!DecodeBmp(bytes, length, picture)) return Step::Fail;
    // The points that follow have this much less room.
    committed_ += picture.ByteSize();
    return Step::Next;
}

Step BodyParser::StampRecord(uint32_t tag) {
    float x, y, width, height;
    if (!in_.F32(x) || !in_.F32(y) || !in_.F32(width) || !in_.F32(height)) return Step::End;
    TBitmap picture;
    if (Step step = ReadPicture(picture); step != Step::Next) return step;
    if (!doc_.AddStamp(tag, std::move(picture), x, y, width, height)) return Step::Fail;
    return Step::Next;
}

Step BodyParser::BackgroundRecord() {
    int32_t mode, placement;
    if (!in_.I32(mode) || !in_.I32(placement)) return Step::End;
    doc_.backgroundMode = mode;
    doc_.backgroundPlacement = placement;
    TBitmap picture;
    if (Step step = ReadPicture(picture); step != Step::Next) return step;
    // A later background replaces an earlier one.
    doc_.background.reset(new (std::nothrow) TBitmap(std::move(picture)));
    return doc_.background ? Step::Next : Step::Fail;
}

Step BodyParser::Record() {
    int32_t kind;
    uint32_t color, tag = 0;
    if (!in_.I32(kind)) return Step::End;
    if (!in_.U32(color)) return Step::End;
    if (format_.tagged && !in_.U32(tag)) return Step::End;
    switch (kind) {
    case kPlainStrokeRecord:
    case kStrokeKind: doc_.SetPenColor(color); return StrokeRecord(kind, tag);
    case kStampKind: doc_.SetStampColor(color); return StampRecord(tag);
    case kBackgroundRecord: return BackgroundRecord();
    default: return Step::Next;  // a record of another kind is its head alone
    }
}

// Reads one header text: 256 ANSI bytes or 256 UTF-16LE units.
bool ReadText(RegionReader& in, bool utf16, std::array<char16_t, 256>& text) {
    uint8_t bytes[512];
    if (!utf16) {
        if (!in.Bytes(bytes, 256)) return false;
        DecodeAnsiText(bytes, 256, text.data(), text.size());
        return true;
    }
    if (!in.Bytes(bytes, 512)) return false;
    for (size_t i = 0; i < 256; ++i)
        text[i] = char16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return true;
}

// Header after the page size, by generation.
bool ReadHeaderRest(TPenReplayWT& doc, RegionReader& in, BodyFormat& format) {
    if (std::memcmp(doc.magic, "Quil", 4) == 0) {
        doc.title.fill(0);
        doc.extraText.fill(0);
        doc.reservedWord = -1;
        doc.gridCellSize = doc.gridOrigin = doc.gridCells = doc.gridSubdivisions = 0;
        format.subdivision = 1;
        return true;
    }
    if (!ReadText(in, format.textsUtf16, doc.title) ||
        !ReadText(in, format.textsUtf16, doc.extraText))
        return false;
    if (!in.I32(doc.reservedWord) || !in.I32(format.subdivision) || !in.U32(doc.gridCellSize))
        return false;
    if (std::memcmp(doc.magic, "Qui2", 4) == 0) {
        doc.gridOrigin = doc.gridCells = doc.gridSubdivisions = 0;
        return true;
    }
    if (!in.U32(doc.gridOrigin) || !in.U32(doc.gridCells)) return false;
    doc.gridSubdivisions = 0;
    if (format.minor >= 6 && !in.U32(doc.gridSubdivisions)) return false;
    if (format.minor >= 7) {
        int32_t scale;
        if (!in.I32(scale)) return false;
        if (scale == 0) return false;  // every point would divide by zero
        format.pointScale = float(scale);
    }
    if (format.minor >= 8 && !in.U32(doc.extraWord)) return false;
    return true;
}

// Parses a plain body whose magic has been read into doc.magic; `in` holds
// the rest of the region, whose whole size is `size`.
int ParseBody(TPenReplayWT& doc, RegionReader& in, uint32_t size) {
    if (std::memcmp(doc.magic, "Quil", 4) == 0) {
        doc.version = 0x10001;
    } else if (std::memcmp(doc.magic, "Qui2", 4) == 0) {
        doc.version = 0x10002;
    } else if (std::memcmp(doc.magic, "Qui3", 4) == 0) {
        if (!in.U32(doc.version)) return kLoadBadRegion;
    } else {
        return kLoadBadRegion;
    }
    if ((doc.version >> 16) != 1) return kLoadBadMajor;
    BodyFormat format;
    format.minor = doc.version & 0xFFFFu;
    if (format.minor > 8) return kLoadNewerVersion;
    format.textsUtf16 = std::memcmp(doc.magic, "Qui3", 4) == 0 && format.minor >= 4;
    format.pointForm = format.minor >= 7 ? PointForm::Integer : PointForm::Float;
    format.tagged = format.minor == 8;

    if (!in.U32(doc.bodySize)) return kLoadBadRegion;
    if (doc.bodySize != size) return kLoadSizeMismatch;
    if (!in.Skip(4) || !in.I32(doc.pageWidth) || !in.I32(doc.pageHeight)) return kLoadBadRegion;
    // Later stages divide by the page size and allocate by it.
    if (doc.pageWidth < 1 || doc.pageWidth > kLargestPageSide || doc.pageHeight < 1 ||
        doc.pageHeight > kLargestPageSide)
        return kLoadBadRegion;
    if (!ReadHeaderRest(doc, in, format)) return kLoadBadRegion;
    if (format.subdivision > kLargestSubdivision) return kLoadBadRegion;

    BodyParser parser(doc, in, format);
    while (in.Remaining() >= 4) {
        Step step = parser.Record();
        if (step == Step::Fail) return kLoadBadRegion;
        if (step == Step::End) break;
        in.ReleaseRead();
    }
    return kLoadOk;
}

// Unpacks the packed block (`size` bytes from its magic on, inside
// `region`, which is freed once the block is unpacked) and parses the body
// it holds.
int LoadPacked(TPenReplayWT& doc, TBigBlock& region, const uint8_t* block, uint32_t size) {
    TUnpackedBody body;
    if (UnpackBlock(block, size, body) != kUnpackOk) return kLoadUnpackFailed;
    region.reset();  // the packed copy goes before the parse

    if (body.size < kMinimumRegion) return kLoadBadRegion;
    RegionReader in(body.bytes, body.bytes.get(), body.size);
    if (!in.Bytes(doc.magic, 4)) return kLoadBadRegion;
    return ParseBody(doc, in, uint32_t(body.size));
}

// The region [offset, offset + size): a body, or a leading block, or a
// packed block, or both blocks. It is read in one piece and parsed from
// memory.
int LoadRegion(TPenReplayWT& doc, TFileReader& file, uint32_t offset, uint32_t size) {
    // Computed in 64 bits so that a region near 4 GiB cannot wrap round.
    if (uint64_t(offset) + size > file.Length() || size < kMinimumRegion) return kLoadBadRegion;
    // Memory that cannot be had ends the load as a region that cannot be
    // used.
    TBigBlock region = AllocateBigBlock(size);
    if (!region || !file.Seek(offset) || !file.ReadExact(region.get(), size)) return kLoadBadRegion;
    RegionReader in(region, region.get(), size);
    if (!in.Bytes(doc.magic, 4)) return kLoadBadRegion;

    if (std::memcmp(doc.magic, "qUIC", 4) == 0) {
        // A leading block: its content is skipped, the rest of the region
        // holds the body or the packed block.
        uint32_t contentLength;
        if (!in.U32(contentLength)) return kLoadBadRegion;
        if (uint64_t(contentLength) + 8 + kMinimumRegion > size) return kLoadBadRegion;
        if (!in.Skip(contentLength)) return kLoadBadRegion;
        size -= contentLength + 8;
        if (!in.Bytes(doc.magic, 4)) return kLoadBadRegion;
    }
    if (std::memcmp(doc.magic, "qUID", 4) == 0) return LoadPacked(doc, region, in.At() - 4, size);
    return ParseBody(doc, in, size);
}

}  // namespace

int TPenReplayWT::LoadBody(TFileReader& file, uint32_t offset, uint32_t size) {
    // The loader allocates without throwing; this keeps any allocation
    // failure that a library call may still raise inside the load, as code 3.
    try {
        return LoadRegion(*this, file, offset, size);
    } catch (const std::bad_alloc&) {
        return kLoadBadRegion;
    }
}

int TPenReplayWT::LoadFile(const std::filesystem::path& path) {
    ClearDocument();
    TFileReader file;
    if (!file.Open(path)) return kLoadCannotOpen;
    // A file beyond 4 GiB cannot be a body: its length does not fit the
    // region size word.
    if (file.Length() > UINT32_MAX) return kLoadBadRegion;
    return LoadBody(file, 0, uint32_t(file.Length()));
}

}  // namespace quil
