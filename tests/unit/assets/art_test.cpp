// Properties of the artwork that the game's way of drawing relies on.
#include <gtest/gtest.h>

#include <filesystem>

#include "asset_files.h"

namespace assettest {
namespace {

// The walker's silhouettes are drawn behind it, larger: each must cover its
// body (frames 0-23 by 32-55) or tunic (24-31 by 56-63) completely.
TEST(AssetWalkers, SilhouettesCoverWhatTheyOutline) {
    for (const char* suffix : {"", "-hd", "-hd2"}) {
        const auto image = load_png(data_path(std::string("gfxb") + suffix + ".png"));
        ASSERT_TRUE(image);
        const int size = image->width / 8;
        for (int front = 0; front < 32; ++front) {
            const Corner body = frame_corner(*image, front, size, size);
            const Corner outline = frame_corner(*image, front + 32, size, size);
            int uncovered = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    uncovered += image->alpha(body.x + x, body.y + y) > 128 &&
                                 image->alpha(outline.x + x, outline.y + y) < 128;
            EXPECT_EQ(uncovered, 0) << suffix << " frame " << front << " sticks out of its outline";
        }
    }
}

// The game tints icons (green start, blue resume, red quit, yellow ring) and
// particles (the particle palette): what it tints must be light, or the tint
// is lost. (The pause icon is drawn untinted, faint, on its own dark plate.)
TEST(AssetTinting, TintedSpritesAreLight) {
    std::vector<int> every_particle;
    for (int i = 0; i < 256; ++i) every_particle.push_back(i);
    const std::tuple<const char*, int, std::vector<int>> cases[] = {{"common/icons.png", 32, {1, 3, 6, 7}},
                                                                     {"parts.png", 8, every_particle}};
    for (const auto& [sheet, size, frames] : cases) {
        const auto image = load_png(data_path(sheet));
        ASSERT_TRUE(image);
        for (int frame : frames) {
            const Corner at = frame_corner(*image, frame, size, size);
            double light = 0, weight = 0;
            for (int y = at.y; y < at.y + size; ++y)
                for (int x = at.x; x < at.x + size; ++x) {
                    const uint8_t* px = image->pixel(x, y);
                    light += px[3] * (0.3 * px[0] + 0.59 * px[1] + 0.11 * px[2]);
                    weight += px[3];
                }
            ASSERT_GT(weight, 0) << sheet << " frame " << frame;
            EXPECT_GT(light / weight, 140) << sheet << " frame " << frame << " is too dark to tint";
        }
    }
}

// Sprites that the game turns about their centre must be drawn around it:
// the three cog layers (turning against each other) are centred, and the
// turret's gun carries its barrel above the pivot, pointing up at angle 0.
TEST(AssetPivots, TurningSpritesSitOnTheirCentre) {
    const std::tuple<const char*, int, int, bool> cases[] = {{"common/Buttons-hd2.png", 256, 8, true},
                                                             {"common/Buttons-hd2.png", 256, 9, true},
                                                             {"common/Buttons-hd2.png", 256, 10, true},
                                                             {"gfx-hd2.png", 128, 18, false}};
    for (const auto& [sheet, size, frame, centred] : cases) {
        SCOPED_TRACE(std::string(sheet) + " frame " + std::to_string(frame));
        const auto image = load_png(data_path(sheet));
        ASSERT_TRUE(image);
        const Corner at = frame_corner(*image, frame, size, size);
        double sx = 0, sy = 0, total = 0, top = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const double a = image->alpha(at.x + x, at.y + y);
                sx += a * (x + 0.5), sy += a * (y + 0.5), total += a;
                if (y < size / 4) top += a;
            }
        ASSERT_GT(total, 0);
        EXPECT_NEAR(sx / total, size / 2.0, size * 0.01);
        if (centred)
            EXPECT_NEAR(sy / total, size / 2.0, size * 0.01);
        else
            EXPECT_GT(top, 0) << "the barrel reaches toward the top";
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
