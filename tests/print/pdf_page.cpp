#include "pdf_page.h"

#include <algorithm>
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

TPictureComparison ComparePicture(const TRgbaPicture& page, int x, int y, const TBitmap& picture,
                                  int tolerance) {
    TPictureComparison result;
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
            result.largestDifference = std::max(result.largestDifference, worst);
            result.pixelsBeyondTolerance += worst > tolerance;
        }
    }
    return result;
}

}  // namespace quil::testing
