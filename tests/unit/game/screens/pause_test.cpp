// The pause button and icon of a play frame and the pause menu, through the
// headless driver on a running game.
#include <vector>

#include "tests/unit/game/screens/screens_fixture.h"

namespace {

// Each press moves the cursor one step or chooses; pressing the action
// button resumes, quits or opens the options, whichever is selected. Back
// while the panel still slides in starts the slide-out at once.
TEST(PauseMenu, ThePadMovesTheCursorWithSound98AndChoosesAndBackResumesAtOnce) {
    struct Case { std::vector<int> keys; int cursor; float rate; int slide, gameOver, optionsOpen; };
    const Case cases[] = {
        {{glfw2::KEY_LEFT}, -1, 0.8f, 1, 0, 0},
        {{glfw2::KEY_UP}, -1, 0.8f, 1, 0, 0},
        {{glfw2::KEY_LEFT, glfw2::KEY_RIGHT}, 0, 0.8f, 1, 0, 0},
        {{glfw2::KEY_RIGHT}, 1, 1.2f, 1, 0, 0},
        {{glfw2::KEY_RIGHT, glfw2::KEY_DOWN}, 0, 0.8f, 1, 0, 0},
        {{glfw2::KEY_SPACE}, 0, 1, -1, 0, 0},
        {{glfw2::KEY_LEFT, glfw2::KEY_ENTER}, -1, 0.5f, -1, 1, 0},
        {{glfw2::KEY_RIGHT, glfw2::KEY_SPACE}, 1, 1, 1, 0, 1},
        {{glfw2::KEY_ESC}, 0, 1, -1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.keys));
        Screens s;
        s.Play();
        s.Key(glfw2::KEY_ESC);
        ASSERT_EQ(s.app.m_paused, 1);
        ASSERT_LT(s.app.m_pausePanelY, kz_Tarvo_jscrh * 0.5f) << "still sliding in";
        for (int key : c.keys) s.Key(key);
        EXPECT_FLOAT_EQ(s.LastSound().rate, c.rate);
        EXPECT_EQ(std::vector<int>({s.app.m_pauseCursor, s.LastSound().id, s.app.m_pauseSlide, s.app.m_gameOver, s.app.m_optionsOpen}),
                  std::vector<int>({c.cursor, sound_id::kSelect, c.slide, c.gameOver, c.optionsOpen}));
    }
}

// Quit and options sit left and right of the panel's centre and above it, by
// 140 and 64 on a wide screen and 96 and 96 on a tall one; tapping quit ends
// the game.
TEST(PauseMenu, QuitAndOptionsSitByTheLayoutAndTappingQuitEndsTheGame) {
    struct Case { int width, height; float dx, dy; };
    for (const Case& c : {Case{640, 480, 140, 64}, Case{480, 640, 96, 96}}) {
        SCOPED_TRACE(c.width);
        Screens s(c.width, c.height);
        s.Play();
        s.Key(glfw2::KEY_ESC);
        s.driver.Frames(20);
        const float cx = kz_Tarvo_jscrw * 0.5f;
        const float y = static_cast<float>(s.app.m_pausePanelY);
        ASSERT_GE(y, kz_Tarvo_jscrh * 0.5f);
        const DrawRecord quit = s.Images(image_id::kIcons, 1).back();
        const DrawRecord cog = s.Images(image_id::kMenuButtons, 10).back();
        EXPECT_EQ(std::vector<float>({quit.x, quit.y, cog.x, cog.y}),
                  std::vector<float>({cx - c.dx, y - c.dy, cx + c.dx, y - c.dy}));

        s.Hold(cx - c.dx, y - c.dy);
        EXPECT_EQ(s.app.m_gameOver, 1);
        EXPECT_EQ(s.app.m_paused, 0);
    }
}

// The last walker can be lost with the panel up, since bullets fly on while
// paused; the game then ends without the pause, so the title shows its
// options in full and the next game's panel slides in from the top again.
TEST(PauseMenu, AGameLostWhilePausedLeavesNoPauseBehind) {
    Screens s;
    s.Play();
    s.Key(glfw2::KEY_ESC);
    s.driver.Frames(20);
    ASSERT_EQ(s.app.m_paused, 1);
    s.app.m_gameOver = 1;
    for (int frames = 0; s.app.m_mode != screen_mode::kTitle && frames < 200; ++frames) s.driver.Update();
    ASSERT_EQ(s.app.m_mode, screen_mode::kTitle);
    EXPECT_EQ(std::vector<int>({s.app.m_paused, s.app.m_pauseSlide, s.app.m_pausePanelY}),
              std::vector<int>({0, -1, -64}));
}

// Whichever way the pause panel opens the options, the cursor starts on the
// back cog, not where the title's box left it (row 4 is not shown here).
TEST(PauseMenu, OpeningTheOptionsPutsTheCursorOnTheBackCog) {
    for (const bool byTouch : {false, true}) {
        SCOPED_TRACE(byTouch);
        Screens s;
        s.app.m_optionsCursor = 4;
        s.Play();
        s.Key(glfw2::KEY_ESC);
        s.driver.Frames(20);
        if (byTouch) {
            s.Hold(kz_Tarvo_jscrw * 0.5f + 140, static_cast<float>(s.app.m_pausePanelY - 64));
        } else {
            s.Key(glfw2::KEY_RIGHT);
            s.Key(glfw2::KEY_SPACE);
        }
        ASSERT_EQ(s.app.m_optionsOpen, 1);
        EXPECT_EQ(s.app.m_optionsCursor, 0);
    }
}

// The icon is faint unless the game is played by touch; F2 hides it, and a
// hidden icon cannot be touched either.
TEST(PauseIcon, ShowsFaintOrPlainAndIsNeitherDrawnNorTouchableWhileTheHudIsHidden) {
    struct Case {
        int hideHud, layout;
        float alpha;  // 0: not drawn
    };
    for (const Case& c : {Case{0, 0, 0.2f}, Case{0, 2, 1}, Case{1, 0, 0}}) {
        SCOPED_TRACE(c.hideHud * 10 + c.layout);
        Screens s;
        s.app.m_hideHud = c.hideHud;
        s.app.m_padGlyphs = c.layout;
        s.Play();
        const std::vector<DrawRecord> icons = s.Images(image_id::kIcons, 0);
        ASSERT_EQ(icons.size(), c.alpha > 0 ? 1u : 0u);
        if (c.alpha > 0) {
            EXPECT_FLOAT_EQ(icons[0].alpha, c.alpha);
        }
        s.Hold(16, 16);
        EXPECT_EQ(s.app.m_paused, c.hideHud == 0 ? 1 : 0);
    }
}

}  // namespace
