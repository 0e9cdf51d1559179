// The walking party: the speed the player holds, when nobody may move, the
// steps and their score, the countdown with its tune, boarding, the lift-off
// into the next level, and game over.
#include <algorithm>

#include "tests/unit/game/play/play_fixture.h"

namespace {

using namespace walker_record;

struct SpeedCase {
    const char* what;
    int layout;
    std::vector<int> keys;
    int screenButton;  // 0 Stroll, 1 Jog, 2 Run of the touch layout; -1 none
    float speed;
};

class SpeedTest : public PlayTest, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(SpeedTest, TheLastButtonTestedSetsTheSpeedForOneFrame) {
    const SpeedCase& c = GetParam();
    StartGame(1, c.layout);
    Corridor(60, 1);
    for (int key : c.keys) driver.Press(key);
    if (c.screenButton >= 0) {
        const float heights[] = {0.3f, 0.55f, 0.8f};
        driver.Backend().QueueMouseMove(static_cast<int>(kz_Tarvo_jscrw - 96),
                                        static_cast<int>(kz_Tarvo_jscrh * heights[c.screenButton]));
        driver.Backend().QueueMouseButton(glfw2::MOUSE_BUTTON_LEFT, glfw2::PRESS);
    }
    driver.Update();
    EXPECT_FLOAT_EQ(WalkerField(1, offsetX), c.speed);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SpeedTest,
    ::testing::Values(SpeedCase{"Nothing", 0, {}, -1, 0}, SpeedCase{"KeyboardStroll", 0, {kKeyStroll}, -1, 0.05f},
                      SpeedCase{"KeyboardJog", 0, {kKeyButton11}, -1, 0.1f},
                      SpeedCase{"KeyboardRunWinsOverStroll", 0, {kKeyStroll, kKeyButton12}, -1, 0.15f},
                      SpeedCase{"KeyboardJogWinsOverStroll", 0, {kKeyButton11, kKeyStroll}, -1, 0.1f},
                      SpeedCase{"PadJogIsButton12", 1, {kKeyButton12}, -1, 0.1f},
                      SpeedCase{"PadRunIsButton11AndWins", 1, {kKeyButton11, kKeyButton12}, -1, 0.15f},
                      SpeedCase{"TouchKeysAsKeyboard", 2, {kKeyButton12}, -1, 0.15f},
                      SpeedCase{"TouchStrollButton", 2, {}, 0, 0.05f},
                      SpeedCase{"TouchButtonWinsOverKeys", 2, {kKeyButton12}, 1, 0.1f},
                      SpeedCase{"TouchRunButton", 2, {}, 2, 0.15f}),
    [](const ::testing::TestParamInfo<SpeedCase>& info) { return std::string(info.param.what); });

// With Run held, none of these lets the party move; turrets fire all the same.
TEST_F(PlayTest, NobodyMovesInTheCountdownPausedUnderALockOrAfterGameOver) {
    struct Case {
        const char* what;
        void (*hold)(c_MyApp&);
    };
    const Case cases[] = {
        {"countdown", [](c_MyApp& app) { app.m_party[party_table::kCountdown] = 3; }},
        {"paused", [](c_MyApp& app) { app.m_paused = 1; }},
        {"key lock", [](c_MyApp& app) { app.m_keyLock = 1; }},
        {"game over", [](c_MyApp& app) { app.m_gameOver = 1; }},
    };
    StartGame(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Corridor(60, 1);
        Turret(70, 90, 180);
        c.hold(App());
        driver.Press(kKeyButton12);
        driver.Updates(2);
        driver.Release(kKeyButton12);
        driver.Update();
        EXPECT_EQ(WalkerField(1, offsetX), 0);
        EXPECT_EQ(WalkerField(1, column), 60);
        EXPECT_EQ(FlyingBullets(), App().m_paused ? 0 : 1);
        App().m_paused = App().m_gameOver = 0;
    }
}

// Float offsets: 7 frames a cell at 0.15, 10 at 0.1, and 19 at 0.05 (0.05
// added 19 times is just above 0.95 in single precision).
TEST_F(PlayTest, WalkersCrossACellInFixedFramesAndEachStepScoresOne) {
    const struct {
        int key;
        int frames;
    } cases[] = {{kKeyButton12, 7}, {kKeyButton11, 10}, {kKeyStroll, 19}};
    StartGame(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frames);
        Corridor(60, 2);
        App().m_score = 0;
        driver.Press(c.key);
        for (int cell = 1; cell <= 2; ++cell) {
            driver.Updates(c.frames - 1);
            EXPECT_EQ(WalkerField(1, column), 60 + cell - 1);
            driver.Update();
            EXPECT_EQ(WalkerField(1, column), 60 + cell);
            EXPECT_EQ(WalkerField(2, column), 61 + cell);
            EXPECT_EQ(App().m_score, 2 * cell);
        }
        driver.Release(c.key);
        driver.Update();
    }
}

// "Episode 1" for the 120 frames after the build, "Ready!" while 10 < the
// countdown < 60, the tune 35 frames in, once.
TEST_F(PlayTest, TheCountdownShowsEpisodeThenReadyAndStartsTheTuneOnce) {
    StartGame(1);
    const float readyY = kz_Tarvo_jscrh * 0.5f + 64;
    std::vector<int> episodeFrames, readyFrames;
    int tuneFrame = 0;
    for (int frame = 1; frame <= 130; ++frame) {
        driver.Update();
        const std::vector<DrawRecord> list = driver.DisplayList();
        const auto big = [](const DrawRecord& r) { return r.kind == image_id::kFont && r.sizeX == 4; };
        if (std::any_of(list.begin(), list.end(), big)) episodeFrames.push_back(frame);
        if (std::any_of(list.begin(), list.end(), [&](const DrawRecord& r) { return big(r) && r.y == readyY; })) {
            readyFrames.push_back(frame);
        }
        if (tuneFrame == 0 && App().m_musicOn == 1) tuneFrame = frame;
    }
    ASSERT_EQ(episodeFrames.size(), 120u);
    EXPECT_EQ(episodeFrames.back(), 120);
    ASSERT_EQ(readyFrames.size(), 49u);
    EXPECT_EQ(readyFrames.front(), 62);
    EXPECT_EQ(tuneFrame, 35);
    EXPECT_EQ(TuneStarts(), 1);
}

// A walker reaching the ship's cell boards; the level ends once nobody
// walks, with 100 for each survivor, after 120 frames of lift-off.
TEST_F(PlayTest, TheLastWalkerBoardingLiftsOffIntoTheNextLevel) {
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
        EffectsSinceLastLook();
        driver.Press(kKeyButton12);
        driver.Updates(lastIsHit ? 1 : 7);
        driver.Release(kKeyButton12);
        if (lastIsHit) {
            EXPECT_EQ(WalkerField(1, status), 0);
            EffectsSinceLastLook();
        } else {
            EXPECT_EQ(WalkerField(1, pose), kBoarded);
            EXPECT_EQ(EffectIds(), std::vector<int>{sound_id::kBoardingBase - 1});
            EXPECT_EQ(App().m_musicOn, 0);
        }
        for (int liftOff = 1; liftOff < 120; ++liftOff) {
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
        EXPECT_EQ(Party(party_table::kLevel), 2);
        EXPECT_EQ(Party(party_table::kCountdown), 119);
        EXPECT_EQ(Party(party_table::kLiftOff), 0);
        EXPECT_EQ(App().m_score, lastIsHit ? 100 : 101);
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
    EXPECT_EQ(App().m_gameOver, 1);
    EXPECT_EQ(App().m_musicOn, 1);
    EXPECT_EQ(Party(party_table::kLiftOff), 0);
}

}  // namespace
