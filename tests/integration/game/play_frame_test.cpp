// A game in progress on real OpenGL, read back from the window: the level's
// theme fills the background and the score line shows in green at the top.
// The frame is also written to play_frame.png beside the test, for review
// (the README's screenshot is one).
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/integration/support/real_game.h"
#include "tests/unit/devices/png_fixture.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Rgb { int red, green, blue; };

Rgb PixelAt(const std::vector<unsigned char>& rgb, int x, int y) {
    const size_t at = (static_cast<size_t>(y) * kWidth + x) * 3;
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

bool Near(const Rgb& a, const Rgb& b) {
    return std::abs(a.red - b.red) <= 4 && std::abs(a.green - b.green) <= 4 && std::abs(a.blue - b.blue) <= 4;
}

TEST(PlayFrameGl, AGameInProgressShowsItsThemeAndTheGreenScoreLine) {
    const std::string review = (std::filesystem::current_path() / "play_frame.png").string();
    RealGame game(TARVOLAN_DATA_DIR);
    ASSERT_TRUE(game.Ready()) << game.Error();
    c_MyApp& app = game.App();
    app.m_difficulty = 2;
    app.m_mode = screen_mode::kStartGame;
    for (int frame = 0; frame < 1000; ++frame) {
        // Run, held the way an iCade holds a button, once the countdown is over.
        if (app.m_mode == screen_mode::kInGame && app.m_party[party_table::kCountdown] < 1) app.m_buttons[button_id::kAction3] = 2;
        game.Update();
    }
    game.Render();
    const std::vector<unsigned char> rgb = game.ReadRgb(kWidth, kHeight);
    game.Show();
    EXPECT_TRUE(WritePng(review, kWidth, kHeight, 3, rgb));

    const Rgb theme = {static_cast<int>(app.m_clsRed), static_cast<int>(app.m_clsGreen),
                       static_cast<int>(app.m_clsBlue)};
    int background = 0, samples = 0;
    for (int y = 40; y < kHeight; y += 20) {
        for (int x = 0; x < kWidth; x += 20, ++samples) background += Near(PixelAt(rgb, x, y), theme);
    }
    EXPECT_GT(background * 2, samples);

    int green = 0;
    for (int y = 20; y < 37; ++y) {
        for (int x = 250; x < 390; ++x) {
            const Rgb p = PixelAt(rgb, x, y);
            green += p.green > 200 && p.red < 180 && p.blue < 180;
        }
    }
    EXPECT_GT(green, 50);
}

}  // namespace
