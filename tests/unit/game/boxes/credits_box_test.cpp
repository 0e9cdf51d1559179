// The credits test card: the credit lines, screens too flat or too narrow
// for border ramps, and closing.
#include <functional>

#include "tests/unit/game/boxes/boxes_fixture.h"

namespace {

// Drawn by the next update at this fade, over the title.
void ShowCredits(BoxesGame& game, int fade) {
    game.app.m_creditsOpen = 1;
    game.app.m_creditsFade = fade;
}

// Tiles are squares one unit larger than the tile size, drawn column by
// column, top to bottom.
std::vector<DrawRecord> Tiles(const BoxesGame& game, float size) { return game.Rects(size + 1, size + 1); }

// Letters stand for the lines (the corner figures are digits): the centre
// line's neighbours from three before to four after.
TEST(CreditsBox, TheLinesCycleThroughAllButTheLastAndAShortTextDividesByNothing) {
    struct Case { std::vector<const char*> text; int centreLine; std::string drawn; };
    const Case cases[] = {{{"A", "B", "C", "D", "E"}, 0, "BCDABCDA"},
                          {{"A", "B", "C", "D", "E"}, 7, "ABCDABCD"},
                          {{"A"}, 3, "AAAAAAAA"},
                          {{}, 0, ""}};
    for (const Case& c : cases) {
        BoxesGame game;
        Array<String> text(static_cast<int>(c.text.size()));
        for (int i = 0; i < text.Length(); ++i) text[i] = String(c.text[i]);
        gc_assign(kz_Tarvo_CreditText, text);
        ShowCredits(game, 30);
        game.app.m_creditLine = c.centreLine;
        game.Update();
        std::string letters;
        for (const std::string& t : game.Texts()) std::copy_if(t.begin(), t.end(), std::back_inserter(letters), ::isupper);
        EXPECT_EQ(letters, c.drawn);
    }
}

// 1000 x 200 gives a virtual screen two cells high, 200 x 1000 one two cells
// wide: the ramp across them is taken over one cell, so the side bars (or the
// top and bottom bars) show the ramps' ends.
TEST(CreditsBox, ScreensTwoCellsDeepDrawTheirRampsWithoutDividingByZero) {
    struct Case { int width, height; bool sideBars; std::vector<std::vector<float>> colours; };
    const Case cases[] = {{1000, 200, true, {{0, 255, 0}, {255, 0, 0}}}, {200, 1000, false, {{0, 255, 0}, {0, 0, 0}}}};
    for (const Case& c : cases) {
        BoxesGame game(c.width, c.height);
        ShowCredits(game, 30);
        game.Update();
        const float s = std::max(kz_Tarvo_jscrw, kz_Tarvo_jscrh) / 12;
        std::vector<std::vector<float>> colours;
        for (const DrawRecord& bar : c.sideBars ? game.Rects(s, s - 16) : game.Rects(s - 16, s)) {
            colours.push_back({bar.red, bar.green, bar.blue});
        }
        EXPECT_EQ(colours, c.colours) << c.width << " x " << c.height;
    }
}

// The card is drawn at fade 15 fifteen updates after closing.
TEST(CreditsBox, ATouchOrAConfirmClosesTheCardWhichFadesOutAsItFliesApart) {
    const std::function<void(BoxesGame&)> presses[] = {
        [](BoxesGame& g) { g.Mouse(glfw2::PRESS, 10, 10); },
        [](BoxesGame& g) { g.driver.Press(glfw2::KEY_ENTER); },
    };
    for (const auto& press : presses) {
        BoxesGame game;
        ShowCredits(game, 30);
        game.Update();
        press(game);
        game.Update();
        EXPECT_EQ(game.app.m_creditsOpen, 0);
        game.Updates(15);
        const std::vector<DrawRecord> tiles = Tiles(game, 640 / 12.0f * 15 / 20);
        ASSERT_FALSE(tiles.empty());
        EXPECT_EQ(tiles[0].alpha, 0.5f);
    }
}

}  // namespace
