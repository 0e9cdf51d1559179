// Every sprite sheet: present at the three resolutions with the frame grid
// the game's loader expects, every frame the game draws has ink, and every
// frame keeps a transparent one-pixel border.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <vector>

#include "asset_files.h"

namespace assettest {
namespace {

struct SheetCase {
    const char* name;
    int frame_w, frame_h, frames;  // virtual units, as the loader asks for them
    std::vector<int> drawn;        // frames the game draws (all when empty)
};

void PrintTo(const SheetCase& sheet, std::ostream* out) { *out << sheet.name; }

const std::vector<SheetCase> kSheets = {
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

class AssetSheetTest : public ::testing::TestWithParam<SheetCase> {};

TEST_P(AssetSheetTest, HoldsEveryFrameAtEachResolutionInkedWhereDrawnWithClearBorders) {
    const SheetCase& sheet = GetParam();
    const auto base = load_png(data_path(std::string(sheet.name) + ".png"));
    ASSERT_TRUE(base);
    ASSERT_EQ(base->width % sheet.frame_w, 0);
    const int rows = (sheet.frames + base->width / sheet.frame_w - 1) / (base->width / sheet.frame_w);
    EXPECT_EQ(base->height, rows * sheet.frame_h) << "the frames fill whole rows and nothing more";
    std::vector<int> drawn = sheet.drawn;
    if (drawn.empty())
        for (int i = 0; i < sheet.frames; ++i) drawn.push_back(i);
    for (const auto& [scale, suffix] : {std::pair{1, ""}, {2, "-hd"}, {4, "-hd2"}}) {
        SCOPED_TRACE(suffix);
        const auto image = load_png(data_path(std::string(sheet.name) + suffix + ".png"));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, base->width * scale);
        EXPECT_EQ(image->height, base->height * scale);
        const int w = sheet.frame_w * scale, h = sheet.frame_h * scale;
        for (int frame : drawn) {
            const Corner at = frame_corner(*image, frame, w, h);
            EXPECT_TRUE(image->any_ink(at.x, at.y, w, h)) << "frame " << frame << " is empty";
        }
        for (int frame = 0; frame < sheet.frames; ++frame) {
            const Corner at = frame_corner(*image, frame, w, h);
            EXPECT_TRUE(image->border_clear(at.x, at.y, w, h)) << "frame " << frame << " touches its border";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(DataFolder, AssetSheetTest, ::testing::ValuesIn(kSheets),
                         [](const ::testing::TestParamInfo<SheetCase>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace assettest
