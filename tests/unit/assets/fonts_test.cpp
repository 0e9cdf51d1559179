// The two bitmap fonts: which cells carry a glyph, and the padding of the
// default font.
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
