#include <gtest/gtest.h>

#include "export/image_file_name.h"

namespace quil {
namespace {

TEST(ImageFileName, ChosenTypeAlwaysDecidesTheExtension) {
    struct Case {
        const char* chosen;
        int filter;
        const char* written;
    };
    const Case cases[] = {
        {"page", 3, "page.png"},
        {"scan.png", 1, "scan.bmp"},
        {"page.jpeg", 2, "page.jpg"},
        {"a.b.c", 3, "a.b.png"},
        {"/tmp/my.dir/page", 1, "/tmp/my.dir/page.bmp"},
        {"/tmp/my.dir/page.svgz", 4, "/tmp/my.dir/page.svgz"},
        {"page.", 3, "page.png"},
        {"/home/u/.hidden", 3, "/home/u/.png"},  // from the last dot, as for any name
        {"page", 0, "page.bmp"},
        {"page", 5, "page.bmp"},
        {"page", -1, "page.bmp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageFileName(c.chosen, c.filter).native(), c.written)
            << c.chosen << " " << c.filter;
}

TEST(ImageFileName, FilterIndexChoosesTheWriter) {
    EXPECT_EQ(ImageTypeForFilter(1), TImageType::Bitmap);
    EXPECT_EQ(ImageTypeForFilter(2), TImageType::Jpeg);
    EXPECT_EQ(ImageTypeForFilter(3), TImageType::Png);
    EXPECT_EQ(ImageTypeForFilter(4), TImageType::Svgz);
    EXPECT_EQ(ImageTypeForFilter(7), TImageType::Bitmap);
}

}  // namespace
}  // namespace quil
