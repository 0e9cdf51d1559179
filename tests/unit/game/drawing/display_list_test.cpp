// The draw state, the records of the display list and their cap, the palette
// and the number formatter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/myapp.h"
#include "tests/support/utf8.h"

namespace {

class DisplayListTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = new c_MyApp();
        app->p_CLS2D(0, 0, 0, 1);
    }

    int Records() const { return app->m_drawCount / draw_record::kFloats; }
    float At(int record, int index) const { return app->m_drawList[record * draw_record::kFloats + index]; }

    c_MyApp* app = nullptr;
};

// What each record carries reaches the device: see the replay in
// lifecycle/render_test.
TEST_F(DisplayListTest, TheListHoldsAtMost2499RecordsUntilTheNextClear) {
    for (int i = 0; i < 2600; ++i) app->p_DrawImg(1, static_cast<float>(i), 0, 0);
    app->p_Rect(-1, -1, 1, 1);
    app->p_Oval(-1, -1, 1, 1);
    EXPECT_EQ(Records(), 2499);
    EXPECT_EQ(At(2498, 1), 2498.0f);

    app->p_CLS2D(kNoValue, 0, 0, 0);
    app->p_Oval(5, 6, 1, 1);
    EXPECT_EQ(Records(), 1);
    EXPECT_EQ(At(0, 0), kOvalRecord);
}

TEST(InkTest, PaletteColoursScaleWithBrightnessAndClamp) {
    struct Case { int colour, brightness; float red, green, blue; };
    // Colours outside 1 to 9 are grey; alpha and blend stay as they were.
    const Case cases[] = {
        {1, 1, 255, 25.5f, 25.5f}, {10, 1, 76.5f, 76.5f, 76.5f}, {-5, 1, 76.5f, 76.5f, 76.5f},
        {2, 2, 255, 255, 51},      {4, -1, 0, 0, 0},             {6, 2147483647, 255, 255, 255},
    };
    c_MyApp* app = new c_MyApp();
    for (const Case& c : cases) {
        app->p_Alpha(0.5f);
        app->m_blend = 3;
        app->p_Ink(c.colour, c.brightness);
        EXPECT_EQ(std::vector<float>({app->m_red, app->m_green, app->m_blue, app->m_alpha, float(app->m_blend)}),
                  std::vector<float>({c.red, c.green, c.blue, 0.5f, 3}))
            << c.colour << " at " << c.brightness;
    }
}

TEST(RstrTest, NumbersAreRightAlignedInTheWidthAndCutOnTheLeft) {
    struct Case { int value, width; const char* pad; const char* expected; };
    const Case cases[] = {
        {42, 5, "0", "00042"},  {1234, 2, "0", "34"},      {7, 0, "0", "07"},
        {5, -3, "x", "x5"},     {-42, 6, "0", "000-42"},   {12, 4, "", "12"},
        {123456, 3, "", "456"}, {3, 4, "ab", "bab3"},      {2147483647, 12, " ", "  2147483647"},
        {0, 1, "0", "0"},
    };
    c_MyApp* app = new c_MyApp();
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8(app->p_rstr(c.value, c.width, String(c.pad))), std::string(c.expected))
            << c.value << " in " << c.width;
    }
    // A field a million characters wide.
    const String wide = app->p_rstr(9, 1000000, String("0"));
    ASSERT_EQ(wide.Length(), 1000000);
    EXPECT_EQ(wide[0], '0');
    EXPECT_EQ(wide[999999], '9');
}

}  // namespace
