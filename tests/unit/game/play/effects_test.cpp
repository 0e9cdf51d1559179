// Stars and particles: counts, movement and wrapping, throwing into a full
// table, fading and drawing; and that neither they nor a level build
// allocate from the collector.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/play/random.h"
#include "game/play/level_report.h"

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
    // Whether exactly `draws` draws were taken since the generator was seeded with `seed`.
    static bool TookDraws(int seed, int draws) {
        const int now = kz_random_Seed;
        ReseedRandom(seed, draws);
        return kz_random_Seed == now;
    }

    c_MyApp* app = nullptr;
};

// Only 1 to 499 change the count; every record up to the count is drawn
// anew (five draws a star), none beyond it.
TEST_F(EffectsTest, ResettingStarsKeepsAnyCountOutsideOneTo499AndRedrawsUpToIt) {
    struct Case { int asked, count; };
    app->p_ResetStars(50);
    for (const Case c : {Case{0, 50}, Case{500, 50}, Case{-1, 50}, Case{499, 499}, Case{1, 1}}) {
        SCOPED_TRACE(c.asked);
        for (int i = 0; i < star_record::kRecords; ++i) Star(i)[star_record::depth] = 0;
        ReseedRandom(3, 0);
        app->p_ResetStars(c.asked);
        EXPECT_EQ(std::vector<float>({float(app->m_starCount), Star(c.count)[star_record::depth], Star(c.count + 1)[star_record::depth]}),
                  std::vector<float>({float(c.count), 1, 0}));
        EXPECT_TRUE(TookDraws(3, 5 * (c.count + 1)));
        EXPECT_TRUE(Star(0)[star_record::x] >= -8 && Star(0)[star_record::x] < 648);
    }
}

// Stars move by the world's move times their depth, in screen space. Past an
// edge by more than 16 a star comes in at the other side, with a fresh place
// along that edge drawn before a fresh frame.
TEST_F(EffectsTest, StarsMoveByTheirDepthAndWrapWithAFreshPlaceAndFrame) {
    struct Case {
        float x, y, dx, dy, depth;
        float movedX, movedY;  // kNoValue: drawn afresh
    };
    const Case cases[] = {
        {-10, 100, -7, 0, 1, 655, kNoValue},   {650, 100, 7, 0, 1, -15, kNoValue},
        {300, -10, 0, -7, 1, kNoValue, 495},   {300, 490, 0, 7, 1, kNoValue, -15},
        {-10, 100, -6, 2, 1, -16, 102},        {100, 100, 4, -4, 0.5f, 102, 98},
    };
    app->p_ResetStars(1);
    app->m_camX = 5000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x + c.y);
        float* star = Star(0);
        star[star_record::x] = c.x;
        star[star_record::y] = c.y;
        star[star_record::frame] = 300;  // no frame a star is given
        star[star_record::depth] = c.depth;
        ReseedRandom(11, 0);
        const float freshPlace = kz_random_Rnd3((c.movedX == kNoValue ? 640 : 480) + 16) - 8;
        const int freshFrame = app->p_Rand(0, 255);
        ReseedRandom(11, 0);
        app->p_CLS2D(kNoValue, 0, 0, 0);
        app->p_DoStars(c.dx, c.dy);
        const bool wrapped = c.movedX == kNoValue || c.movedY == kNoValue;
        EXPECT_EQ(std::vector<float>({star[star_record::x], star[star_record::y], star[star_record::frame]}),
                  std::vector<float>({c.movedX == kNoValue ? freshPlace : c.movedX, c.movedY == kNoValue ? freshPlace : c.movedY,
                                      wrapped ? float(freshFrame) : 300}));
        ASSERT_EQ(Records(), 2);
        EXPECT_EQ(std::vector<float>({Drawn(0, draw_record::kind), Drawn(0, draw_record::x), Drawn(0, draw_record::alpha)}),
                  std::vector<float>({float(image_id::kParticles), star[star_record::x], star[star_record::depth]}));
    }
}

// With every record busy a throw is dropped: with its angle and speed given
// it takes no draw at all, without them only the draws that replace them.
// Otherwise it takes the highest free record and sets off along its angle.
TEST_F(EffectsTest, AThrowTakesTheHighestFreeRecordAndAFullTableDropsItWithoutFurtherDraws) {
    struct Case { float angle, speed; int draws; };
    for (int i = 0; i <= app->m_particleCount; ++i) Particle(i)[particle_record::kind] = 1;
    const std::vector<float> full(&app->m_particles[0], &app->m_particles[0] + particle_record::kTableFloats);
    for (const Case c : {Case{45, 3, 0}, Case{kNoValue, 3, 1}, Case{kNoValue, kNoValue, 2}}) {
        ReseedRandom(21, 0);
        app->p_ThrowParticle(10, 10, 1, 5, c.angle, c.speed);
        EXPECT_TRUE(TookDraws(21, c.draws)) << c.draws;
    }
    EXPECT_EQ(std::vector<float>(&app->m_particles[0], &app->m_particles[0] + particle_record::kTableFloats), full);

    Particle(7)[particle_record::kind] = 0;
    Particle(120)[particle_record::kind] = 0;
    EXPECT_EQ(app->p_FreeParticle(), 1200);
    app->p_ThrowParticle(100, 200, 2, 6, 90, 4);
    const float* p = Particle(120);
    EXPECT_EQ(std::vector<float>({p[particle_record::kind], p[particle_record::colour]}), std::vector<float>({2, 6}));
    EXPECT_NEAR(p[particle_record::vx], 4, 1e-6);
    EXPECT_NEAR(p[particle_record::vy], 0, 1e-6);
    EXPECT_TRUE(p[particle_record::life] >= 0.7f && p[particle_record::life] < 1.3f);
    EXPECT_EQ(app->p_FreeParticle(), 70);
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
    float highest = 0;
    int frames = 0;
    for (; spark[particle_record::kind] != 0 && frames < 200; ++frames) {
        app->p_CLS2D(kNoValue, 0, 0, 0);
        app->p_DoParticles();
        highest = std::min(highest, smoke[particle_record::y]);
    }
    EXPECT_EQ(spark[particle_record::vx], startVx);
    EXPECT_EQ(spark[particle_record::vy], startVy);
    EXPECT_LT(highest, -30);
    EXPECT_GT(smoke[particle_record::y], highest + 30);
    EXPECT_LT(smoke[particle_record::vx], startVx * 0.1f);
    EXPECT_TRUE(frames >= 70 && frames <= 131) << frames;
}

// Kinds 1 to 9 are drawn relative to the camera in their palette colour,
// their life the alpha up to 1; higher kinds fly on undrawn.
TEST_F(EffectsTest, ParticlesAreDrawnRelativeToTheCameraWithTheirLifeAsAlpha) {
    app->m_camX = 100;
    app->m_camY = 50;
    app->p_ResetParticles(2);
    for (const int kind : {9, 10, 1}) app->p_ThrowParticle(300, 200, kind, 2, 0, 0);
    Particle(0)[particle_record::life] = 0.5f;
    Particle(2)[particle_record::life] = 1.2f;
    app->p_DoParticles();
    ASSERT_EQ(Records(), 2);
    using namespace draw_record;
    EXPECT_EQ(std::vector<float>({Drawn(0, x), Drawn(0, y), Drawn(0, green), Drawn(0, alpha), Drawn(0, rotation), Drawn(1, alpha)}),
              std::vector<float>({200, 150, 127.5f, 0.5f, -Particle(0)[particle_record::rotation], 1}));
}

TEST(PlayAllocationTest, ALevelBuildAllocatesNothingFromTheCollector) {
    LevelBuilder builder;
    builder.Build(3, 19);
    const int before = gc_new_bytes;
    builder.Build(3, 20);
    EXPECT_EQ(gc_new_bytes, before);
}

}  // namespace
