#include "model_test_support.h"

#include <cstdio>
#include <sstream>

namespace quil::test {

std::filesystem::path WriteBytes(const testing::TTestFolder& folder, const std::string& name,
                                 const fixture::Bytes& bytes) {
    return folder.Write(name, bytes);
}

int LoadBytes(TPenReplayWT& document, const fixture::Bytes& bytes) {
    testing::TTestFolder folder;
    return document.LoadFile(WriteBytes(folder, "body.stk", bytes));
}

std::vector<PointValue> PointsOf(const TInkelDataWT* element) {
    std::vector<PointValue> points;
    if (element == nullptr || element->kind != kStrokeKind) return points;
    auto* stroke = static_cast<const TStrokeDataWT*>(element);
    for (const TPenReplayPointWT* p = stroke->firstPoint; p; p = p->next)
        points.push_back({p->x, p->y, p->radius});
    return points;
}

std::string Describe(const TPenReplayWT& doc) {
    std::ostringstream out;
    out.precision(9);
    out << std::string(doc.magic, 4) << " v" << std::hex << doc.version << std::dec << " page "
        << doc.pageWidth << "x" << doc.pageHeight << " grid " << doc.gridCellSize << ","
        << doc.gridOrigin << "," << doc.gridCells << "," << doc.gridSubdivisions << " bg "
        << doc.backgroundMode << "/" << doc.backgroundPlacement << "/"
        << (doc.background ? doc.background->Width() : -1) << "\n";
    for (const TInkelDataWT* e = doc.firstElement; e; e = e->next) {
        out << e->index << " kind " << e->kind << " color " << e->color << " tag " << e->recordTag
            << " box " << e->maxRadius << " " << e->minX << " " << e->minY << " " << e->maxX << " "
            << e->maxY;
        if (e->kind == kStrokeKind) {
            auto* s = static_cast<const TStrokeDataWT*>(e);
            out << " op " << s->opacity << " er " << s->eraser << " aux " << s->recordAux << " n "
                << s->pointCount << ":";
            for (const TPenReplayPointWT* p = s->firstPoint; p; p = p->next)
                out << " " << p->x << "," << p->y << "," << p->radius;
        } else {
            auto* s = static_cast<const TStampDataWT*>(e);
            out << " stamp " << s->x << "," << s->y << "," << s->width << "," << s->height << " "
                << s->picture.Width() << "x" << s->picture.Height();
        }
        out << "\n";
    }
    return out.str();
}

}  // namespace quil::test
