#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "runtime/array.h"
#include "runtime/kzstring.h"
#include "tests/support/utf8.h"

namespace {

TEST(StringTest, NumberTextFollowsPercentIAndPercentDot17gWithDotZeroAppended) {
    const struct { float value; const char* text; } cases[] = {
        {1.0f, "1.0"}, {0.5f, "0.5"}, {0.1f, "0.10000000149011612"}, {100.0f, "100.0"}, {-0.5f, "-0.5"},
        {-0.0f, "-0.0"}, {0.0f, "0.0"}, {1.0e20f, "1.0000000200408773e+20"}, {1.0e-20f, "9.9999996826552254e-21"},
        {16777216.0f, "16777216.0"}, {std::numeric_limits<float>::max(), "3.4028234663852886e+38"},
        {std::numeric_limits<float>::denorm_min(), "1.4012984643248171e-45"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8(String(c.value)), c.text) << c.text;
    for (const int value : {0, -7, 2147483647, std::numeric_limits<int>::min()}) EXPECT_EQ(Utf8(String(value)), std::to_string(value));
}

TEST(StringTest, SubstringCountsNegativeStartsFromTheEndAndConcatenationJoins) {
    const String text("12345");
    // A start before the beginning is clamped to 0.
    EXPECT_EQ(std::vector<String>({text.Substring(2), text.Substring(-2), text.Substring(-9), String("ab") + String("cd")}),
              std::vector<String>({String("345"), String("45"), text, String("abcd")}));
}

TEST(StringTest, EqualityComparesCodeUnitsExactly) {
    const Char high[] = {0x100 + 'a'};  // no narrowing when comparing
    EXPECT_EQ(std::vector<bool>({String("same") == String("same"), String("a") == String("A"), String("ab") == String("abc"),
                                 String(high, 1) == String("a")}),
              std::vector<bool>({true, false, false, false}));
}

TEST(StringTest, SplitKeepsEmptyPiecesAndScansWithoutOverlap) {
    const struct { const char* text; const char* separator; std::vector<std::string> pieces; } cases[] = {
        {"1|2|", "|", {"1", "2", ""}}, {"a||b", "|", {"a", "", "b"}}, {"", "|", {""}}, {"|", "|", {"", ""}},
        {"abc", "|", {"abc"}}, {"aaaa", "aa", {"", "", ""}}, {"aaa", "aa", {"", "a"}},
        {"x--y--z", "--", {"x", "y", "z"}}, {"abc", "", {"a", "b", "c"}}, {"", "", {}},
    };
    for (const auto& c : cases) {
        const Array<String> pieces = String(c.text).Split(String(c.separator));
        std::vector<std::string> got;
        for (const String& piece : pieces) got.push_back(Utf8(piece));
        EXPECT_EQ(got, c.pieces) << '"' << c.text << "\" split on \"" << c.separator << '"';
    }
}

TEST(StringTest, ToIntBehavesLikeAtoiOnTheNarrowedText) {
    const struct { const char* text; int value; } cases[] = {
        {"12abc", 12}, {"", 0}, {"-7", -7}, {"  +42", 42}, {"\t\n9", 9}, {"abc", 0},
        {"- 5", 0},    {"2147483647", 2147483647}, {"-2147483648", -2147483648LL},
    };
    for (const auto& c : cases) EXPECT_EQ(String(c.text).ToInt(), c.value) << c.text;

    // Only the first 63 characters count, each narrowed to its low byte.
    EXPECT_EQ(String((std::string(62, ' ') + "12").c_str()).ToInt(), 1);
    EXPECT_EQ(String((std::string(63, ' ') + "12").c_str()).ToInt(), 0);
    const Char wide[] = {0x0135, '1'};
    EXPECT_EQ(String(wide, 2).ToInt(), 51);
}

TEST(StringTest, Utf8EncodesSurrogatesOneByOneAndCStringNarrowsToTheLowByte) {
    const Char text[] = {'A', 0xE9, 0x20AC, 0xD83D, 0xFFFF};
    EXPECT_EQ(Utf8(String(text, 5)), "A\xC3\xA9\xE2\x82\xAC\xED\xA0\xBD\xEF\xBF\xBF");
    const Char wide[] = {'h', 0x0169, '!'};
    const String::CString<char> c(String(wide, 3));
    EXPECT_STREQ(static_cast<const char*>(c), "hi!");
}

}  // namespace
