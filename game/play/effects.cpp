// Stars and particles, drawn from the particle sheet. The stars are a
// screen-space backdrop that scrolls with the camera and wraps at the screen's
// edges; particles live in world space (bursts of hit walkers, sparkles of
// walkers beaming in, the ship's exhaust), move, fade and free themselves.
#include <algorithm>

#include "game/myapp.h"

namespace {

// New stars are spread over the screen and 8 pixels beyond each edge; a star
// wraps once it is further than the margin (and the overscan) beyond one.
constexpr float kStarSpread = 16.0f;
constexpr float kStarMargin = 16.0f;
constexpr float kSmokeDrag = 0.95f;
constexpr float kSmokeFall = 0.2f;
constexpr float kLifePerFrame = 0.01f;

// Counts are clamped to the tables when read, so that no count set from
// outside can reach past them.
int LastRecord(int count, int records) { return std::min(count, records - 1); }

// Scale 1, no rotation, white, opaque; the blend code stays as it is.
void PlainSprites(c_MyApp& app) {
    app.p_SetSize(1, 1);
    app.p_SetRot(0);
    app.p_SetCol(255, 255, 255, 1);
}

float FreshStarX() { return kz_random_Rnd3(kz_Tarvo_jscrw + kStarSpread) - kStarSpread * 0.5f; }
float FreshStarY() { return kz_random_Rnd3(kz_Tarvo_jscrh + kStarSpread) - kStarSpread * 0.5f; }

// Past an edge by the margin (which includes the overscan), a star comes back
// in at the other side at a fresh place along that edge with a fresh frame.
void WrapStar(c_MyApp& app, float* star) {
    const float o = kz_Tarvo_overscan;
    const float margin = o + kStarMargin;
    const float wrapX = kz_Tarvo_jscrw + 2 * o + 2 * kStarMargin;
    const float wrapY = kz_Tarvo_jscrh + 2 * o + 2 * kStarMargin;
    const auto refresh = [&](int freshAxis, float fresh) {
        star[freshAxis] = fresh;
        star[star_record::frame] = static_cast<float>(app.p_Rand(0, kParticleFrames - 1));
        star[star_record::depth] = 1;
    };
    if (star[star_record::x] < -margin) {
        star[star_record::x] += wrapX;
        refresh(star_record::y, FreshStarY());
    }
    if (star[star_record::x] > kz_Tarvo_jscrw + margin) {
        star[star_record::x] -= wrapX;
        refresh(star_record::y, FreshStarY());
    }
    if (star[star_record::y] < -margin) {
        star[star_record::y] += wrapY;
        refresh(star_record::x, FreshStarX());
    }
    if (star[star_record::y] > kz_Tarvo_jscrh + margin) {
        star[star_record::y] -= wrapY;
        refresh(star_record::x, FreshStarX());
    }
}

}  // namespace

void c_MyApp::p_ResetStars(int count) {
    if (count >= 1 && count <= star_record::kMaxCount) m_starCount = count;
    for (int i = 0; i <= LastRecord(m_starCount, star_record::kRecords); ++i) {
        float* star = &m_stars[TableIndex(i, 0)];
        star[star_record::frame] = static_cast<float>(p_Rand(0, kParticleFrames - 1));
        star[star_record::x] = FreshStarX();
        star[star_record::y] = FreshStarY();
        star[star_record::turn] = kz_random_Rnd3(360);
        star[star_record::turnSpeed] = kz_random_Rnd() - 0.5f;
        star[star_record::depth] = 1;
    }
}

void c_MyApp::p_DoStars(float dx, float dy) {
    PlainSprites(*this);
    for (int i = 0; i <= LastRecord(m_starCount, star_record::kRecords); ++i) {
        float* star = &m_stars[TableIndex(i, 0)];
        star[star_record::x] += dx * star[star_record::depth];
        star[star_record::y] += dy * star[star_record::depth];
        WrapStar(*this, star);
        star[star_record::turn] += star[star_record::turnSpeed];
        p_Alpha(star[star_record::depth]);
        p_DrawImg(image_id::kParticles, star[star_record::x], star[star_record::y], star[star_record::frame]);
    }
}

void c_MyApp::p_ResetParticles(int count) {
    if (count >= 1 && count <= particle_record::kMaxCount) m_particleCount = count;
    for (int i = 0; i <= LastRecord(m_particleCount, particle_record::kRecords); ++i) {
        m_particles[TableIndex(i, particle_record::kind)] = 0;
    }
}

// The highest free record; searching down from the top finds the same one
// as a search over all that keeps the last.
int c_MyApp::p_FreeParticle() {
    for (int i = LastRecord(m_particleCount, particle_record::kRecords); i >= 0; --i) {
        if (m_particles[TableIndex(i, particle_record::kind)] == 0) return TableIndex(i, 0);
    }
    return -1;
}

// An angle or a speed not given is drawn first, even when no record is free;
// a full table then drops the particle without further draws.
void c_MyApp::p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
    if (angle == kNoValue) angle = kz_random_Rnd3(360);
    if (speed == kNoValue) speed = kz_random_Rnd2(3, 8);
    const int at = p_FreeParticle();
    if (at < 0) return;
    float* particle = &m_particles[at];
    const SinCos turn = SinCosOfDegrees(angle);
    particle[particle_record::kind] = static_cast<float>(kind);
    particle[particle_record::x] = x;
    particle[particle_record::y] = y;
    particle[particle_record::vx] = speed * turn.sin;
    particle[particle_record::vy] = -speed * turn.cos;
    particle[particle_record::rotation] = kz_random_Rnd3(360);
    particle[particle_record::spin] = kz_random_Rnd3(16) - 8;
    particle[particle_record::life] = kz_random_Rnd2(0.7f, 1.3f);
    particle[particle_record::frame] = static_cast<float>(p_Rand(0, kParticleFrames - 1));
    particle[particle_record::colour] = static_cast<float>(colour);
}

// Each particle fades by a hundredth per frame, its life being its alpha;
// smoke slows and falls. The palette is the game's ink at full brightness.
void c_MyApp::p_DoParticles() {
    PlainSprites(*this);
    for (int i = 0; i <= LastRecord(m_particleCount, particle_record::kRecords); ++i) {
        float* particle = &m_particles[TableIndex(i, 0)];
        const float kind = particle[particle_record::kind];
        if (kind <= 0) continue;
        particle[particle_record::x] += particle[particle_record::vx];
        particle[particle_record::y] += particle[particle_record::vy];
        particle[particle_record::rotation] += particle[particle_record::spin];
        p_SetRot(particle[particle_record::rotation]);
        if (kind == particle_record::kSmoke) {
            particle[particle_record::vx] *= kSmokeDrag;
            particle[particle_record::vy] += kSmokeFall;
        }
        p_Alpha(std::min(particle[particle_record::life], 1.0f));
        p_Ink(TruncToInt(particle[particle_record::colour]), 1);
        if (kind <= particle_record::kLastKind) {
            p_DrawImg(image_id::kParticles, particle[particle_record::x] - m_camX,
                      particle[particle_record::y] - m_camY, particle[particle_record::frame]);
        }
        particle[particle_record::life] -= kLifePerFrame;
        if (particle[particle_record::life] < 0) particle[particle_record::kind] = 0;
    }
    PlainSprites(*this);
}
