#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/base64.h"

namespace quil {
namespace {

std::string Encode(const std::string& s) {
    return EncodeBase64(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

TEST(Base64, ShortInputsAndPadding) {
    EXPECT_EQ(Encode(""), "");
    EXPECT_EQ(Encode("abc"), "YWJj");
    EXPECT_EQ(Encode("abcd"), "YWJjZA==");
    EXPECT_EQ(Encode("abcde"), "YWJjZGU=");
    const uint8_t high[3] = {0xFB, 0xFF, 0xBF};
    EXPECT_EQ(EncodeBase64(high, 3), "+/+/");
}

TEST(Base64, LineFeedFollowsEveryNineteenthFullGroup) {
    const std::vector<uint8_t> bytes(200, 0x41);
    struct Case {
        size_t length;
        size_t characters;
        bool endsWithLineFeed;
    };
    const Case cases[] = {
        {56, 76, false},  // 18 full groups and a padded one: no line feed
        {57, 77, true},   // 19 full groups: the line feed follows the last one
        {58, 81, false},  // the padded group after the line is not broken again
        {114, 154, true},
    };
    for (const Case& c : cases) {
        const std::string text = EncodeBase64(bytes.data(), c.length);
        EXPECT_EQ(text.size(), c.characters) << c.length;
        EXPECT_EQ(!text.empty() && text.back() == '\n', c.endsWithLineFeed) << c.length;
        for (size_t i = 0; i < text.size(); ++i)
            EXPECT_EQ(text[i] == '\n', (i + 1) % 77 == 0) << "length " << c.length << " at " << i;
    }
}

}  // namespace
}  // namespace quil
