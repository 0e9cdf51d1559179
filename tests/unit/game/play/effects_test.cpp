// Stars and particles: their counts, wrapping, throwing into a full table,
// movement, fading and drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/myapp.h"
#include "game/play/random.h"

namespace {

class EffectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = new c_MyApp();
        app->p_CLS2D(0, 0, 0, 1);
    }

    float* Star(int i) { return &app->m_stars[TableIndex(i, 0)]; }
    float* Particle(int i) { return &app->m_particles[TableIndex(i, 0)]; }
    int Records() const { return app->m_drawCount / draw_record::kFloats; }
    float Drawn(int record, int field) const { return app->m_drawList[record * draw_record::kFloats + field]; }
    void FillParticles() {
        for (int i = 0; i <= app->m_particleCount; ++i) Particle(i)[particle_record::kind] = 1;
    }

    c_MyApp* app = nullptr;
};

// Only 1 to 499 change the count; every record up to the count is drawn
// anew (five draws a star), and none beyond it.
TEST_F(EffectsTest, ResettingStarsKeepsAnyCountOutsideOneTo499AndRedrawsUpToIt) {
    struct Case {
        int asked, count;
    };
    app->p_ResetStars(50);
    for (const Case c : {Case{0, 50}, Case{500, 50}, Case{-1, 50}, Case{499, 499}, Case{1, 1}}) {
        SCOPED_TRACE(c.asked);
        for (int i = 0; i < star_record::kRecords; ++i) Star(i)[star_record::depth] = 0;
        ReseedRandom(3, 0);
        app->p_ResetStars(c.asked);
        EXPECT_EQ(app->m_starCount, c.count);
        EXPECT_EQ(Star(c.count)[star_record::depth], 1);
        EXPECT_EQ(Star(c.count + 1)[star_record::depth], 0);
        const int after = kz_random_Seed;
        ReseedRandom(3, 5 * (c.count + 1));
        EXPECT_EQ(kz_random_Seed, after);
    }
    for (int i = 0; i <= app->m_starCount; ++i) {
        const float* star = Star(i);
        EXPECT_TRUE(star[star_record::x] >= -8 && star[star_record::x] < 648);
        EXPECT_TRUE(star[star_record::y] >= -8 && star[star_record::y] < 488);
        EXPECT_TRUE(star[star_record::turnSpeed] >= -0.5f && star[star_record::turnSpeed] < 0.5f);
    }
}

// A star pushed past an edge by more than 16 comes in at the other side,
// with a fresh place along that edge drawn before a fresh frame.
TEST_F(EffectsTest, AStarLeavingAnEdgeComesBackAtTheOtherWithAFreshPlaceAndFrame) {
    struct Case {
        float x, y, dx, dy;
        float wrappedX, wrappedY;  // kNoValue: drawn afresh
    };
    app->p_ResetStars(1);
    const Case cases[] = {
        {-10, 100, -7, 0, 655, kNoValue},
        {650, 100, 7, 0, -15, kNoValue},
        {300, -10, 0, -7, kNoValue, 495},
        {300, 490, 0, 7, kNoValue, -15},
        {-10, 100, -6, 0, -16, 100},  // at the margin: no wrap
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x + c.y);
        for (int i = 0; i <= 1; ++i) {
            Star(i)[star_record::x] = c.x;
            Star(i)[star_record::y] = c.y;
            Star(i)[star_record::frame] = 300;  // no frame a star is given
            Star(i)[star_record::depth] = 1;
        }
        ReseedRandom(11, 0);
        const float freshPlace = kz_random_Rnd3((c.wrappedX == kNoValue ? 640 : 480) + 16) - 8;
        const int freshFrame = app->p_Rand(0, 255);
        ReseedRandom(11, 0);
        app->p_DoStars(c.dx, c.dy);
        const float* star = Star(0);
        EXPECT_EQ(star[star_record::x], c.wrappedX == kNoValue ? freshPlace : c.wrappedX);
        EXPECT_EQ(star[star_record::y], c.wrappedY == kNoValue ? freshPlace : c.wrappedY);
        const bool wrapped = c.wrappedX == kNoValue || c.wrappedY == kNoValue;
        EXPECT_EQ(star[star_record::frame], wrapped ? freshFrame : 300);
    }
}

// Stars move by the world's move times their depth, in screen space: the
// camera does not shift them.
TEST_F(EffectsTest, StarsMoveByTheirDepthAndAreDrawnInScreenSpaceWithItAsAlpha) {
    app->p_ResetStars(2);
    app->m_camX = 5000;
    for (int i = 0; i <= 2; ++i) {
        Star(i)[star_record::x] = 100;
        Star(i)[star_record::y] = 100;
    }
    Star(1)[star_record::depth] = 0.5f;
    app->p_SetCol(10, 20, 30, 0.1f);
    app->p_DoStars(2, 3);
    ASSERT_EQ(Records(), 3);
    EXPECT_EQ(Star(0)[star_record::y], 103);
    EXPECT_EQ(Star(1)[star_record::y], 101.5f);
    EXPECT_EQ(Drawn(1, draw_record::kind), image_id::kParticles);
    EXPECT_EQ(Drawn(1, draw_record::x), 101);
    EXPECT_EQ(Drawn(1, draw_record::frame), Star(1)[star_record::frame]);
    EXPECT_EQ(Drawn(1, draw_record::alpha), 0.5f);
    EXPECT_EQ(Drawn(1, draw_record::red), 255);
}

// With every record busy a throw is dropped: with its angle and speed given
// it takes no draw at all; without them only the two that replace them.
TEST_F(EffectsTest, AFullTableDropsAThrowSilentlyWithoutFurtherDraws) {
    struct Case {
        float angle, speed;
        int draws;
    };
    FillParticles();
    const std::vector<float> before(&app->m_particles[0], &app->m_particles[0] + particle_record::kTableFloats);
    for (const Case c : {Case{45, 3, 0}, Case{kNoValue, 3, 1}, Case{kNoValue, kNoValue, 2}}) {
        SCOPED_TRACE(c.draws);
        ReseedRandom(21, 0);
        EXPECT_EQ(app->p_FreeParticle(), -1);
        app->p_ThrowParticle(10, 10, 1, 5, c.angle, c.speed);
        const int after = kz_random_Seed;
        ReseedRandom(21, c.draws);
        EXPECT_EQ(kz_random_Seed, after);
    }
    EXPECT_EQ(std::vector<float>(&app->m_particles[0], &app->m_particles[0] + particle_record::kTableFloats), before);
}

TEST_F(EffectsTest, AThrowTakesTheHighestFreeRecordAndSetsItOffAlongItsAngle) {
    FillParticles();
    Particle(7)[particle_record::kind] = 0;
    Particle(120)[particle_record::kind] = 0;
    EXPECT_EQ(app->p_FreeParticle(), 1200);
    app->p_ThrowParticle(100, 200, 2, 6, 90, 4);
    const float* p = Particle(120);
    EXPECT_EQ(p[particle_record::kind], 2);
    EXPECT_EQ(p[particle_record::x], 100);
    EXPECT_NEAR(p[particle_record::vx], 4, 1e-6);
    EXPECT_NEAR(p[particle_record::vy], 0, 1e-6);
    EXPECT_EQ(p[particle_record::colour], 6);
    EXPECT_TRUE(p[particle_record::life] >= 0.7f && p[particle_record::life] < 1.3f);
    EXPECT_EQ(p[particle_record::frame], std::floor(p[particle_record::frame]));
    EXPECT_EQ(app->p_FreeParticle(), 70);
    // A negative count has no records.
    app->m_particleCount = -1;
    EXPECT_EQ(app->p_FreeParticle(), -1);
}

// Smoke (kind 2) slows sideways and falls back; other kinds fly straight.
// Every particle fades by 0.01 a frame and is freed once its life is gone.
TEST_F(EffectsTest, SmokeSlowsAndFallsOtherKindsFlyStraightAndAllFadeAway) {
    app->p_ResetParticles(1);
    app->p_ThrowParticle(0, 0, 2, 1, 45, 6);
    app->p_ThrowParticle(0, 0, 1, 1, 45, 6);
    const float* smoke = Particle(1);
    const float* spark = Particle(0);
    const float startVx = spark[particle_record::vx];
    const float startVy = spark[particle_record::vy];
    float lowest = 0;
    int frames = 0;
    while (spark[particle_record::kind] != 0 && frames < 200) {
        app->p_CLS2D(kNoValue, 0, 0, 0);
        app->p_DoParticles();
        lowest = std::min(lowest, smoke[particle_record::y]);
        ++frames;
    }
    EXPECT_EQ(spark[particle_record::vx], startVx);
    EXPECT_EQ(spark[particle_record::vy], startVy);
    EXPECT_LT(lowest, -30);  // rose first
    EXPECT_GT(smoke[particle_record::y], lowest + 30);  // then fell back
    EXPECT_LT(smoke[particle_record::vx], startVx * 0.1f);
    EXPECT_TRUE(frames >= 70 && frames <= 131) << frames;
}

TEST_F(EffectsTest, ParticlesAreDrawnRelativeToTheCameraInTheirPaletteColour) {
    struct Case {
        int kind, colour;
        float life;
        bool drawn;
        float red, green, blue, alpha;
    };
    const Case cases[] = {
        {1, 2, 0.5f, true, 255, 127.5f, 25.5f, 0.5f},
        {9, 9, 1.2f, true, 255, 255, 255, 1},
        {3, 0, 1, true, 76.5f, 76.5f, 76.5f, 1},
        {10, 1, 1, false, 0, 0, 0, 0},
    };
    app->m_camX = 100;
    app->m_camY = 50;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        app->p_ResetParticles(1);
        app->p_ThrowParticle(300, 200, c.kind, c.colour, 0, 0);
        Particle(1)[particle_record::life] = c.life;
        app->p_CLS2D(kNoValue, 0, 0, 0);
        app->p_DoParticles();
        ASSERT_EQ(Records(), c.drawn ? 1 : 0);
        if (!c.drawn) continue;
        EXPECT_EQ(Drawn(0, draw_record::x), 200);
        EXPECT_EQ(Drawn(0, draw_record::y), 150);
        EXPECT_EQ(Drawn(0, draw_record::red), c.red);
        EXPECT_EQ(Drawn(0, draw_record::green), c.green);
        EXPECT_EQ(Drawn(0, draw_record::blue), c.blue);
        EXPECT_EQ(Drawn(0, draw_record::alpha), c.alpha);
        EXPECT_EQ(Drawn(0, draw_record::rotation), -Particle(1)[particle_record::rotation]);
    }
    // The draw state is plain again afterwards.
    EXPECT_EQ(app->m_alpha, 1);
    EXPECT_EQ(app->m_rotation, 0);
    EXPECT_EQ(app->m_green, 255);
}

TEST_F(EffectsTest, AFrameOfFullStarsAndParticlesAllocatesNothingFromTheCollector) {
    app->p_ResetStars(100);
    for (int i = 0; i <= app->m_particleCount; ++i) app->p_ThrowParticle(0, 0, 1 + i % 2, i % 10, kNoValue, kNoValue);
    ASSERT_EQ(app->p_FreeParticle(), -1);
    const int before = gc_new_bytes;
    app->p_DoStars(3, -2);
    app->p_DoParticles();
    EXPECT_EQ(gc_new_bytes, before);
    EXPECT_EQ(Records(), 101 + 251);
}

}  // namespace
