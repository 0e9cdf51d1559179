// The text writer against positions worked out by hand: alignment by the
// measured width, narrow and wide letters, button glyphs, line breaks,
// rotation, and the characters that draw nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/myapp.h"

namespace {

constexpr Char kMark = 172;  // "¬"
constexpr int kFont = 90;

struct Glyph { float x, y; int frame; };

struct TextCase {
    const char* what;
    std::vector<Char> text;
    float x, y, ax, ay;
    float sizeX, sizeY, angle;
    int padGlyphs;
    std::vector<Glyph> expected;
};

class TextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextTest, GlyphsLandWhereTheWorkedExampleSays) {
    const TextCase& c = GetParam();
    c_MyApp* app = new c_MyApp();
    app->m_fontImage = kFont;
    app->m_imageInfo[kFont * 3] = 7;
    app->m_imageInfo[kFont * 3 + 1] = 10;
    app->p_CLS2D(0, 0, 0, 1);
    app->p_SetSize(c.sizeX, c.sizeY);
    app->p_SetRot(c.angle);
    app->m_padGlyphs = c.padGlyphs;

    app->p_Text(c.x, c.y, String(c.text.data(), static_cast<int>(c.text.size())), c.ax, c.ay);

    const int records = app->m_drawCount / draw_record::kFloats;
    ASSERT_EQ(records, static_cast<int>(c.expected.size()));
    for (int r = 0; r < records; ++r) {
        const float* record = &app->m_drawList[r * draw_record::kFloats];
        const Glyph& want = c.expected[r];
        SCOPED_TRACE("glyph " + std::to_string(r));
        EXPECT_EQ(record[0], static_cast<float>(kFont));
        EXPECT_NEAR(record[1], want.x, 1e-4);
        EXPECT_NEAR(record[2], want.y, 1e-4);
        EXPECT_EQ(record[6], static_cast<float>(want.frame));
        EXPECT_EQ(record[3], -c.angle);
        EXPECT_EQ(record[4], c.sizeX);
    }
}

std::vector<Char> Text(const std::string& ascii) { return std::vector<Char>(ascii.begin(), ascii.end()); }

// The pen starts on the prefixed space, so the first character sits one
// advance (7 × scale) after the start point.
INSTANTIATE_TEST_SUITE_P(
    HandWorked, TextTest,
    ::testing::Values(
        TextCase{"EmptyDrawsNothing", {}, 50, 50, 1, 1, 1, 1, 0, 0, {}},
        // Measured width: the prefixed space only (14), so "A" is 7 right of x.
        TextCase{"CentredA", Text("A"), 100, 50, 1, 1, 2, 2, 0, 0, {{107, 50, 33}}},
        TextCase{"FirstLineBelowY", Text("A"), 0, 50, 0, 0, 1, 1, 0, 0, {{7, 55, 33}}},
        TextCase{"FirstLineAboveY", Text("A"), 0, 50, 0, 2, 1, 1, 0, 0, {{7, 45, 33}}},
        // " ¬KA" measures 7 + 9 = 16 (the A is not measured); the pair advances 11.
        TextCase{"ControllerGlyphRightAligned", {kMark, 'K', 'A'}, 100, 0, 2, 1, 1, 1, 0, 1,
                 {{91, 0, 97}, {102, 0, 33}}},
        TextCase{"KeyboardGlyph", {kMark, 'K', 'A'}, 100, 0, 2, 1, 1, 1, 0, 0, {{91, 0, 113}, {102, 0, 33}}},
        TextCase{"WideGlyph", {kMark, 'U', 'A'}, 0, 0, 0, 1, 1, 1, 0, 1, {{7, 0, 100}, {20, 0, 33}}},
        // Wide w (9), narrow i (4); W, the last character, is not measured: 7 + 9 + 4.
        TextCase{"LetterClasses", Text("wiW"), 100, 0, 2, 1, 1, 1, 0, 0, {{87, 0, 87}, {96, 0, 73}, {100, 0, 55}}},
        // The second line starts at the start point moved down one line (10 × 2).
        TextCase{"LineBreak", Text("ab\\ncd"), 0, 0, 0, 1, 1, 2, 0, 0,
                 {{7, 0, 65}, {14, 0, 66}, {0, 20, 67}, {7, 20, 68}}},
        TextCase{"LoneBackslash", Text("a\\b"), 0, 0, 0, 1, 1, 1, 0, 0, {{7, 0, 65}, {14, 0, 60}, {21, 0, 66}}},
        TextCase{"BackslashLast", Text("\\"), 0, 0, 0, 1, 1, 1, 0, 0, {{7, 0, 60}}},
        // Turned 90 degrees the text runs down; "move down half a line" moves
        // left, and so does the next line.
        TextCase{"RotatedWithBreak", Text("A\\nB"), 100, 100, 0, 0, 1, 1, 90, 0, {{95, 107, 33}, {85, 100, 34}}},
        // A "¬" with nothing after it ends the text (measured: space and A).
        TextCase{"MarkAtTheEnd", {'A', kMark}, 0, 0, 1, 1, 1, 1, 0, 0, {{0, 0, 33}}},
        // A character 0 takes no space; control characters and codes above
        // 159 take space but draw nothing.
        TextCase{"InvisibleCharacters", {0, 'A', 10, 200, 'B'}, 0, 0, 0, 1, 1, 1, 0, 0, {{7, 0, 33}, {28, 0, 34}}}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.what); });

}  // namespace
