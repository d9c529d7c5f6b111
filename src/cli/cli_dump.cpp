// quil dump FILE: every element of a recording with its points.

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "cli/cli_common.h"
#include "cli/cli_json.h"
#include "cli/commands.h"
#include "model/page_size.h"

namespace quil {

namespace {

const char kDumpUsage[] = "Usage: quil dump FILE\n"
                          "Prints the page and every element of the recording FILE, in order, as\n"
                          "one JSON object.\n";

// A JSON array of floats: [a, b, ...].
void WriteFloats(TJsonOut& out, std::initializer_list<float> values) {
    out.Raw("[");
    for (const float* v = values.begin(); v != values.end(); ++v) {
        if (v != values.begin()) out.Raw(", ");
        out.Float(*v);
    }
    out.Raw("]");
}

void WriteBox(TJsonOut& out, const TInkelDataWT& e) {
    out.Key("box");
    if (e.maxRadius < 0.0f) {
        out.Raw("null");
        return;
    }
    WriteFloats(out, {e.minX, e.minY, e.maxX, e.maxY});
}

void WriteStroke(TJsonOut& out, const TStrokeDataWT& s) {
    out.Raw("\"stroke\"");
    out.Key("color");
    out.Unsigned(s.color);
    out.Key("opacity");
    out.Unsigned(s.opacity);
    out.Key("eraser");
    out.Unsigned(s.eraser);
    out.Key("recordTag");
    out.Unsigned(s.recordTag);
    out.Key("recordAux");
    out.Unsigned(s.recordAux);
    out.Key("maxRadius");
    out.Float(s.maxRadius);
    WriteBox(out, s);
    out.Key("points");
    out.Raw("[");
    for (const TPenReplayPointWT* p = s.firstPoint; p != nullptr; p = p->next) {
        if (p != s.firstPoint) out.Raw(", ");
        WriteFloats(out, {p->x, p->y, p->radius});
    }
    out.Raw("]");
}

void WriteStamp(TJsonOut& out, const TStampDataWT& s) {
    out.Raw("\"stamp\"");
    out.Key("color");
    out.Unsigned(s.color);
    out.Key("recordTag");
    out.Unsigned(s.recordTag);
    out.Key("x");
    out.Float(s.x);
    out.Key("y");
    out.Float(s.y);
    out.Key("width");
    out.Float(s.width);
    out.Key("height");
    out.Float(s.height);
    out.Key("picture");
    out.Raw("{\"width\": ");
    out.Int(s.picture.Width());
    out.Raw(", \"height\": ");
    out.Int(s.picture.Height());
    out.Raw("}");
}

void WriteDump(TJsonOut& out, const TPenReplayWT& doc) {
    out.Raw("{\"page\": {\"width\": ");
    out.Int(doc.pageWidth);
    out.Raw(", \"height\": ");
    out.Int(doc.pageHeight);
    out.Raw("},\n \"elements\": [");
    for (const TInkelDataWT* e = doc.firstElement; e != nullptr; e = e->next) {
        out.Raw(e == doc.firstElement ? "\n  {" : ",\n  {");
        out.Key("index", true);
        out.Int(e->index);
        out.Key("kind");
        if (e->kind == kStampKind)
            WriteStamp(out, *static_cast<const TStampDataWT*>(e));
        else
            WriteStroke(out, *static_cast<const TStrokeDataWT*>(e));
        out.Raw("}");
    }
    out.Raw("]}");
}

}  // namespace

int RunDump(int argc, char** argv) {
    ParsedArguments args;
    std::string error;
    if (!ParseArguments(argc, argv, {}, args, error)) return UsageError("dump", error);
    if (args.help) {
        std::fputs(kDumpUsage, stdout);
        return kExitOk;
    }
    if (args.positional.size() != 1)
        return UsageError("dump", args.positional.empty() ? "dump: missing FILE"
                                                          : "dump: only one FILE is taken");
    const std::string& file = args.positional[0];
    TPenReplayWT document(kDefaultPageWidth, kDefaultPageHeight);
    if (int code = OpenOrReport(document, file); code != kLoadOk) return code;

    TJsonOut out(stdout);
    WriteDump(out, document);
    if (!out.Finish()) return OutputError(file, "the output", out.Error());
    return kExitOk;
}

}  // namespace quil
