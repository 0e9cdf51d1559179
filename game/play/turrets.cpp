// Turrets and bullets: every turret of the map turns, counts down and fires
// (also off screen, and while the party cannot move); the path and turrets in
// view are drawn; bullets fly, hit walking walkers, leave the screen or run
// out of life.
#include <cmath>

#include "game/myapp.h"

namespace {

// Cells and bullets this far outside the screen are not drawn; bullets there
// are gone.
constexpr float kScreenMargin = 128;
constexpr float kCellScale = 0.5f;
constexpr float kGunScale = 0.75f;
constexpr float kTurretBaseLift = 8;
constexpr float kMuzzleLift = 12;  // guns sit (and fire) above the cell centre

// A shot is due when the timer passes 100, but only in the part of the burst
// turn below 160 degrees.
constexpr float kFireTimerFull = 100;
constexpr float kBurstOpenBelow = 160;
// A shot is heard at full volume on screen, fading to nothing about 245
// pixels from its centre.
constexpr float kShotHearing = 60000;

constexpr float kBulletLife = 5;
constexpr float kBulletDecay = 0.13f;
constexpr float kBulletSpeed = 3;
constexpr float kBulletSpinPerLife = 80;
// A bullet hits a walker within this box around the point 0.2 cells above it.
constexpr float kHitHalfWidth = 8;
constexpr float kHitHalfHeight = 12;
constexpr float kHitAbove = 0.2f;

constexpr int kBurstParticles = 17;

// Bullets fly at whole degrees from -359 to 359: their directions are looked
// up, computed once by the same function, so that the flight is the same to
// the bit; any other angle is computed.
class WholeDegreeDirections {
public:
    WholeDegreeDirections() {
        for (int i = 0; i < kAngles; ++i) turns_[i] = SinCosOfDegrees(static_cast<float>(i - kLargest));
    }
    SinCos Turn(float degrees) const { return Whole(degrees) ? turns_[Index(degrees)] : SinCosOfDegrees(degrees); }

private:
    static constexpr int kLargest = 359;
    static constexpr int kAngles = 2 * kLargest + 1;
    static bool Whole(float degrees) {
        return degrees >= -kLargest && degrees <= kLargest && degrees == static_cast<float>(static_cast<int>(degrees));
    }
    static int Index(float degrees) { return static_cast<int>(degrees) + kLargest; }
    SinCos turns_[kAngles];
};
const WholeDegreeDirections kDirections;

}  // namespace

// The path and turrets in one sweep over the grid: each turret is updated
// (not while paused), then each cell in view is drawn.
void c_MyApp::p_GridPass() {
    const float w = kz_Tarvo_jscrw;
    const float h = kz_Tarvo_jscrh;
    p_ResetDraw();
    p_SetSize(kCellScale, kNoValue);
    for (int col = 0; col <= map_cell::kLastScanned; ++col) {
        const float sx = static_cast<float>(col * map_cell::kPixels) - m_camX;
        const bool columnInView = -kScreenMargin < sx && sx < w + kScreenMargin;
        for (int row = 0; row <= map_cell::kLastScanned; ++row) {
            const float code = m_map[map_cell::Index(col, row, map_cell::code)];
            if (code <= 0) continue;
            const float sy = static_cast<float>(row * map_cell::kPixels) - m_camY;
            const bool turret = code == cell_code::kTurret;
            if (turret && m_paused == 0) p_UpdateTurret(col, row, sx, sy);
            if (!columnInView || sy <= -kScreenMargin || sy >= h + kScreenMargin) continue;
            p_DrawImg(image_id::kGfx, sx, sy, gfx_frame::kFloor);
            if (turret) p_DrawTurret(col, row, sx, sy);
        }
    }
}

void c_MyApp::p_UpdateTurret(int col, int row, float sx, float sy) {
    float* turret = &m_map[map_cell::Index(col, row, 0)];
    using namespace map_cell;
    turret[gunAngle] = std::fmod(turret[gunAngle] + turret[spin], 360.0f);
    turret[fireTimer] += turret[fireRate];
    turret[burstPhase] = std::fmod(turret[burstPhase] + turret[burstSpeed], 360.0f);
    if (!(turret[fireTimer] > kFireTimerFull && turret[burstPhase] < kBurstOpenBelow)) return;

    turret[fireTimer] = 0;
    p_Fire(static_cast<float>(col * kPixels), static_cast<float>(row * kPixels) - kMuzzleLift,
           TruncToInt(turret[gunAngle]));
    const float dx = sx - kz_Tarvo_jscrw * 0.5f;
    const float dy = sy - kz_Tarvo_jscrh * 0.5f;
    float volume = 1 - (dx * dx + dy * dy) / kShotHearing;
    if (volume <= 0) return;
    if (volume > 1) volume = 1;
    p_PlaySFX(sound_id::kShot, kz_random_Rnd2(0.7f, 1.3f), volume, 0);
}

// The base, then the gun turned to its angle; the draw state returns to the
// cells' scale and no rotation.
void c_MyApp::p_DrawTurret(int col, int row, float sx, float sy) {
    p_DrawImg(image_id::kGfx, sx, sy - kTurretBaseLift, gfx_frame::kTurretBase);
    p_SetSize(kGunScale, kNoValue);
    p_SetRot(m_map[map_cell::Index(col, row, map_cell::gunAngle)]);
    p_DrawImg(image_id::kGfx, sx, sy - kMuzzleLift, gfx_frame::kGun);
    p_SetRot(0);
    p_SetSize(kCellScale, kNoValue);
}

// The new bullet takes the free record with the highest index; with none
// free the shot is dropped.
void c_MyApp::p_Fire(float x, float y, int angle) {
    using namespace bullet_record;
    for (int r = kRecords - 1; r >= 0; --r) {
        float* bullet = &m_bullets[TableIndex(r, 0)];
        if (bullet[code] != 0) continue;
        bullet[code] = 1;
        bullet[bullet_record::x] = x;
        bullet[bullet_record::y] = y;
        bullet[bullet_record::angle] = static_cast<float>(angle);
        bullet[life] = kBulletLife;
        return;
    }
}

// Every bullet flies on (also while paused), may hit one walker, and is gone
// off screen or at the end of its life; the ones in view are drawn spinning.
void c_MyApp::p_BulletPass() {
    using namespace bullet_record;
    const float w = kz_Tarvo_jscrw;
    const float h = kz_Tarvo_jscrh;
    p_ResetDraw();
    for (int r = 0; r < kRecords; ++r) {
        float* bullet = &m_bullets[TableIndex(r, 0)];
        if (bullet[code] > 0) {
            bullet[life] -= kBulletDecay;
            const SinCos turn = kDirections.Turn(bullet[angle]);
            bullet[x] += kBulletSpeed * turn.sin;
            bullet[y] -= kBulletSpeed * turn.cos;
            p_BulletHits(bullet);
            const float sx = bullet[x] - m_camX;
            const float sy = bullet[y] - m_camY;
            if (sx <= -kScreenMargin || sy <= -kScreenMargin || sx >= w + kScreenMargin || sy >= h + kScreenMargin) {
                bullet[code] = 0;
            } else {
                p_SetRot(bullet[life] * kBulletSpinPerLife + bullet[angle]);
                p_DrawImg(image_id::kGfx, sx, sy, gfx_frame::kBullet);
            }
        }
        if (bullet[life] < 0) bullet[code] = 0;
    }
}

// The first walking walker inside the bullet's box is lost: it falls one way
// or the other, bursts into 17 particles and cries.
void c_MyApp::p_BulletHits(float* bullet) {
    using namespace walker_record;
    for (int p = party_table::kFirstWalker; p <= party_table::kLastWalker; ++p) {
        float* walker = &m_party[TableIndex(p, 0)];
        if (walker[status] <= 0 || walker[pose] != kWalking) continue;
        const float wx = (walker[column] + walker[offsetX]) * map_cell::kPixels;
        const float wy = (walker[row] + walker[offsetY] - kHitAbove) * map_cell::kPixels;
        if (bullet[bullet_record::code] <= 0 || kz_math_Abs2(bullet[bullet_record::x] - wx) >= kHitHalfWidth ||
            kz_math_Abs2(bullet[bullet_record::y] - wy) >= kHitHalfHeight) {
            continue;
        }
        bullet[bullet_record::code] = 0;
        walker[status] = 0;
        walker[pose] = kLyingLeft;
        if (kz_random_Rnd3(2) < 1) walker[pose] = kLyingRight;
        for (int i = 0; i < kBurstParticles; ++i) {
            const float speed = kz_random_Rnd2(4, 12);
            const float angle = kz_random_Rnd3(360);
            const int colour = TruncToInt(kz_random_Rnd3(9));
            const int kind = TruncToInt(kz_random_Rnd3(1.9f) + 1);
            p_ThrowParticle(wx, wy, kind, colour, angle, speed);
        }
        const float rate = kz_random_Rnd2(0.7f, 1.3f);
        p_PlaySFX(p_Rand(sound_id::kFirstCry, sound_id::kLastCry), rate);
    }
}
