// The title menu, its score panel and the console's quit confirmation,
// through the headless driver.
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "tests/support/child_process.h"
#include "tests/unit/game/screens/screens_fixture.h"

namespace {

// At 640 x 480 the carousel runs along y = 384 with the highlighted item
// settling at x = 250; items are 88 apart and the start button is at
// (570, 432) once the intro has slid in.
constexpr float kRowY = 384, kCentreX = 250, kSpacing = 88;

// A tap on the highlighted item starts it too (the layout test below).
TEST(TitleMenu, ATapHighlightsTheStartButtonStartsAndASwipeNever) {
    Screens s;
    s.driver.Frames(40);  // the intro slides in
    ASSERT_EQ(s.app.m_menuSel, 1);
    s.Click(kCentreX + 2 * kSpacing, kRowY);
    EXPECT_EQ(s.app.m_menuSel, 3);
    EXPECT_EQ(s.app.m_mode, screen_mode::kTitle) << "the first tap only highlights";
    EXPECT_EQ(s.LastSound().id, sound_id::kTick);

    // A swipe from the empty left across the settled items.
    s.driver.Frames(60);
    s.Hold(20, kRowY);
    for (float x = 40; x < 600; x += 20) s.Hold(x, kRowY);
    s.Lift();
    EXPECT_EQ(s.app.m_mode, screen_mode::kTitle) << "a swipe never starts a game";
    EXPECT_NE(s.app.m_menuSel, 3) << "the fling moved the highlight";

    s.driver.Frames(90);
    const int type = s.app.m_menuSel;
    s.Hold(570, 432);
    EXPECT_EQ(std::vector<int>({s.app.m_mode, s.app.m_difficulty, s.LastSound().id}),
              std::vector<int>({screen_mode::kStartGame, type, sound_id::kSelect}));
}

// The options cog is the last item and the first game type the first: a
// further step past either end keeps the highlight where it is, at once and
// once the carousel has settled.
TEST(TitleMenu, TheArrowKeysStepThroughTheItemsAndStopAtEitherEnd) {
    Screens s;
    s.driver.Frames(40);
    const struct { int key, item; } steps[] = {
        {glfw2::KEY_RIGHT, 2}, {glfw2::KEY_RIGHT, 3}, {glfw2::KEY_RIGHT, 4}, {glfw2::KEY_RIGHT, 4},
        {glfw2::KEY_LEFT, 3},  {glfw2::KEY_LEFT, 2},  {glfw2::KEY_LEFT, 1},  {glfw2::KEY_LEFT, 1},
    };
    for (const auto& step : steps) {
        s.Key(step.key);
        EXPECT_EQ(s.app.m_menuSel, step.item);
        s.driver.Frames(60);
        EXPECT_EQ(std::vector<int>({s.app.m_menuSel, s.app.m_mode, s.app.m_optionsOpen}),
                  std::vector<int>({step.item, screen_mode::kTitle, 0}));
    }
}

TEST(TitleMenu, TheDeviceThatStartsTheGameSetsItsControlLayout) {
    struct Case {
        const char* name;
        int isOuya;
        std::function<void(Screens&)> start;
        int mode, layout, startPad;
    };
    const auto joysticks = [](Screens& s) {
        for (int port = 0; port < 4; ++port) {
            s.driver.Backend().JoystickAt(port) = {true, {0, 0}, std::vector<unsigned char>(16, glfw2::RELEASE)};
            if (port % 2 == 1) s.driver.Backend().JoystickAt(port).buttons[0] = glfw2::PRESS;
        }
        s.driver.Frames(2);
    };
    const Case cases[] = {
        {"Space", 0, [](Screens& s) { s.Key(glfw2::KEY_SPACE); }, screen_mode::kInGame, 0, 0},
        {"fire on joysticks 1 and 3", 0, joysticks, screen_mode::kInGame, 1, 1},
        {"a tap", 0, [](Screens& s) { s.Click(kCentreX, kRowY); }, screen_mode::kInGame, 2, 0},
        {"V (button 13)", 0, [](Screens& s) { s.Key('V'); }, screen_mode::kInGame, 0, 0},
        {"V on the console", 1, [](Screens& s) { s.Key('V'); }, screen_mode::kTitle, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Screens s;
        kz_Tarvo_isOuya = c.isOuya;
        s.driver.Frames(40);
        s.Key(glfw2::KEY_RIGHT);
        s.driver.Frames(60);
        ASSERT_EQ(s.app.m_menuSel, 2);
        c.start(s);
        kz_Tarvo_isOuya = 0;
        EXPECT_EQ(s.app.m_mode, c.mode);
        if (c.mode != screen_mode::kInGame) continue;
        EXPECT_EQ(std::vector<int>({s.app.m_difficulty, s.app.m_padGlyphs, s.app.m_startPad}), std::vector<int>({2, c.layout, c.startPad}));
    }
}

// Rows of 1.5 font lines fit in half the height less 90 units, one to ten.
// The very first title frame shows the first game type's lists.
TEST(TitleMenu, TheScorePanelListsTheHighlightedTypesScoresInTheRowsThatFit) {
    struct Case { int height; bool secondType; const char* best; const char* last; };
    const Case cases[] = {
        {480, true, "Top101211109876543", "Last1031302928272625242322"},
        {160, true, "Highscore12", "Last31"},
        {160, false, "Highscore7", "Last8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.best);
        Screens s(640, c.height);
        for (int i = 0; i < 10; ++i) {
            s.app.m_scores[i] = 7;            // the first game type's best
            s.app.m_scores[30 + i] = 8;       // and last scores
            s.app.m_scores[10 + i] = 12 - i;  // the second type's
            s.app.m_scores[40 + i] = 31 - i;
        }
        if (c.secondType) {
            s.Key(glfw2::KEY_DOWN);
        } else {
            s.driver.Frame();
        }
        EXPECT_EQ(s.Glyphs(255, 200, 100), c.best);
        EXPECT_EQ(s.Glyphs(200, 255, 100), c.last);
    }
}

// The heading of the best scores sits clear of the maker's logo at the top
// right, whose square frame holds its circle: no glyph cell of the heading's
// line reaches into that square.
TEST(TitleMenu, TheBestScoresHeadingIsClearOfTheMakersLogo) {
    for (const auto& [width, height] : {std::pair{640, 480}, std::pair{1280, 720}}) {
        SCOPED_TRACE(width);
        Screens s(width, height);
        s.driver.Frames(40);  // the intro slides in
        const std::vector<DrawRecord> logos = s.Images(image_id::kMakerLogo, 0);
        ASSERT_EQ(logos.size(), 1u);
        const DrawRecord& logo = logos[0];
        const float logoHalf = 0.5f * logo.sizeX * static_cast<float>(s.app.m_imageInfo[image_info::Index(
                                   image_id::kMakerLogo, image_info::kFrameWidth)]) * s.app.m_hdScale;
        float headingY = 1e9f;
        for (const DrawRecord& r : s.driver.DisplayList())
            if (r.kind == s.app.m_fontImage && r.red == 255 && r.green == 200 && r.blue == 100)
                headingY = std::min(headingY, r.y);
        ASSERT_LT(headingY, 1e9f) << "the heading is drawn";
        int glyphs = 0;
        for (const DrawRecord& r : s.driver.DisplayList()) {
            if (r.kind != s.app.m_fontImage || r.y != headingY) continue;
            ++glyphs;
            const float cellHalf = 8 * r.sizeY;
            const bool overlapsX = std::fabs(r.x - logo.x) < logoHalf + cellHalf;
            EXPECT_FALSE(overlapsX && r.y - cellHalf < logo.y + logoHalf) << "glyph " << r.frame << " at " << r.x;
        }
        EXPECT_GE(glyphs, 4);
    }
}

// Back ends the program on the desktop; the console asks first, and its quit
// screen's first action returns, the others and back end the program.
TEST(QuitConfirmation, ActionOneReturnsTheOthersAndBackEndQuietlyAHeldFingerDoesNothing) {
    struct Case {
        const char* name;
        int isOuya;
        std::function<void(Screens&)> act;
        int mode;  // 0: the program ended with status 0 and no message
    };
    // The console's back is joystick 0's button 14, a 16-button pad's 11th.
    const auto joyBack = [](Screens& s) {
        s.driver.Backend().JoystickAt(0) = {true, {0, 0}, std::vector<unsigned char>(16, glfw2::RELEASE)};
        s.driver.Backend().JoystickAt(0).buttons[10] = glfw2::PRESS;
        s.driver.Frame();
    };
    const Case cases[] = {
        {"Escape on the desktop title", 0, [](Screens& s) { s.Key(glfw2::KEY_ESC); }, 0},
        {"action 1", 1, [](Screens& s) { s.Key(glfw2::KEY_SPACE); }, 1},
        {"action 2", 1, [](Screens& s) { s.Key(glfw2::KEY_LCTRL); }, 0},
        {"action 3", 1, [](Screens& s) { s.Key(glfw2::KEY_LSHIFT); }, 0},
        {"back", 1, joyBack, 0},
        {"action 2 under a held finger", 1,
         [](Screens& s) {
             s.Hold(10, 10);
             s.app.m_touchLock = 1;
             s.driver.Press(glfw2::KEY_LCTRL);
             s.Hold(10, 10);
         },
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ChildResult r = RunInChild([&] {
            Screens s;
            kz_Tarvo_isOuya = c.isOuya;
            s.driver.Frames(40);
            if (c.isOuya == 1) {
                s.Key(glfw2::KEY_ESC);
                if (s.app.m_mode != screen_mode::kQuitConfirm) std::exit(3);
            }
            c.act(s);
            std::printf("mode %d\n", s.app.m_mode);
        });
        EXPECT_TRUE(r.exited);
        EXPECT_EQ(r.exit_status, 0);
        // Samples of earlier drivers may be discarded in the child; nothing else is said.
        EXPECT_EQ(r.out.find("Error"), std::string::npos) << r.out;
        const std::string said = c.mode == 0 ? "mode " : "mode " + std::to_string(c.mode) + "\n";
        EXPECT_EQ(r.out.find(said) != std::string::npos, c.mode != 0) << r.out;
    }
}

}  // namespace
