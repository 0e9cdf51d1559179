// Every sprite sheet: present at the three resolutions with the frame grid
// the game's loader expects, every frame the game draws has ink, and every
// frame keeps a transparent one-pixel border; the default font's padded row;
// and the data folder's budget.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
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

// Cell n of the game font shows character n + 32; 96..108 and 112..124 hold
// the controller and keyboard button glyphs.
std::vector<int> FontGlyphs() {
    std::vector<int> cells;
    for (int n = 1; n <= 124; ++n)
        if (n != 95 && (n <= 108 || n >= 112)) cells.push_back(n);
    return cells;
}

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
    {"fonts/fennick", 16, 16, 128, FontGlyphs()},
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

// Each icon is as large as its theme folder says (a menu scales a wrong one
// blurred), a tile with rounded, transparent corners and solid within.
TEST(AssetAppIcon, EachSizeIsSquareWithClearCornersAndASolidMiddle) {
    for (int size : {32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const auto image = load_png(std::string(TARVOLAN_ICON_DIR) + "/hicolor/" + folder + "/apps/" +
                                    TARVOLAN_APP_ID + ".png");
        ASSERT_TRUE(image) << folder;
        EXPECT_EQ(image->width, size);
        EXPECT_EQ(image->height, size);
        EXPECT_FALSE(image->any_ink(0, 0, 1, 1)) << folder;
        EXPECT_FALSE(image->any_ink(size - 1, size - 1, 1, 1)) << folder;
        EXPECT_EQ(image->alpha(size / 2, size / 2), 255) << folder;
        EXPECT_EQ(image->alpha(size / 8, size / 2), 255) << folder;
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
    EXPECT_TRUE(fs::exists(fs::path(TARVOLAN_DATA_DIR).parent_path() / "contact_sheet" / "overview.png"));
}

}  // namespace
}  // namespace assettest
