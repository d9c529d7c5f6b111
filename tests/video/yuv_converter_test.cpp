// Converting only the part of a frame that changed gives the frame that
// converting the whole picture gives.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "video/display_frame.h"
#include "video/yuv_converter.h"

namespace quil::test {
namespace {

void Scribble(TBitmap& picture, const TRect& area, std::mt19937& rng) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left * 3; x < area.right * 3; ++x)
            picture.ScanLine(y)[x] = uint8_t(rng());
}

bool SamePlanes(const AVFrame* a, const AVFrame* b) {
    for (int plane = 0; plane < 3; ++plane) {
        const int shift = plane == 0 ? 0 : 1;
        for (int y = 0; y < a->height >> shift; ++y)
            if (std::memcmp(a->data[plane] + y * a->linesize[plane],
                            b->data[plane] + y * b->linesize[plane], size_t(a->width >> shift)))
                return false;
    }
    return true;
}

TEST(YuvConverter, APartConvertedAloneMatchesTheWholePicture) {
    for (const TFrameSize size : {TFrameSize{300, 200}, TFrameSize{64, 4}, TFrameSize{20, 2}}) {
        SCOPED_TRACE(size.width);
        std::mt19937 rng(7);
        TBitmap display;
        // One column and row more than the frame, as an odd display has.
        ASSERT_TRUE(display.Create(size.width + 1, size.height + 1));
        Scribble(display, {0, 0, size.width + 1, size.height + 1}, rng);
        TYuvConverter parts, whole;
        ASSERT_TRUE(parts.Open(size));
        ASSERT_TRUE(whole.Open(size));
        TFramePtr kept = NewFrame(AV_PIX_FMT_YUV420P, size);
        TFramePtr fresh = NewFrame(AV_PIX_FMT_YUV420P, size);
        const TRect all{0, 0, size.width, size.height};
        ASSERT_TRUE(parts.Convert(display, all, kept.get()));
        for (int round = 0; round < 200; ++round) {
            // Changes of any size and place, odd edges and single rows among them.
            std::uniform_int_distribution<int> x(0, size.width - 1), y(0, size.height - 1);
            const int x0 = x(rng), y0 = y(rng);
            const TRect changed{x0, y0, std::min(size.width, x0 + 1 + x(rng) % 40),
                                std::min(size.height, y0 + 1 + y(rng) % 7)};
            Scribble(display, changed, rng);
            ASSERT_TRUE(parts.Convert(display, changed, kept.get()));
            ASSERT_TRUE(whole.Convert(display, all, fresh.get()));
            ASSERT_TRUE(SamePlanes(kept.get(), fresh.get()))
                << "round " << round << ": " << changed.left << "," << changed.top << " "
                << changed.right << "," << changed.bottom;
        }
    }
}

}  // namespace
}  // namespace quil::test
