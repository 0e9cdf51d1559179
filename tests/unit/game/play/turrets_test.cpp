// Turrets and bullets: the hit box, who can be hit, culling off screen, a
// full bullet table, when turrets fire, and how loud a shot is.
#include "tests/unit/game/play/play_fixture.h"

namespace {

using namespace walker_record;

// Walkers on the spot stand at column 60; their hit point is 3.2 pixels above
// their position. Flying up, a bullet moves 3 pixels before it is tested.
TEST_F(PlayTest, ABulletKillsAtMostOneWalkingWalkerInsideItsBox) {
    struct Case {
        const char* what;
        float dx, dy;  // from the hit point, after the bullet's flight
        int pose, status, onTheSpot, hit;
    };
    const Case cases[] = {
        {"right edge", 7.99f, 0, kWalking, 1, 1, 1},   {"left edge", -7.99f, 0, kWalking, 1, 1, 1},
        {"right outside", 8.01f, 0, kWalking, 1, 1, 0}, {"bottom edge", 0, 11.99f, kWalking, 1, 1, 1},
        {"top edge", 0, -11.99f, kWalking, 1, 1, 1},    {"below outside", 0, 12.01f, kWalking, 1, 1, 0},
        {"two on the spot", 0, 0, kWalking, 1, 2, 1},   {"boarded", 0, 0, kBoarded, 1, 1, 0},
        {"lying", 0, 0, kLyingLeft, 0, 1, 0},
    };
    StartGame(1);
    ListenToEffects();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // One more walker walks further on, so that the level goes on.
        Corridor(60, c.onTheSpot + 1);
        PlaceWalker(c.onTheSpot + 1, 70, 1);
        for (int p = 1; p <= c.onTheSpot; ++p) {
            PlaceWalker(p, 60, c.status);
            WalkerField(p, pose) = static_cast<float>(c.pose);
        }
        Bullet(0, 60 * 16 + c.dx, (kCorridorRow - 0.2f) * 16 + c.dy + 3, 0);
        EffectsSinceLastLook();
        driver.Update();
        int lost = 0, burst = 0;
        for (int p = 1; p <= c.onTheSpot; ++p) lost += WalkerField(p, status) == 0 && WalkerField(p, pose) < 0;
        for (int r = 0; r <= App().m_particleCount; ++r) burst += App().m_particles[TableIndex(r, 0)] > 0;
        EXPECT_EQ(lost, c.status == 0 ? c.onTheSpot : c.hit);
        EXPECT_EQ(FlyingBullets(), 1 - c.hit);
        EXPECT_EQ(burst, 17 * c.hit);
        const std::vector<int> cries = EffectIds();
        ASSERT_EQ(cries.size(), static_cast<size_t>(c.hit));
        for (int id : cries) EXPECT_TRUE(id >= sound_id::kFirstCry && id <= sound_id::kLastCry) << id;
    }
}

TEST_F(PlayTest, BulletsGoOnceTheyAre128PixelsOffScreenOrOutOfLife) {
    StartGame(1);
    Corridor(60, 1);
    const float top = App().m_camY;
    const float left = App().m_camX;
    Bullet(0, left + 100, top - 127.5f + 3, 0);  // ends 127.5 above the screen: kept
    Bullet(1, left + 100, top - 128 + 3, 0);     // 128 above: gone
    Bullet(2, left - 128 - 3, top + 100, 270);   // beyond the left: gone
    Bullet(3, left + 300, top + 100, 0);
    App().m_bullets[TableIndex(3, bullet_record::life)] = 0.1f;  // runs out this frame
    driver.Update();
    std::vector<float> codes;
    for (int r = 0; r < 4; ++r) codes.push_back(App().m_bullets[TableIndex(r, bullet_record::code)]);
    EXPECT_EQ(codes, std::vector<float>({1, 0, 0, 0}));
}

// A full table drops the shot without touching a flying bullet; the sound
// plays all the same.
TEST_F(PlayTest, AFullBulletTableDropsTheShotButNotItsSound) {
    StartGame(1);
    ListenToEffects();
    Corridor(60, 1);
    for (int r = 0; r < bullet_record::kRecords; ++r) Bullet(r, App().m_camX + 10 + r % 600, App().m_camY + 100, 90);
    Turret(60, 95, 0);
    EffectsSinceLastLook();
    driver.Update();
    EXPECT_EQ(EffectIds(), std::vector<int>{sound_id::kShot});
    for (int r = 0; r < bullet_record::kRecords; ++r) {
        ASSERT_EQ(App().m_bullets[TableIndex(r, bullet_record::y)], App().m_camY + 100) << r;
    }
}

// Turrets fire in the countdown, the lift-off and after game over, but not
// while paused; bullets in flight fly on while paused.
TEST_F(PlayTest, TurretsStopOnlyWhilePausedAndBulletsNever) {
    struct Case {
        const char* what;
        void (*set)(c_MyApp&);
        int shots;
    };
    const Case cases[] = {
        {"countdown", [](c_MyApp& app) { app.m_party[party_table::kCountdown] = 50; }, 1},
        {"lift-off", [](c_MyApp& app) { app.m_party[TableIndex(1, pose)] = kBoarded, app.m_party[party_table::kLiftOff] = 5; }, 1},
        {"game over", [](c_MyApp& app) { app.m_party[TableIndex(1, status)] = 0, app.m_gameOver = 1; }, 1},
        {"paused", [](c_MyApp& app) { app.m_paused = 1; }, 0},
    };
    StartGame(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Corridor(60, 1);
        Turret(70, 90, 180);
        Bullet(bullet_record::kRecords - 1, App().m_camX + 100, App().m_camY + 100, 90);
        c.set(App());
        driver.Update();
        EXPECT_EQ(FlyingBullets(), 1 + c.shots);
        EXPECT_FLOAT_EQ(App().m_bullets[TableIndex(bullet_record::kRecords - 1, bullet_record::x)], App().m_camX + 103);
        App().m_paused = App().m_gameOver = 0;
    }
}

// Full volume at the screen's centre, 1 - d² / 60000 away from it, and no
// sound at all from 245 pixels on.
TEST_F(PlayTest, AShotIsQuieterTheFurtherItsTurretIsFromTheScreenCentre) {
    const struct {
        int columns, rows;  // from the cell at the screen's centre
        float volume;       // -1: not heard
    } cases[] = {{0, 0, 1}, {12, 0, 1 - 192.0f * 192 / 60000}, {9, 12, 1 - (144.0f * 144 + 192 * 192) / 60000}, {16, 0, -1}};
    StartGame(1);
    ListenToEffects();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.columns * 100 + c.rows);
        Corridor(60, 1);
        View(80 * 16, 80 * 16);
        Turret(80 + c.columns, 80 + c.rows, 0);
        EffectsSinceLastLook();
        driver.Update();
        const std::vector<Effect> effects = EffectsSinceLastLook();
        ASSERT_EQ(effects.size(), c.volume < 0 ? 0u : 1u);
        for (const Effect& effect : effects) EXPECT_NEAR(effect.volume, c.volume, 1e-5);
    }
}

}  // namespace
