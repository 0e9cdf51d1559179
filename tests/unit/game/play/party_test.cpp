// The walking party: the speed the player holds and when nobody may move,
// the countdown's tune, boarding, the lift-off into the next level, and game
// over.
#include <algorithm>
#include <filesystem>

#include "tests/support/audio_fixtures.h"

#include "tests/unit/game/play/play_fixture.h"

namespace {

using namespace walker_record;

// One frame with these keys held (and a touch on one of the touch layout's
// buttons, 0 Stroll to 2 Run): the last button tested sets the speed, and
// nothing moves in the countdown, paused, under a key lock or after game over.
TEST_F(PlayTest, TheLastButtonTestedSetsTheSpeedUnlessThePartyIsHeld) {
    struct Case {
        const char* what;
        int layout;
        std::vector<int> keys;
        int touched;
        void (*hold)(c_MyApp&);
        float speed;
    };
    const auto free = [](c_MyApp&) {};
    const Case cases[] = {
        {"nothing held", 0, {}, -1, free, 0},
        {"stroll", 0, {kKeyStroll}, -1, free, 0.05f},
        {"run tested after stroll", 0, {kKeyButton12, kKeyStroll}, -1, free, 0.15f},
        {"jog tested after stroll", 0, {kKeyStroll, kKeyButton11}, -1, free, 0.1f},
        {"pad: 12 is jog", 1, {kKeyButton12}, -1, free, 0.1f},
        {"pad: 11 is run, tested last", 1, {kKeyButton11, kKeyButton12}, -1, free, 0.15f},
        {"touch: stroll button", 2, {}, 0, free, 0.05f},
        {"touch: buttons after keys", 2, {kKeyButton12}, 1, free, 0.1f},
        {"countdown", 0, {kKeyButton12}, -1, [](c_MyApp& app) { app.m_party[party_table::kCountdown] = 3; }, 0},
        {"paused", 0, {kKeyButton12}, -1, [](c_MyApp& app) { app.m_paused = 1; }, 0},
        {"key lock", 0, {kKeyButton12}, -1, [](c_MyApp& app) { app.m_keyLock = 1; }, 0},
        {"game over", 0, {kKeyButton12}, -1, [](c_MyApp& app) { app.m_gameOver = 1; }, 0},
    };
    const float heights[] = {0.3f, 0.55f, 0.8f};
    StartGame(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        App().m_padGlyphs = c.layout;
        App().m_paused = App().m_gameOver = 0;
        Corridor(60, 1);
        c.hold(App());
        for (int key : c.keys) driver.Press(key);
        if (c.touched >= 0) {
            driver.Backend().QueueMouseMove(static_cast<int>(kz_Tarvo_jscrw - 96),
                                            static_cast<int>(kz_Tarvo_jscrh * heights[c.touched]));
            driver.Backend().QueueMouseButton(glfw2::MOUSE_BUTTON_LEFT, glfw2::PRESS);
        }
        driver.Update();
        EXPECT_FLOAT_EQ(WalkerField(1, offsetX), c.speed);
        for (int key : c.keys) driver.Release(key);
        driver.Backend().QueueMouseButton(glfw2::MOUSE_BUTTON_LEFT, glfw2::RELEASE);
        driver.Update();
    }
}

// Every level's countdown starts the tune again; its file is read and decoded
// once for the whole run, pauses included.
TEST_F(PlayTest, TheTuneIsDecodedOnceAcrossNewLevelsAndPauses) {
    const std::string sfx = driver.DataDir() + "/sfx";
    std::filesystem::create_directories(sfx);
    ASSERT_TRUE(audio_fixtures::WriteToneWav(sfx + "/tune.wav", 330.0, 4410));
    ASSERT_TRUE(audio_fixtures::EncodeOgg(sfx + "/tune.wav", sfx + "/grounded.ogg"));
    StartGame(1);
    driver.Updates(40);
    for (int level = 2; level <= 4; ++level) {
        SCOPED_TRACE(level);
        App().m_paused = 1;
        driver.Update();
        App().m_paused = 0;
        Party(party_table::kCountdown) = 119;
        App().m_musicOn = 0;
        driver.Updates(40);
        EXPECT_EQ(App().m_musicOn, 1) << "the tune started again";
    }
    const std::vector<std::string> sounds = driver.RequestedFiles(FileRequest::kSound);
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "sfx/grounded.ogg"), 1);
}

// A walker reaching the ship's cell boards; once nobody walks (the last one
// boarding, or hit while the other boarded) the ship lifts off for 120
// frames and the next level starts, with 100 for each survivor.
TEST_F(PlayTest, TheLastWalkerBoardingOrHitLiftsOffIntoTheNextLevel) {
    StartGame(1);
    ListenToEffects();
    for (const bool lastIsHit : {false, true}) {
        SCOPED_TRACE(lastIsHit ? "the last walker is hit" : "the last walker boards");
        Corridor(99, 2);
        if (lastIsHit) {
            WalkerField(2, pose) = kBoarded;
            Bullet(0, 99 * 16, (kCorridorRow - 0.2f) * 16 + 3, 0);
        } else {
            WalkerField(2, status) = 0;
        }
        App().m_musicOn = 1;
        App().m_score = 0;
        driver.Press(kKeyButton12);
        driver.Updates(lastIsHit ? 1 : 7);
        driver.Release(kKeyButton12);
        EXPECT_EQ(WalkerField(1, lastIsHit ? status : pose), lastIsHit ? 0 : kBoarded);
        EXPECT_EQ(App().m_musicOn, lastIsHit ? 1 : 0);
        if (!lastIsHit) {
            EXPECT_EQ(EffectIds().back(), sound_id::kBoardingBase - 1);
        }
        for (int liftOff = 1; liftOff < 120; ++liftOff) {
            EffectsSinceLastLook();
            driver.Update();
            ASSERT_EQ(Party(party_table::kLiftOff), liftOff);
            if (liftOff == 2) {
                EXPECT_EQ(EffectIds(), std::vector<int>{sound_id::kLiftOff});
            }
        }
        // The ship is last drawn 119² / 20 pixels up; at 120 the next level
        // is built, and its countdown runs from this frame on.
        const std::vector<DrawRecord> list = driver.DisplayList();
        const auto ship = std::find_if(list.begin(), list.end(), [](const DrawRecord& r) {
            return r.kind == image_id::kGfx && r.frame == gfx_frame::kShip;
        });
        ASSERT_NE(ship, list.end());
        EXPECT_NEAR(ship->y + App().m_camY, 1584 - 119 * 119 * 0.05f, 1e-3);
        driver.Update();
        EXPECT_EQ(std::vector<float>({Party(party_table::kLevel), Party(party_table::kCountdown), Party(party_table::kLiftOff),
                                      float(App().m_score)}),
                  std::vector<float>({2, 119, 0, lastIsHit ? 100.0f : 101.0f}));
        Party(party_table::kLevel) = 1;
    }
}

// The walkers are counted before the bullets fly, so the game ends in the
// frame after the fifth loss.
TEST_F(PlayTest, AllFiveLostEndsTheGameAndStopsTheMusicOnce) {
    StartGame(1);
    Corridor(60, 1);
    Bullet(0, 60 * 16, (kCorridorRow - 0.2f) * 16 + 3, 0);
    App().m_musicOn = 1;
    driver.Update();
    EXPECT_EQ(App().m_gameOver, 0);
    driver.Update();
    EXPECT_EQ(App().m_gameOver, 1);
    EXPECT_EQ(App().m_musicOn, 0);
    App().m_musicOn = 1;
    driver.Updates(3);
    EXPECT_EQ(std::vector<float>({float(App().m_gameOver), float(App().m_musicOn), Party(party_table::kLiftOff)}),
              std::vector<float>({1, 1, 0}));
}

}  // namespace
