// The two bitmap fonts: which cells carry a glyph, and the padding of the
// default font.
#include "asset_files.h"

#include <gtest/gtest.h>

namespace assettest {
namespace {

// Game font cells: n shows character n + 32; 96..108 and 112..124 hold the
// controller and keyboard button glyphs; everything else is blank.
bool game_font_cell_has_glyph(int cell) {
    const int code = cell + 32;
    if (code > 32 && code < 127) return true;
    return (cell >= 96 && cell <= 108) || (cell >= 112 && cell <= 124);
}

TEST(AssetGameFont, PrintableAndButtonCellsHaveGlyphsAndOthersAreBlank) {
    for (const auto& [scale, suffix] : {std::pair{1, ""}, {2, "-hd"}, {4, "-hd2"}}) {
        const auto image = load_png(data_path(std::string("fonts/fennick") + suffix + ".png"));
        ASSERT_TRUE(image) << suffix;
        const int cell = 16 * scale;
        const int columns = image->width / cell;
        ASSERT_GE(columns * (image->height / cell), 128) << suffix;
        for (int n = 0; n < 128; ++n) {
            const bool ink = image->any_ink((n % columns) * cell, (n / columns) * cell, cell, cell);
            EXPECT_EQ(ink, game_font_cell_has_glyph(n)) << suffix << " cell " << n;
        }
    }
}

// At 1x a capital must stay inside the 7-unit advance plus a little overlap
// and be tall enough to read: measured on "H", the widest plain capital shape.
TEST(AssetGameFont, CapitalsAreSizedForTheAdvanceAt1x) {
    const auto image = load_png(data_path("fonts/fennick.png"));
    ASSERT_TRUE(image);
    const int cell = 'H' - 32, x0 = (cell % 16) * 16, y0 = (cell / 16) * 16;
    int left = 16, right = -1, top = 16, bottom = -1;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (image->alpha(x0 + x, y0 + y) == 255) {
                const auto* px = &image->rgba[(size_t(y0 + y) * image->width + x0 + x) * 4];
                if (px[0] < 200) continue;  // the shadow, not the letter
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
        const int code = frame + 32;
        EXPECT_EQ(image->any_ink(x0, 0, frame_w, image->height), code > 32 && code < 127) << "frame " << frame;
    }
}

}  // namespace
}  // namespace assettest
