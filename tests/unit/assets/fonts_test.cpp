// The two bitmap fonts: which cells carry a glyph, their shapes at 1x, and
// the padding of the default font.
#include <gtest/gtest.h>

#include "asset_files.h"

namespace assettest {
namespace {

// Cell n shows character n + 32; 96..108 and 112..124 hold the controller and
// keyboard button glyphs; everything else is blank.
TEST(AssetGameFont, PrintableAndButtonCellsHaveGlyphsAndOthersAreBlank) {
    for (const auto& [scale, suffix] : {std::pair{1, ""}, {2, "-hd"}, {4, "-hd2"}}) {
        const auto image = load_png(data_path(std::string("fonts/fennick") + suffix + ".png"));
        ASSERT_TRUE(image) << suffix;
        const int cell = 16 * scale;
        ASSERT_GE((image->width / cell) * (image->height / cell), 128) << suffix;
        for (int n = 0; n < 128; ++n) {
            const Corner at = frame_corner(*image, n, cell, cell);
            const bool glyph = (n > 0 && n < 95) || (n >= 96 && n <= 108) || (n >= 112 && n <= 124);
            EXPECT_EQ(image->any_ink(at.x, at.y, cell, cell), glyph) << suffix << " cell " << n;
        }
    }
}

// At 1x the font is drawn one bit deep, so 16-pixel cells stay sharp: every
// letter pixel is lit or not. A capital stays inside the 7-unit advance and
// is tall enough to read: measured on "H", the widest plain capital shape.
TEST(AssetGameFont, LettersAreCrispAndCapitalsFitTheAdvanceAt1x) {
    const auto image = load_png(data_path("fonts/fennick.png"));
    ASSERT_TRUE(image);
    for (int cell = 1; cell < 95; ++cell) {
        const Corner at = frame_corner(*image, cell, 16, 16);
        int grey = 0;
        for (int y = at.y; y < at.y + 16; ++y)
            for (int x = at.x; x < at.x + 16; ++x) grey += image->alpha(x, y) != 0 && image->alpha(x, y) < 200;
        EXPECT_EQ(grey, 0) << "character " << char(cell + 32);
    }
    const Corner h = frame_corner(*image, 'H' - 32, 16, 16);
    int left = 16, right = -1, top = 16, bottom = -1;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint8_t* px = image->pixel(h.x + x, h.y + y);
            if (px[3] < 255 || px[0] < 200) continue;  // not the letter (or its shadow)
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    EXPECT_LE(right - left + 1, 7);
    EXPECT_GE(bottom - top + 1, 6);
}

// The framework loads "vyro_font.png" as 96 frames in one row with a
// transparent column on both sides of each frame.
TEST(AssetDefaultFont, HasNinetySixPaddedFramesInOneRow) {
    const auto image = load_png(data_path("vyro_font.png"));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width % 96, 0);
    const int frame_w = image->width / 96;
    ASSERT_GE(frame_w, 3);
    for (int frame = 0; frame < 96; ++frame) {
        const int x0 = frame * frame_w;
        EXPECT_FALSE(image->any_ink(x0, 0, 1, image->height)) << "left padding of frame " << frame;
        EXPECT_FALSE(image->any_ink(x0 + frame_w - 1, 0, 1, image->height)) << "right padding of frame " << frame;
        EXPECT_EQ(image->any_ink(x0, 0, frame_w, image->height), frame > 0 && frame < 95) << "frame " << frame;
    }
}

}  // namespace
}  // namespace assettest
