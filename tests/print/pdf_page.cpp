#include "pdf_page.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "run_tool.h"

namespace quil::testing {

bool RasterisePdf(const std::filesystem::path& pdf, int dpi, TRgbaPicture& page) {
    const std::filesystem::path prefix = pdf.parent_path() / (pdf.stem().string() + "-page");
    const test::ToolRun run =
        test::RunProgram("pdftocairo", {"-r", std::to_string(dpi), "-png", "-singlefile", "-f", "1",
                                        "-l", "1", pdf.string(), prefix.string()});
    if (run.status != 0) return false;
    return DecodePng(ReadWholeFile(prefix.string() + ".png"), page);
}

bool FirstPdfPicture(const std::filesystem::path& pdf, TRgbaPicture& picture) {
    const std::filesystem::path prefix = pdf.parent_path() / (pdf.stem().string() + "-picture");
    const test::ToolRun run = test::RunProgram(
        "pdfimages", {"-png", "-f", "1", "-l", "1", pdf.string(), prefix.string()});
    // pdfimages numbers the pictures it writes: PREFIX-000.png, -001, ...
    const auto name = [&](int i) {
        char number[16];
        std::snprintf(number, sizeof number, "-%03d.png", i);
        return prefix.string() + number;
    };
    const bool read = run.status == 0 && DecodePng(ReadWholeFile(name(0)), picture);
    for (int i = 0; std::filesystem::remove(name(i)); ++i) {}
    return read;
}

void MakePdfPrinter(QPrinter& printer, const std::filesystem::path& pdf, int dpi,
                    QPageSize::PageSizeId size) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printer.setResolution(dpi);
    printer.setPageSize(QPageSize(size));
}

int LargestDifference(const TRgbaPicture& page, int x, int y, const TBitmap& picture) {
    int largest = 0;
    for (int row = 0; row < picture.Height(); ++row) {
        const uint8_t* p = picture.ScanLine(row);
        for (int column = 0; column < picture.Width(); ++column, p += 3) {
            const int px = x + column, py = y + row;
            int worst = 255;
            if (px >= 0 && py >= 0 && px < page.width && py < page.height) {
                const uint8_t* q = page.At(px, py);
                worst =
                    std::max({std::abs(q[0] - p[2]), std::abs(q[1] - p[1]), std::abs(q[2] - p[0])});
            }
            largest = std::max(largest, worst);
        }
    }
    return largest;
}

int LargestBlockDifference(const TRgbaPicture& page, int x, int y, const TBitmap& picture) {
    constexpr int kBlock = 8;
    int largest = 0;
    for (int by = 0; by + kBlock <= picture.Height(); by += kBlock)
        for (int bx = 0; bx + kBlock <= picture.Width(); bx += kBlock)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int j = 0; j < kBlock; ++j) {
                    const uint8_t* p = picture.ScanLine(by + j) + 3 * bx;
                    for (int i = 0; i < kBlock; ++i)
                        sum += page.At(x + bx + i, y + by + j)[c] - p[3 * i + 2 - c];
                }
                largest = std::max(largest, std::abs(sum) / (kBlock * kBlock));
            }
    return largest;
}

}  // namespace quil::testing
