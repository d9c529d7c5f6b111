#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "model/inkel_data.h"
#include "model/point_arena.h"
#include "model/stamp_data.h"
#include "model/stroke_data.h"
#include "platform/bitmap.h"

namespace quil {

class TFileReader;

// Load result codes.
constexpr int kLoadOk = 0;
constexpr int kLoadCannotOpen = 1;    // cannot open, or no appended trailer
constexpr int kLoadSizeMismatch = 2;  // bodySize differs from the region size
constexpr int kLoadBadRegion = 3;     // region/magic/header/picture unusable
constexpr int kLoadUnpackFailed = 4;  // a packed block cannot be unpacked
constexpr int kLoadBadMajor = 5;      // major version other than 1
constexpr int kLoadNewerVersion = 6;  // minor version above 8

// One loaded recording: a flat list of elements in writing order on one
// page. The document owns its elements, their points and pictures. It is
// filled once by a loader and then only read.
class TPenReplayWT {
public:
    TPenReplayWT(int pageWidth, int pageHeight);
    ~TPenReplayWT();
    TPenReplayWT(const TPenReplayWT&) = delete;
    TPenReplayWT& operator=(const TPenReplayWT&) = delete;

    void ClearDocument();

    // Element cursor.
    int ElementCount() const;
    TInkelDataWT* FirstElement();
    TInkelDataWT* CurrentElement() const { return currentElement; }
    TInkelDataWT* NextElement();
    // Linear walk from the head; moves the cursor only when found and asked.
    TInkelDataWT* ElementAt(int index, bool moveCursor);
    // The same walk, leaving the cursor alone.
    const TInkelDataWT* ElementAt(int index) const;

    // The memory the points of every stroke take together.
    size_t PointBytes() const { return points_.Bytes(); }

    int GetPageWidth() const { return pageWidth; }
    int GetPageHeight() const { return pageHeight; }

    // Builder, used while a body is parsed.
    void SetPenColor(uint32_t color) { penColor = color; }
    void SetStampColor(uint32_t color) { stampColor = color; }
    // Adds a point to the open stroke, or opens a new stroke with it. A
    // point of radius 0 closes the open stroke (and belongs to it). Returns
    // the stroke that took the point, or none when memory ran out (the
    // document is then as before the call).
    TStrokeDataWT* AddPoint(float x, float y, float radius);
    // Appends a stamp and closes the open stroke; none when memory ran out.
    TStampDataWT* AddStamp(uint32_t recordTag, TBitmap picture, float x, float y, float width,
                           float height);

    // Loaders; each returns a load result code (kLoadOk on success) and
    // starts with ClearDocument.
    int LoadFile(const std::filesystem::path& path);
    int LoadAppended(const std::filesystem::path& path);
    // Parses the region [offset, offset + size) of an open reader, which
    // holds a body, a leading block or a packed block.
    int LoadBody(TFileReader& reader, uint32_t offset, uint32_t size);
    // Whether the file ends with an appended-recording trailer; gives the
    // recording's offset and size when it does.
    static bool FindAppendedRecording(const std::filesystem::path& path, uint32_t* offset = nullptr,
                                      uint32_t* size = nullptr);

    // Fields, public for the player and the exporters, which read them.
    uint32_t extraWord = 0;
    char magic[4] = {'Q', 'u', 'i', 'l'};
    uint32_t bodySize = 0;
    int32_t pageWidth = 0;
    int32_t pageHeight = 0;
    TInkelDataWT* firstElement = nullptr;
    TInkelDataWT* currentElement = nullptr;
    TInkelDataWT* lastElement = nullptr;
    uint32_t penEraser = 0;
    uint32_t penColor = 0;
    uint32_t penOpacity = 255;
    uint32_t stampColor = 255;
    bool strokeOpen = false;
    TStrokeDataWT* openStroke = nullptr;
    int32_t backgroundMode = 0;           // 0 none, 1 tiled, 2 placed
    int32_t backgroundPlacement = 0;      // mode 2: 0 fit, 1 stretch, 2 centre, 3 top-left
    std::unique_ptr<TBitmap> background;  // null: none
    std::array<char16_t, 256> title{};
    std::array<char16_t, 256> extraText{};
    uint32_t version = 0x10008;  // major << 16 | minor
    int32_t reservedWord = -1;
    // Grid words: low half unsigned 16 bits, high half the word >> 16
    // arithmetically.
    uint32_t gridCellSize = 0;  // 0: no grid
    uint32_t gridOrigin = 0;
    uint32_t gridCells = 0;
    uint32_t gridSubdivisions = 0;

private:
    void AppendElement(TInkelDataWT* element);

    // The points of every stroke; the strokes chain them.
    TPointArena points_;
};

// Low and high halves of a grid word as the player and exporter read them.
inline int GridLow(uint32_t word) { return int(word & 0xFFFFu); }
inline int GridHigh(uint32_t word) { return int(int32_t(word) >> 16); }

}  // namespace quil
