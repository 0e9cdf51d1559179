// The game's per-update order, hot keys, ending, suspension and resumption,
// through the headless driver.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tests/support/headless_driver.h"

namespace {

// A driver whose loading is over, on the title mode.
struct LoadedGame {
    explicit LoadedGame(int width = 640, int height = 480) : driver(width, height) {
        EXPECT_TRUE(driver.FinishLoading());
    }
    HeadlessDriver driver;
    c_MyApp& app = driver.App();
};

TEST(ShellHotKeys, ActOncePerHitHoweverLongTheKeyIsHeld) {
    struct Case {
        const char* name;
        int key;
        std::function<int(const c_MyApp&)> state;
    };
    const Case cases[] = {
        {"F1 debug line", glfw2::KEY_F1 + 0, [](const c_MyApp&) { return kz_Tarvo_DebugMode; }},
        {"F2 pause icon", glfw2::KEY_F1 + 1, [](const c_MyApp& app) { return app.m_hideHud; }},
        {"F11 full screen", glfw2::KEY_F1 + 10, [](const c_MyApp& app) { return app.m_fullscreen; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedGame game;
        ASSERT_EQ(c.state(game.app), 0);
        game.driver.Press(c.key);
        game.driver.Frames(5);
        EXPECT_EQ(c.state(game.app), 1) << "held for five updates";
        game.driver.Release(c.key);
        game.driver.Frame();
        game.driver.Tap(c.key);
        game.driver.Frame();
        EXPECT_EQ(c.state(game.app), 0) << "a second hit toggles back";
    }
}

TEST(ShellHotKeys, F11OpensAFullScreenWindowAtTheDesktopSizeAndBackTo640By480) {
    LoadedGame game;
    glfw2::ScriptedBackend& backend = game.driver.Backend();
    backend.SetDesktopMode({1600, 900, 8, 8, 8});
    game.driver.Tap(glfw2::KEY_F1 + 10);
    game.driver.Frame();
    // The render saw the new size and reloads at the larger resolution.
    EXPECT_EQ(game.app.m_loadStep, 1);
    game.driver.Tap(glfw2::KEY_F1 + 10);
    game.driver.Frame();
    std::vector<int> openings;
    for (const auto& o : backend.openings) openings.insert(openings.end(), {o.mode, o.width, o.height});
    EXPECT_EQ(std::vector<int>(openings.begin() + 3, openings.end()),
              std::vector<int>({glfw2::FULLSCREEN, 1600, 900, glfw2::WINDOW, 640, 480}));
}

// F4 and the close box end the real program: tests/e2e.
TEST(ShellDispatch, AModeOutsideTheTableStillDrivesLoaderButtonsAndDebugLine) {
    LoadedGame game;
    game.app.m_mode = 3;
    game.app.m_loadStep = 1;
    game.app.m_buttons[0] = 1;  // a one-update press
    game.app.m_buttons[5] = 2;  // an iCade hold
    game.driver.Tap(glfw2::KEY_F1);
    game.driver.Update();

    EXPECT_EQ(std::vector<int>({game.app.m_loadStep, game.app.m_buttons[0], game.app.m_buttons[5], kz_Tarvo_DebugMode, game.app.m_mode}),
              std::vector<int>({2, 0, 2, 1, 3}));
    // The debug line follows the loading screen: font glyphs near the bottom.
    const std::vector<DrawRecord> list = game.driver.DisplayList();
    ASSERT_GT(list.size(), 25u);
    EXPECT_EQ(list.back().kind, 90);
    EXPECT_NEAR(list.back().y, kz_Tarvo_jscrh - 16, 16);
}

TEST(ShellSuspension, AGameComesBackPausedWithThePanelAtHalfHeightTheTitleUnpaused) {
    struct Case { int mode; int paused, slide, panelY; };
    // 1280 x 720 lays out a virtual screen 360 high.
    const Case cases[] = {{1, 0, 0, 0}, {10, 1, 1, 180}};
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        LoadedGame game(1280, 720);
        ASSERT_EQ(kz_Tarvo_jscrh, 360);
        game.app.m_mode = c.mode;
        game.app.m_paused = 1 - c.paused;
        game.app.m_pauseSlide = -1;
        game.app.m_pausePanelY = -64;

        game.driver.Focus(false);
        game.driver.Frame();
        ASSERT_TRUE(game.driver.Host().Suspended());
        EXPECT_EQ(std::vector<int>({game.app.m_paused, game.app.m_pauseSlide, game.app.m_pausePanelY}),
                  std::vector<int>({c.paused, c.slide, c.panelY}));
        EXPECT_TRUE(std::filesystem::exists(game.driver.StateFile())) << "suspending saves";

        game.driver.Focus(true);
        game.driver.Frame();
        ASSERT_FALSE(game.driver.Host().Suspended());
        // A game being started (mode 11) starts unpaused in that frame.
        const int pausedAfterFrame = c.mode == 11 ? 0 : c.paused;
        EXPECT_EQ(std::vector<int>({game.app.m_paused, game.app.m_pauseSlide, game.app.m_pausePanelY}),
                  std::vector<int>({pausedAfterFrame, c.slide, c.panelY}));
    }
}

// Whatever set iCade or the buttons while away, resuming clears them.
TEST(ShellSuspension, SuspendedTheRateIsFiveAndAResumeRestoresSixtyICadeOffButtonsReleased) {
    LoadedGame game;
    EXPECT_EQ(game.driver.Host().UpdateRate(), 60);
    game.driver.Focus(false);
    game.driver.Frame();
    EXPECT_EQ(std::vector<int>({game.driver.Host().UpdateRate(), kz_app__updateRate}), std::vector<int>({5, 5}));
    const int updatesBefore = game.app.m_lastMillis;
    game.driver.Frames(3);
    EXPECT_EQ(game.app.m_lastMillis, updatesBefore) << "no update runs while suspended";
    kz_Tarvo_iCadeControls = 1;
    for (int i = 0; i < 19; ++i) game.app.m_buttons[i] = 2;
    game.driver.Host().SetKeyboardEnabled(true);

    game.driver.Focus(true);
    game.driver.Frame();
    EXPECT_GT(game.app.m_lastMillis, updatesBefore);
    std::vector<int> after = {game.driver.Host().UpdateRate(), kz_app__updateRate, kz_Tarvo_iCadeControls,
                              game.driver.Host().KeyboardEnabled()};
    for (int i = 0; i < 19; ++i) after.push_back(game.app.m_buttons[i]);
    std::vector<int> expected(23, 0);
    expected[0] = expected[1] = 60;
    EXPECT_EQ(after, expected);
}

}  // namespace
