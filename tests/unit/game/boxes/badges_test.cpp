// Badges: names and details, the notification strips, the panel's scroll.
#include "tests/unit/game/boxes/boxes_fixture.h"

namespace {

// A strip is 160 x 32; slot 0 sits at the bottom, 34 up from the edge.
TEST(Badges, ANotificationSlidesInStaysAndSlidesOutThenFreesItsSlot) {
    struct Case { int slot, timer; float x; int timerAfter; };
    const Case cases[] = {{0, 1, -128, 2},     {0, 9, 0, 10},       {0, 229, 0, 230}, {0, 230, -16, 231},
                          {0, 239, -160, 240}, {0, 240, -176, 0},   {3, 100, 0, 101}, {0, 0, 0, 0}};
    BoxesGame game;
    for (const Case& c : cases) {
        game.app.m_badgeShowB[c.slot] = c.timer;
        game.Update();
        const std::vector<DrawRecord> strips = game.Rects(160, 32);
        ASSERT_EQ(strips.size(), c.timer > 0 ? 1u : 0u) << c.timer;
        if (c.timer > 0) {
            EXPECT_EQ(std::vector<float>({strips[0].x, strips[0].y}), std::vector<float>({c.x, 480 - 34.0f * (c.slot + 1)}));
        }
        EXPECT_EQ(game.app.m_badgeShowB[c.slot], c.timerAfter) << c.timer;
        game.app.m_badgeShowB[c.slot] = 0;
    }
}

// Only id 0 has a text; every id below 64 has an icon frame.
TEST(Badges, NamesAndDetailsSplitAtTheBarAndOnlyIdsBelow64ShowAnIcon) {
    struct Case { int id; const char *name, *detail; int icons; };
    const Case cases[] = {{0, "Test Badge", "This is a Test Badge which has no purpose.", 1},
                          {63, "", "", 1}, {64, "", "", 0}};
    for (const Case& c : cases) {
        BoxesGame game;
        EXPECT_TRUE(game.app.p_BadgeName(c.id) == String(c.name)) << c.id;
        EXPECT_TRUE(game.app.p_BadgeDetail(c.id) == String(c.detail)) << c.id;
        game.app.m_badgeShowA[0] = c.id;
        game.app.m_badgeShowB[0] = 50;
        game.Update();
        const std::vector<DrawRecord> list = game.driver.DisplayList();
        EXPECT_EQ(std::count_if(list.begin(), list.end(), [](const DrawRecord& r) { return r.kind == 80; }), c.icons);
        EXPECT_EQ(game.Drew(c.name), *c.name != '\0') << c.id;
    }
}

// Each press moves the target 16; the panel eases a sixth of the way each
// update and snaps once within 6.
TEST(Badges, ThePanelEasesToMinus48AfterThreePressesOfDownAndStaysAtTheTopOnUp) {
    BoxesGame game;
    game.app.m_badgesOpen = 1;
    game.Push(glfw2::KEY_UP);
    EXPECT_EQ(std::vector<float>({game.app.m_badgeScrollTarget, game.app.m_badgeScroll}), std::vector<float>({0, 0}));
    game.Push(glfw2::KEY_DOWN, 3);
    EXPECT_EQ(game.app.m_badgeScrollTarget, -48);
    for (int update = 0; update < 60 && game.app.m_badgeScroll != -48; ++update) {
        const float before = game.app.m_badgeScroll;
        game.Update();
        EXPECT_LT(game.app.m_badgeScroll, before);
        EXPECT_GE(game.app.m_badgeScroll, -48) << "never past the target";
    }
    EXPECT_EQ(game.app.m_badgeScroll, -48);
}

}  // namespace
