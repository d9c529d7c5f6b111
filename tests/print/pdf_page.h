#pragma once

#include <QPageSize>
#include <QPrinter>
#include <cstdint>
#include <filesystem>

#include "picture_decoders.h"
#include "platform/bitmap.h"

namespace quil::testing {

// Makes `printer` print to the PDF file `pdf` at `dpi` dots per inch on
// paper of `size`.
void MakePdfPrinter(QPrinter& printer, const std::filesystem::path& pdf, int dpi,
                    QPageSize::PageSizeId size);

// Rasterises the first page of a PDF at `dpi` dots per inch into an RGBA
// picture, with poppler's cairo rasteriser (pdftocairo): an image whose
// edges fall on whole pixels comes out pixel for pixel, where poppler's
// own rasteriser (pdftoppm) widens it by a pixel and so resamples it.
// False when the rasteriser fails or writes no picture.
bool RasterisePdf(const std::filesystem::path& pdf, int dpi, TRgbaPicture& page);

// The first picture stored in a PDF, at its own pixels, as poppler's
// pdfimages writes it; false when there is none.
bool FirstPdfPicture(const std::filesystem::path& pdf, TRgbaPicture& picture);

// How far a 24-bit picture is from the part of a page whose top-left corner
// is (x, y): the largest difference of one channel. Pixels beyond the page
// count as differing by 255.
int LargestDifference(const TRgbaPicture& page, int x, int y, const TBitmap& picture);

// The largest difference of one channel between the means of the 8 x 8
// blocks of a 24-bit picture and of the part of a page whose top-left
// corner is (x, y), which must lie on the page: how far two renderings
// whose edges may fall a pixel apart differ in what they show.
int LargestBlockDifference(const TRgbaPicture& page, int x, int y, const TBitmap& picture);

}  // namespace quil::testing
