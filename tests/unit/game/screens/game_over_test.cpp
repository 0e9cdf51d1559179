// The game-over overlay and the score tables, through the headless driver.
#include <algorithm>
#include <array>
#include <vector>

#include "tests/unit/game/screens/screens_fixture.h"

namespace {

using Ten = std::array<int, 10>;

std::vector<int> Scores(const c_MyApp& app) { return {app.m_scores.begin(), app.m_scores.end()}; }

bool DrawsTheHighscoreBox(const HeadlessDriver& driver) {
    for (const DrawRecord& r : driver.DisplayList())
        if (r.IsRect() && r.red == 0 && r.green == 125 && r.blue == 255) return true;
    return false;
}

// The overlay shows the place the score would take, ties included; the
// tables then take it only above an entry, and always at the head of the
// last scores. Every other list stays as it was, and the file keeps them.
TEST(ScoreTables, TheOverlayShowsThePlaceAndTheTablesTakeTheScore) {
    struct Case { const char* name; int difficulty, score; Ten best; const char* place; Ten bestAfter; };
    const Ten tens = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
    const Case cases[] = {
        {"equal to the best", 1, 100, tens, "1st!", {100, 100, 90, 80, 70, 60, 50, 40, 30, 20}},
        {"0 on an empty table", 2, 0, {}, "1st!", {}},
        {"below all ten", 3, 5, tens, "", tens},
        {"between", 2, 55, tens, "6th", {100, 90, 80, 70, 60, 55, 50, 40, 30, 20}},
        {"tied with the last", 3, 10, tens, "10th", tens},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Screens s;
        for (int i = 0; i < 150; ++i) s.app.m_scores[i] = 1000 + i;
        const int best = score_table::Best(c.difficulty, 0), last = score_table::Last(c.difficulty, 0);
        std::copy(c.best.begin(), c.best.end(), s.app.m_scores.begin() + best);
        std::vector<int> expected = Scores(s.app);
        std::copy(c.bestAfter.begin(), c.bestAfter.end(), expected.begin() + best);
        std::copy_backward(expected.begin() + last, expected.begin() + last + 9, expected.begin() + last + 10);
        expected[last] = c.score;

        s.app.m_difficulty = c.difficulty;
        s.app.m_score = c.score;
        s.app.m_gameOver = 1;
        s.app.m_gameOverTimer = 20;
        s.app.m_mode = screen_mode::kInGame;
        s.driver.Update();
        std::string place;
        s.app.p_MyNth().AppendUtf8(place);
        EXPECT_EQ(place, c.place);
        EXPECT_EQ(DrawsTheHighscoreBox(s.driver), *c.place != 0);

        s.app.m_mode = screen_mode::kReturnToTitle;
        s.driver.Update();
        EXPECT_EQ(Scores(s.app), expected);
        // Read back with valid checksums (the three tables read are 0 to 59).
        std::fill(s.app.m_scores.begin(), s.app.m_scores.begin() + 60, 0);
        s.app.p_Load();
        EXPECT_EQ(Scores(s.app), expected);
    }
}

// Both locks stay set under the overlay, so neither back nor the pause icon
// opens the pause menu; at frame 90 the title takes over, the timer goes on
// at 73 (folded twice that update, since the title mode runs the overlay as
// well), and the overlay is gone 37 title frames after the handover.
TEST(GameOver, TheOverlayLocksInputHandsOverAtNinetyAndFoldsAwayOverTheTitle) {
    Screens s;
    s.Play();
    s.app.m_gameOver = 1;
    s.app.m_musicOn = 1;
    s.driver.Updates(2);  // the overlay shows from its second frame
    s.driver.Press(glfw2::KEY_ESC);
    s.Hold(16, 16);
    for (int t = 4; t < 90; ++t) {
        s.driver.Update();
        ASSERT_EQ(s.app.m_paused, 0) << t;
        ASSERT_EQ(s.app.m_mode, screen_mode::kInGame) << t;
    }
    EXPECT_EQ(s.app.m_gameOverTimer, 89);
    EXPECT_EQ(s.app.m_keyLock + s.app.m_touchLock, 2);
    s.driver.Update();
    EXPECT_EQ(s.app.m_mode, screen_mode::kReturnToTitle);
    EXPECT_EQ(s.app.m_gameOverTimer, 71);
    EXPECT_EQ(s.app.m_musicOn, 0);
    int shown = 1;
    while (s.app.m_gameOverTimer > 0 && shown < 100) {
        s.driver.Update();
        ++shown;
    }
    EXPECT_EQ(shown, 37);
    EXPECT_EQ(s.app.m_mode, screen_mode::kTitle);
}

}  // namespace
