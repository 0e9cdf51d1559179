// Properties of the artwork that the game's way of drawing relies on.
#include "asset_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace assettest {
namespace {

struct FrameRef {
    const Image& image;
    int x0, y0, size;

    uint8_t alpha(int x, int y) const { return image.alpha(x0 + x, y0 + y); }
    const uint8_t* rgba(int x, int y) const { return &image.rgba[(size_t(y0 + y) * image.width + x0 + x) * 4]; }
};

FrameRef frame_of(const Image& image, int frame, int size) {
    const int columns = image.width / size;
    return {image, (frame % columns) * size, (frame / columns) * size, size};
}

// The walker's silhouettes are drawn behind it, larger: each must cover its
// body (frames 0-23 by 32-55) or tunic (24-31 by 56-63) completely.
TEST(AssetWalkers, SilhouettesCoverWhatTheyOutline) {
    for (const char* suffix : {"", "-hd", "-hd2"}) {
        const auto image = load_png(data_path(std::string("gfxb") + suffix + ".png"));
        ASSERT_TRUE(image);
        const int size = image->width / 8;
        for (int front = 0; front < 32; ++front) {
            const int behind = front + 32;
            const FrameRef body = frame_of(*image, front, size), outline = frame_of(*image, behind, size);
            int uncovered = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) uncovered += body.alpha(x, y) > 128 && outline.alpha(x, y) < 128;
            EXPECT_EQ(uncovered, 0) << suffix << " frame " << front << " sticks out of frame " << behind;
        }
    }
}

// The game tints icons (green start, blue resume, red quit, yellow ring) and
// particles (the particle palette): what it tints must be light, or the tint
// is lost. (The pause icon is drawn untinted, faint, on its own dark plate.)
TEST(AssetTinting, TintedSpritesAreLight) {
    struct Case {
        const char* sheet;
        int size;
        std::vector<int> frames;
    };
    std::vector<int> every_particle;
    for (int i = 0; i < 256; ++i) every_particle.push_back(i);
    const Case cases[] = {{"common/icons.png", 32, {1, 3, 6, 7}}, {"parts.png", 8, every_particle}};
    for (const Case& c : cases) {
        const auto image = load_png(data_path(c.sheet));
        ASSERT_TRUE(image);
        for (int frame : c.frames) {
            const FrameRef f = frame_of(*image, frame, c.size);
            double light = 0, weight = 0;
            for (int y = 0; y < c.size; ++y)
                for (int x = 0; x < c.size; ++x) {
                    const uint8_t* px = f.rgba(x, y);
                    light += px[3] * (0.3 * px[0] + 0.59 * px[1] + 0.11 * px[2]);
                    weight += px[3];
                }
            ASSERT_GT(weight, 0) << c.sheet << " frame " << frame;
            EXPECT_GT(light / weight, 140) << c.sheet << " frame " << frame << " is too dark to tint";
        }
    }
}

// Sprites that the game turns about their centre must be drawn around it:
// the three cog layers (turning against each other) are centred, and the
// turret's gun carries its barrel above the pivot, pointing up at angle 0.
TEST(AssetPivots, TurningSpritesSitOnTheirCentre) {
    struct Case {
        const char* sheet;
        int size, frame;
        bool centred;  // else: most ink above the centre
    };
    const Case cases[] = {{"common/Buttons-hd2.png", 256, 8, true},
                          {"common/Buttons-hd2.png", 256, 9, true},
                          {"common/Buttons-hd2.png", 256, 10, true},
                          {"gfx-hd2.png", 128, 18, false}};
    for (const Case& c : cases) {
        const auto image = load_png(data_path(c.sheet));
        ASSERT_TRUE(image);
        const FrameRef f = frame_of(*image, c.frame, c.size);
        double sx = 0, sy = 0, total = 0, top = 0;
        for (int y = 0; y < c.size; ++y)
            for (int x = 0; x < c.size; ++x) {
                sx += f.alpha(x, y) * (x + 0.5);
                sy += f.alpha(x, y) * (y + 0.5);
                total += f.alpha(x, y);
                if (y < c.size / 4) top += f.alpha(x, y);
            }
        ASSERT_GT(total, 0);
        const double half = c.size / 2.0;
        EXPECT_NEAR(sx / total, half, c.size * 0.01) << c.sheet << " frame " << c.frame;
        if (c.centred)
            EXPECT_NEAR(sy / total, half, c.size * 0.01) << c.sheet << " frame " << c.frame;
        else
            EXPECT_GT(top, 0) << "the barrel reaches toward the top";
    }
}

// At 1x the game font is drawn one bit deep, so 16-pixel cells stay sharp
// instead of blurring: every letter pixel is either lit or not.
TEST(AssetGameFont, LettersAreCrispAt1x) {
    const auto image = load_png(data_path("fonts/fennick.png"));
    ASSERT_TRUE(image);
    for (int cell = 1; cell < 95; ++cell) {
        const FrameRef f = frame_of(*image, cell, 16);
        int grey = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) grey += f.alpha(x, y) != 0 && f.alpha(x, y) < 200;
        EXPECT_EQ(grey, 0) << "character " << char(cell + 32);
    }
}

// The whole data folder stays within its size budget, and the contact
// sheet is written beside it, not into it.
TEST(AssetDataFolder, FitsItsBudgetAndKeepsTheContactSheetOutside) {
    namespace fs = std::filesystem;
    uintmax_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(TARVOLAN_DATA_DIR)) {
        if (entry.is_regular_file()) bytes += entry.file_size();
        EXPECT_EQ(entry.path().string().find("contact"), std::string::npos) << entry.path();
    }
    EXPECT_LT(bytes, 12u * 1000 * 1000);
    const fs::path contact = fs::path(TARVOLAN_DATA_DIR).parent_path() / "contact_sheet";
    EXPECT_TRUE(fs::exists(contact / "overview.png"));
    EXPECT_TRUE(fs::exists(contact / "BadgesA.png"));
}

}  // namespace
}  // namespace assettest
