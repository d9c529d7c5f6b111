// quil info FILE: the header, the counts and the page of a recording.

#include <cstdio>
#include <cstring>

#include "cli/cli_common.h"
#include "cli/cli_json.h"
#include "cli/commands.h"
#include "model/page_size.h"

namespace quil {

namespace {

const char kInfoUsage[] = "Usage: quil info FILE\n"
                          "Prints the header of the recording FILE and the number of its elements\n"
                          "as one JSON object.\n";

struct Counts {
    int64_t strokes = 0;
    int64_t stamps = 0;
    int64_t points = 0;
};

Counts CountElements(const TPenReplayWT& document) {
    Counts counts;
    for (const TInkelDataWT* e = document.firstElement; e != nullptr; e = e->next) {
        if (e->kind == kStampKind) {
            ++counts.stamps;
        } else {
            ++counts.strokes;
            counts.points += static_cast<const TStrokeDataWT*>(e)->pointCount;
        }
    }
    return counts;
}

void WriteInfo(TJsonOut& out, const TPenReplayWT& doc, bool selfContained) {
    const Counts counts = CountElements(doc);
    out.Raw("{");
    out.Key("magic", true);
    out.String(std::string(doc.magic, 4));
    out.Key("version");
    out.String(std::to_string(doc.version >> 16) + "." + std::to_string(doc.version & 0xFFFFu));
    out.Key("bodySize");
    out.Unsigned(doc.bodySize);
    out.Key("page");
    out.Raw("{\"width\": ");
    out.Int(doc.pageWidth);
    out.Raw(", \"height\": ");
    out.Int(doc.pageHeight);
    out.Raw("}");
    out.Key("title");
    out.Utf16String(doc.title.data(), doc.title.size());
    out.Key("extraText");
    out.Utf16String(doc.extraText.data(), doc.extraText.size());
    out.Key("elements");
    out.Int(doc.ElementCount());
    out.Key("strokes");
    out.Int(counts.strokes);
    out.Key("stamps");
    out.Int(counts.stamps);
    out.Key("points");
    out.Int(counts.points);
    out.Key("background");
    if (doc.background) {
        out.Raw("{\"mode\": ");
        out.Int(doc.backgroundMode);
        out.Raw(", \"placement\": ");
        out.Int(doc.backgroundPlacement);
        out.Raw(", \"width\": ");
        out.Int(doc.background->Width());
        out.Raw(", \"height\": ");
        out.Int(doc.background->Height());
        out.Raw("}");
    } else {
        out.Raw("null");
    }
    out.Key("grid");
    if (doc.gridCellSize != 0) {
        out.Raw("{\"cellSize\": ");
        out.Unsigned(doc.gridCellSize);
        out.Raw(", \"origin\": ");
        out.Unsigned(doc.gridOrigin);
        out.Raw(", \"cells\": ");
        out.Unsigned(doc.gridCells);
        out.Raw(", \"subdivisions\": ");
        out.Unsigned(doc.gridSubdivisions);
        out.Raw("}");
    } else {
        out.Raw("null");
    }
    out.Key("selfContained");
    out.Raw(selfContained ? "true" : "false");
    out.Raw("}");
}

}  // namespace

int RunInfo(int argc, char** argv) {
    ParsedArguments args;
    std::string error;
    if (!ParseArguments(argc, argv, {}, args, error)) return UsageError("info", error);
    if (args.help) {
        std::fputs(kInfoUsage, stdout);
        return kExitOk;
    }
    if (args.positional.size() != 1)
        return UsageError("info", args.positional.empty() ? "info: missing FILE"
                                                          : "info: only one FILE is taken");
    const std::string& file = args.positional[0];
    TPenReplayWT document(kDefaultPageWidth, kDefaultPageHeight);
    bool selfContained = false;
    if (int code = OpenOrReport(document, file, &selfContained); code != kLoadOk) return code;

    TJsonOut out(stdout);
    WriteInfo(out, document, selfContained);
    if (!out.Finish()) return OutputError(file, "the output", out.Error());
    return kExitOk;
}

}  // namespace quil
