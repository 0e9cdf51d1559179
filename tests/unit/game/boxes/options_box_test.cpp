// The options box over the title and over a paused game: its rows, the
// cursor, the locks while it slides in, saving on close, and the console's
// overscan slider.
#include <filesystem>
#include <functional>

#include "devices/gxtk_audio.h"
#include "tests/support/audio_fixtures.h"
#include "tests/unit/game/boxes/boxes_fixture.h"

namespace {

// Opened as the title and the pause menu open it, then slid fully in.
void OpenOptions(BoxesGame& game) {
    game.app.p_OpenOptions();
    game.Updates(30);
    ASSERT_EQ(game.app.m_optionsFade, 30);
}

// Before each press the tune is playing; modes without music stop it.
TEST(OptionsBox, TheSoundRowCyclesItsModesAndStopsTheMusicWhenTheNewModeHasNone) {
    struct Press { const char* label; int mode; bool musicPlays; };
    struct Case { int musicStream, startMode; std::vector<Press> presses; };
    const Case cases[] = {
        {1, 0, {{"Sound : SFX + Music", 1, true}, {"Sound : SFX", 2, false}, {"Sound : Music", 3, true},
                {"Sound : Off", 0, false}}},
        // Without a music stream there are two modes; a third is reset to off.
        {0, 2, {{"Sound : On", 1, true}, {"Sound : Off", 0, true}}},
    };
    for (const Case& c : cases) {
        BoxesGame game;
        std::filesystem::create_directories(game.driver.DataDir() + "/sfx");
        ASSERT_TRUE(audio_fixtures::WriteToneWav(game.driver.DataDir() + "/sfx/tune.wav", 440, 4410));
        kz_Tarvo_HasMusicStream = c.musicStream;
        game.app.m_settings[5] = c.startMode;
        OpenOptions(game);
        game.Push(glfw2::KEY_DOWN);
        EXPECT_TRUE(game.Drew("Sound : Off"));
        for (const Press& press : c.presses) {
            kz_audio_PlayMusic(String("sfx/tune.wav"), 1);
            game.app.m_musicOn = 1;
            game.Push(glfw2::KEY_ENTER);
            EXPECT_TRUE(game.Drew(press.label)) << press.label;
            EXPECT_EQ(game.app.m_settings[5], press.mode) << press.label;
            EXPECT_EQ(game.app.m_musicOn, press.musicPlays ? 1 : 0) << press.label;
            EXPECT_EQ(kz_audio_device->MusicState(), press.musicPlays ? kChannelPlaying : kChannelStopped);
        }
    }
}

TEST(OptionsBox, TheICadeRowTogglesOncePerPressAndReleasesTheCabinetsButtons) {
    BoxesGame game;
    OpenOptions(game);
    game.Push(glfw2::KEY_DOWN, 2);
    game.app.m_buttons[3] = 2;  // left, held by the cabinet
    game.driver.Press(glfw2::KEY_ENTER);
    game.Updates(5);
    EXPECT_EQ(kz_Tarvo_iCadeControls, 1) << "held for five updates, toggled once";
    EXPECT_EQ(game.app.m_buttons[3], 0);
    EXPECT_EQ(game.app.m_optionsCursor, 2) << "the held left did not move the cursor";
    EXPECT_TRUE(game.Drew("iCade : On"));
    game.driver.Release(glfw2::KEY_ENTER);
    game.Update();
    game.Push(glfw2::KEY_ENTER);
    EXPECT_TRUE(game.Drew("iCade : Off"));
}

TEST(OptionsBox, WhilePausedThereIsNoCreditsRowAndTheCursorStopsAtTheDisplayRow) {
    for (const int paused : {0, 1}) {
        BoxesGame game;
        game.app.m_mode = paused ? 10 : 1;
        game.app.m_paused = paused;
        game.app.m_pauseSlide = 1;  // as the game opens the pause menu
        OpenOptions(game);
        game.Push(glfw2::KEY_DOWN, 6);
        EXPECT_EQ(game.app.m_optionsCursor, paused ? 3 : 4);
        EXPECT_TRUE(game.Drew("Fullscreen"));
        EXPECT_EQ(game.Drew("Credits"), paused == 0);
    }
}

// The Credits row's touch area spans y 276..318 one update before the box is
// fully shown, and 252..294 once it is.
TEST(OptionsBox, NothingReactsWhileTheBoxSlidesInNorUntilThePressThatWasHeldEnds) {
    BoxesGame game;
    game.app.m_optionsOpen = 1;
    game.driver.Press(glfw2::KEY_ENTER);
    game.driver.Press(glfw2::KEY_DOWN);
    game.Updates(29);
    game.Mouse(glfw2::PRESS, 450, 300);
    game.Updates(3);
    EXPECT_EQ(std::vector<int>({game.app.m_optionsOpen, game.app.m_creditsOpen, game.app.m_optionsCursor}),
              std::vector<int>({1, 0, 4})) << "a touch selects its row, but nothing acts";
    game.driver.Release(glfw2::KEY_DOWN);
    game.driver.Release(glfw2::KEY_ENTER);
    game.Mouse(glfw2::RELEASE);
    game.Update();
    game.Click(450, 270);
    EXPECT_EQ(std::vector<int>({game.app.m_optionsOpen, game.app.m_creditsOpen}), std::vector<int>({0, 1}));
}

// The cog is at (100, 60); Credits is row 4. A setting changed in the box
// reaches the file whichever way the box is left.
TEST(OptionsBox, EveryWayOutOfTheBoxSavesTheChangedSettings) {
    struct Case {
        int cursor;
        std::function<void(BoxesGame&)> close;
        int creditsOpen;
    };
    const Case cases[] = {
        {0, [](BoxesGame& g) { g.Click(100, 60); }, 0},
        {2, [](BoxesGame& g) { g.Push(glfw2::KEY_ESC); }, 0},
        {0, [](BoxesGame& g) { g.Push(glfw2::KEY_SPACE); }, 0},
        {4, [](BoxesGame& g) { g.Push(glfw2::KEY_ENTER); }, 1},
    };
    for (const Case& c : cases) {
        const int row = static_cast<int>(&c - cases);
        BoxesGame game;
        OpenOptions(game);
        game.Push(glfw2::KEY_DOWN);
        game.Push(glfw2::KEY_ENTER);  // the sound row: effects and music to effects
        ASSERT_EQ(game.app.m_settings[setting::kSound], 2) << row;
        game.app.m_optionsCursor = c.cursor;
        c.close(game);
        EXPECT_EQ(std::vector<int>({game.app.m_optionsOpen, game.app.m_creditsOpen}),
                  std::vector<int>({0, c.creditsOpen})) << row;
        game.app.m_settings[setting::kSound] = 1;
        game.app.p_Load();
        EXPECT_EQ(game.app.m_settings[setting::kSound], 2) << row;
    }
}

// The console's shoulder buttons (here the letters O and B) step the
// overscan by 16 and do not confirm the cog; there is no iCade row.
TEST(OptionsBox, TheConsolesOverscanStepsBySixteenWithinOneTo96) {
    BoxesGame game;
    kz_Tarvo_isOuya = 1;
    game.app.m_settings[14] = 1;
    OpenOptions(game);
    EXPECT_FALSE(game.Drew("iCade : Off"));
    const int steps[][3] = {{'O', 1, 17}, {'O', 5, 96}, {'B', 1, 80}, {'B', 6, 1}};
    for (const auto& step : steps) {
        game.Push(step[0], step[1]);
        EXPECT_EQ(std::vector<float>({static_cast<float>(game.app.m_settings[14]), kz_Tarvo_overscan}),
                  std::vector<float>(2, static_cast<float>(step[2])));
    }
    EXPECT_EQ(game.app.m_optionsOpen, 1);
}

}  // namespace
