// quil-make-fuzz-inputs FOLDER: writes the small initial corpus of each fuzz
// target into FOLDER/<target>/ with the recording writer.

#include <cstdio>
#include <filesystem>
#include <string>

#include "recording_writer.h"

using namespace quil::fixture;

namespace {

void Put(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(folder);
    WriteFile(folder / name, bytes);
}

Bytes Body(uint16_t minor, Generation generation = Generation::Qui3) {
    Header h;
    h.generation = generation;
    h.minor = minor;
    h.pageWidth = 200;
    h.pageHeight = 100;
    h.title = u"t";
    h.ansiTitle = "t";
    h.subdivision = minor == 7 ? 2 : 1;
    h.pointScale = 10;
    h.gridCellSize = 0x00100010;
    TRecordingWriter w(h);
    w.Stroke({{1, 1, 2}, {3, 1, 2}, {5, 1, 0}}, {.kind = 7, .color = 0xFF, .tag = 1});
    w.Stroke({{6, 6, 1}, {7, 7, 1}}, {.kind = 0});
    w.Record(3, 0);
    w.Stamp(10, 10, 5, 5, EncodeBmp(PatternPicture(3, 2)));
    w.Background(1, 0, EncodeBmp(PatternPicture(2, 2, 2), {.bitsPerPixel = 1}));
    return w.Body();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("Usage: quil-make-fuzz-inputs FOLDER\n", stderr);
        return 64;
    }
    const std::filesystem::path root = argv[1];
    const auto body = root / "fuzz_load_body";
    Put(body, "quil", Body(1, Generation::Quil));
    Put(body, "qui2", Body(2, Generation::Qui2));
    for (uint16_t minor : {0, 4, 6, 7, 8})
        Put(body, "qui3_" + std::to_string(minor), Body(minor));
    Put(body, "leading", LeadingBlock(Bytes(4, 0), Body(8)));
    Put(body, "packed", LeadingBlock(Bytes(4, 0), Packed(Body(8))));

    const auto bmp = root / "fuzz_bmp_decoder";
    Picture p = PatternPicture(5, 3, 4);
    Put(bmp, "rgb24", EncodeBmp(p));
    Put(bmp, "core8", EncodeBmp(p, {.bitsPerPixel = 8, .headerSize = 12}));
    Put(bmp, "pal4_topdown", EncodeBmp(p, {.bitsPerPixel = 4, .topDown = true}));
    Put(bmp, "pal1", EncodeBmp(PatternPicture(9, 2, 2), {.bitsPerPixel = 1}));
    Put(bmp, "rle8", EncodeBmp(p, {.bitsPerPixel = 8, .compression = BmpCompression::Rle8}));
    Put(bmp, "rle4", EncodeBmp(p, {.bitsPerPixel = 4, .compression = BmpCompression::Rle4}));
    Put(bmp, "fields16_v5",
        EncodeBmp(
            p, {.bitsPerPixel = 16, .headerSize = 124, .compression = BmpCompression::Bitfields}));
    Put(bmp, "rgb32_v4", EncodeBmp(p, {.bitsPerPixel = 32, .headerSize = 108}));

    const auto language = root / "fuzz_language_file";
    const std::string ini = "; c\n[Header]\nVersion=2\n[Data]\n000=\"Print\"\n016= Imprimer \n";
    Put(language, "utf8", Bytes(ini.begin(), ini.end()));
    Bytes utf16 = {0xFF, 0xFE};
    for (char c : ini) {
        utf16.push_back(uint8_t(c));
        utf16.push_back(0);
    }
    Put(language, "utf16", utf16);
    Put(language, "big5",
        {'[', 'D', 'a', 't', 'a', ']', '\r', '\n', '0', '=', 0xA6, 0x43, 0xA6, 0x4C});
    return 0;
}
