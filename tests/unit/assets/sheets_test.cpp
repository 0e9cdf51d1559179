// Every sprite sheet: present at the three resolutions with the frame grid
// the game's loader expects, every frame the game draws has ink, and every
// frame keeps a transparent one-pixel border.
#include "asset_files.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cmath>
#include <ostream>
#include <vector>

namespace assettest {
namespace {

struct SheetCase {
    const char* name;
    int frame_w, frame_h, frames;  // virtual units, as the loader asks for them
    std::vector<int> drawn;        // frames the game draws (all when empty)
};

void PrintTo(const SheetCase& sheet, std::ostream* out) { *out << sheet.name; }

const std::vector<SheetCase>& sheet_cases() {
    static const std::vector<SheetCase> cases = {
        {"gfx", 32, 32, 64, {7, 16, 17, 18, 56}},
        {"gfxb", 32, 32, 64, {}},
        {"parts", 8, 8, 256, {}},
        {"BadgesA", 64, 64, 64, {}},
        {"common/icons", 32, 32, 16, {0, 1, 3, 6, 7}},
        {"common/Buttons", 64, 64, 16, {0, 1, 2, 8, 9, 10, 12}},
        {"common/dpad", 32, 32, 16, {0, 1, 4, 5, 6, 9}},
        {"common/PlixLogo", 256, 256, 1, {}},
        {"common/Testcard_Circle", 256, 256, 1, {}},
        {"logo", 256, 128, 1, {}},
        {"menu", 256, 256, 4, {0, 1, 2}},
        {"fonts/fennick", 16, 16, 128, {33, 65, 97}},  // cell by cell in fonts_test
    };
    return cases;
}

struct Level {
    int scale;
    const char* suffix;
};
constexpr Level kLevels[] = {{1, ""}, {2, "-hd"}, {4, "-hd2"}};

// Where frame i lies when frames fill rows left to right across the sheet.
struct Grid {
    int fw, fh, columns;
    int x(int i) const { return (i % columns) * fw; }
    int y(int i) const { return (i / columns) * fh; }
};

class AssetSheetTest : public ::testing::TestWithParam<SheetCase> {};

TEST_P(AssetSheetTest, HoldsEveryFrameAtEachResolution) {
    const SheetCase& sheet = GetParam();
    const auto base = load_png(data_path(std::string(sheet.name) + ".png"));
    ASSERT_TRUE(base) << sheet.name;
    ASSERT_EQ(base->width % sheet.frame_w, 0);
    const int columns = base->width / sheet.frame_w;
    const int rows = (sheet.frames + columns - 1) / columns;
    EXPECT_EQ(base->height, rows * sheet.frame_h) << "the frames fill whole rows and nothing more";
    for (const Level& level : kLevels) {
        const auto image = load_png(data_path(std::string(sheet.name) + level.suffix + ".png"));
        ASSERT_TRUE(image) << level.suffix;
        EXPECT_EQ(image->width, base->width * level.scale) << level.suffix;
        EXPECT_EQ(image->height, base->height * level.scale) << level.suffix;
    }
}

TEST_P(AssetSheetTest, DrawnFramesHaveInkAndEveryBorderIsClear) {
    const SheetCase& sheet = GetParam();
    for (const Level& level : kLevels) {
        const auto image = load_png(data_path(std::string(sheet.name) + level.suffix + ".png"));
        ASSERT_TRUE(image);
        const Grid grid{sheet.frame_w * level.scale, sheet.frame_h * level.scale, image->width / (sheet.frame_w * level.scale)};
        std::vector<int> drawn = sheet.drawn;
        if (drawn.empty())
            for (int i = 0; i < sheet.frames; ++i) drawn.push_back(i);
        for (int frame : drawn)
            EXPECT_TRUE(image->any_ink(grid.x(frame), grid.y(frame), grid.fw, grid.fh))
                << sheet.name << level.suffix << " frame " << frame << " is empty";
        for (int frame = 0; frame < sheet.frames; ++frame)
            EXPECT_TRUE(image->border_clear(grid.x(frame), grid.y(frame), grid.fw, grid.fh))
                << sheet.name << level.suffix << " frame " << frame << " touches its border";
    }
}

INSTANTIATE_TEST_SUITE_P(DataFolder, AssetSheetTest, ::testing::ValuesIn(sheet_cases()),
                         [](const ::testing::TestParamInfo<SheetCase>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// The eight colour overlays of the walkers must tell the teams apart: the
// average colours of any two differ clearly.
TEST(AssetWalkerOverlays, AreEightClearlyDifferentColours) {
    const auto image = load_png(data_path("gfxb.png"));
    ASSERT_TRUE(image);
    std::vector<std::array<double, 3>> means;
    for (int frame = 24; frame < 32; ++frame) {
        const int x0 = (frame % 8) * 32, y0 = (frame / 8) * 32;
        std::array<double, 3> sum{};
        int count = 0;
        for (int y = y0; y < y0 + 32; ++y)
            for (int x = x0; x < x0 + 32; ++x)
                if (image->alpha(x, y) == 255) {
                    for (int c = 0; c < 3; ++c) sum[c] += image->rgba[(size_t(y) * image->width + x) * 4 + c];
                    ++count;
                }
        ASSERT_GT(count, 0) << "overlay " << frame;
        for (double& s : sum) s /= count;
        means.push_back(sum);
    }
    for (size_t a = 0; a < means.size(); ++a)
        for (size_t b = a + 1; b < means.size(); ++b) {
            double distance = 0;
            for (int c = 0; c < 3; ++c) distance += (means[a][c] - means[b][c]) * (means[a][c] - means[b][c]);
            EXPECT_GT(std::sqrt(distance), 60) << "overlays " << 24 + a << " and " << 24 + b;
        }
}

}  // namespace
}  // namespace assettest
