// The game screen: the level's background colour, the camera easing after
// the party, the walkers' sprites, the ship with its exhaust, the score line
// with the next score to beat, and the stick indicators.
#include "framework/input.h"
#include "game/screens/kit.h"
#include "runtime/kzmath.h"

namespace {

// The clear colour of each level theme 1 to 8.
constexpr Rgb kThemeColours[party_table::kThemes] = {
    {120, 60, 60}, {120, 90, 60}, {120, 120, 60}, {60, 120, 60},
    {60, 90, 90},  {60, 60, 120}, {120, 60, 120}, {90, 90, 90},
};
constexpr int kKeyDigitZero = '0';

// The camera closes this part of the remaining distance every frame.
constexpr float kCameraEasing = 0.125f;

// Walkers: an outline pass, then the body and its colour overlay.
constexpr float kOutlineScale = 0.825f;
constexpr float kOutlineAlpha = 0.5f;
constexpr float kWalkerScale = 0.75f;

// The ship stands at (1600, 1584) and rises L² / 20 pixels after L frames of
// lift-off, its exhaust coming out 32 pixels below its centre.
constexpr float kShipX = map_cell::kShipColumn * map_cell::kPixels;
constexpr float kShipRestY = map_cell::kShipRow * map_cell::kPixels - 16;
constexpr float kShipRise = 0.05f;
constexpr float kShipScale = 2;
constexpr float kExhaustBelow = 32;
constexpr int kExhaustPerFrame = 3;
constexpr float kExhaustSpeed = 2;

// The score line.
constexpr int kScoreEasing = 6;
constexpr int kScoreSnap = 5;
constexpr int kScoreDigits = 8;
constexpr float kScoreY = 28;
constexpr float kTargetY = 10;
constexpr float kScoreLineAlpha = 0.8f;

// The touch stick: pixels for a full push, the dead zone, and how far the
// anchor stays behind the finger before it creeps after it.
constexpr float kStickReach = 72;
constexpr float kStickDeadZone = 0.1f;
constexpr int kAnchorSlack = 64;
constexpr int kAnchorCreep = 4;
constexpr int kNoAnchor = -1;
constexpr float kPadDeadZone = 0.2f;
constexpr float kRampPress = 0.15f;
constexpr float kRampRelease = 0.2f;
constexpr float kDebugStickShown = 0.05f;
constexpr float kDebugStickInset = 64;
constexpr float kDebugStickReach = 52;

float Clamp1(float value) { return Clamp(value, -1.0f, 1.0f); }

// One axis of the key-driven stick: a held key ramps the value up, a released
// one lets it fall back to 0.
void RampAxis(bool towardNegative, bool towardPositive, float& ramp, float& stick) {
    if (towardNegative) {
        ramp = Clamp1(ramp - kRampPress);
        stick = ramp;
    } else if (ramp < 0) {
        ramp = ramp + kRampRelease > 0 ? 0 : ramp + kRampRelease;
        stick = ramp;
    }
    if (towardPositive) {
        ramp = Clamp1(ramp + kRampPress);
        stick = ramp;
    } else if (ramp > 0) {
        ramp = ramp - kRampRelease < 0 ? 0 : ramp - kRampRelease;
        stick = ramp;
    }
}

// The anchor creeps after a finger that strays more than the slack from it.
int Creep(int anchor, int finger) {
    if (finger - anchor > kAnchorSlack) return anchor + kAnchorCreep;
    if (anchor - finger > kAnchorSlack) return anchor - kAnchorCreep;
    return anchor;
}

}  // namespace

// A new picture in the level's colour; a digit key 1 to 8 held down switches
// the theme for the rest of the level.
void c_MyApp::p_StartPlayFrame() {
    float& theme = m_party[party_table::kTheme];
    const int index = TruncToInt(theme);
    const Rgb& colour = kThemeColours[(index >= 1 && index <= party_table::kThemes ? index : party_table::kThemes) - 1];
    p_CLS2D(colour.red, colour.green, colour.blue, 1);
    for (int n = 1; n <= party_table::kThemes; ++n) {
        if (kz_input_KeyDown(kKeyDigitZero + n) != 0) theme = static_cast<float>(n);
    }
}

// The stars scroll by the same amount as the world.
void c_MyApp::p_EaseCamera() {
    const float dx = (m_camX - m_camTargetX) * kCameraEasing;
    const float dy = (m_camY - m_camTargetY) * kCameraEasing;
    m_camX -= dx;
    m_camY -= dy;
    p_DoStars(dx, dy);
}

void c_MyApp::p_DrawMe(float x, float y, int bodyFrame, int colourFrame) {
    const float alpha = m_alpha;
    const float sx = x - m_camX;
    const float sy = y - m_camY;
    p_SetSize(kOutlineScale, kNoValue);
    p_Alpha(alpha * kOutlineAlpha);
    p_DrawImg(image_id::kWalkers, sx, sy, static_cast<float>(bodyFrame + walker_frame::kFirstBodyOutline));
    p_DrawImg(image_id::kWalkers, sx, sy, static_cast<float>(colourFrame + walker_frame::kFirstOverlayOutline));
    p_SetSize(kWalkerScale, kNoValue);
    p_Alpha(alpha);
    p_DrawImg(image_id::kWalkers, sx, sy, static_cast<float>(bodyFrame));
    p_DrawImg(image_id::kWalkers, sx, sy, static_cast<float>(colourFrame + walker_frame::kFirstOverlay));
}

// The ship rises with the square of the lift-off time, trailing red and
// orange smoke; the exhaust's draws are taken even when no particle is free.
void c_MyApp::p_DrawShip() {
    const float liftOff = m_party[party_table::kLiftOff];
    const float y = kShipRestY - liftOff * liftOff * kShipRise;
    p_ResetDraw();
    p_SetSize(kShipScale, kNoValue);
    p_DrawImg(image_id::kGfx, kShipX - m_camX, y - m_camY, gfx_frame::kShip);
    if (liftOff <= 0) return;
    for (int i = 0; i < kExhaustPerFrame; ++i) {
        const float angle = kz_random_Rnd3(80) - 40 + 180;
        const int colour = TruncToInt(kz_random_Rnd3(2) + 1);
        p_ThrowParticle(kShipX, y + kExhaustBelow, particle_record::kSmoke, colour, angle, kExhaustSpeed);
    }
}

// The shown score eases toward the score; under it, the table score to beat
// next and its place ("1st" once the best is beaten, no place below the
// tenth entry).
void c_MyApp::p_ScoreLine() {
    const int eased = m_shownScore - (m_shownScore - m_score) / kScoreEasing;
    const int gap = eased - m_score;
    m_shownScore = gap > kScoreSnap || gap < -kScoreSnap ? eased : m_score;

    const float x = kz_Tarvo_jscrw * 0.5f;
    p_ResetDraw();
    p_SetSize(2, kNoValue);
    p_SetCol(100, 255, 100, kScoreLineAlpha);
    p_Text(x, kScoreY, p_rstr(m_shownScore, kScoreDigits, String("0")), 1, 1);

    const int difficulty = m_difficulty;
    const int last = score_table::kRanks - 1;
    m_targetPlace = score_table::kRanks;
    m_targetScore = m_scores[score_table::Best(difficulty, last)];
    for (int i = last; i >= 1; --i) {
        const int entry = m_scores[score_table::Best(difficulty, i)];
        if (entry < m_score || entry == 0) {
            m_targetPlace = i - 1;
            m_targetScore = m_scores[score_table::Best(difficulty, i - 1)];
        }
    }
    p_SetSize(1, kNoValue);
    p_SetCol(255, 255, 100, kScoreLineAlpha);
    p_Text(x, kTargetY, p_rstr(m_targetScore, kScoreDigits, String("0")) + String(" ") + p_Nth(m_targetPlace + 1), 1, 1);
}

String c_MyApp::p_Nth(int n) {
    static const char* const kOrdinals[] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th"};
    if (n < 1 || n > score_table::kRanks) return String();
    return String(kOrdinals[n - 1]);
}

// The stick vector from a dragged touch, the first pad's stick or the cursor
// keys (ramped); nothing in the play reads it, but the touch and, with the
// debug line, the vector are shown.
void c_MyApp::p_AnalogueControl() {
    m_stickX = 0;
    m_stickY = 0;
    if (m_touching == 0) {
        m_stickAnchorX = kNoAnchor;
    } else if (m_stickAnchorX == kNoAnchor) {
        m_stickAnchorX = m_mouseX;
        m_stickAnchorY = m_mouseY;
    } else {
        m_stickX = static_cast<float>(m_mouseX - m_stickAnchorX) / kStickReach;
        m_stickY = static_cast<float>(m_mouseY - m_stickAnchorY) / kStickReach;
        if (kz_math_Abs2(m_stickX) < kStickDeadZone && kz_math_Abs2(m_stickY) < kStickDeadZone) {
            m_stickX = 0;
            m_stickY = 0;
        }
        m_stickAnchorX = Creep(m_stickAnchorX, m_mouseX);
        m_stickAnchorY = Creep(m_stickAnchorY, m_mouseY);
    }
    if (m_touching != 0) {
        p_SetCol(0, 100, 250, 0.25f);
        p_Oval(static_cast<float>(m_stickAnchorX), static_cast<float>(m_stickAnchorY), 12, 12);
        p_Oval(static_cast<float>(m_mouseX), static_cast<float>(m_mouseY), 8, 8);
    }

    const float padX = kz_input_JoyX(0, 0);
    const float padY = kz_input_JoyY(0, 0);
    if (kz_math_Abs2(padX) > kPadDeadZone || kz_math_Abs2(padY) > kPadDeadZone) {
        m_stickX = padX;
        m_stickY = -padY;
    }

    RampAxis(p_PlayKey(button_id::kUp, 0, 0) != 0, p_PlayKey(button_id::kDown, 0, 0) != 0, m_keyRampY, m_stickY);
    RampAxis(p_PlayKey(button_id::kLeft, 0, 0) != 0, p_PlayKey(button_id::kRight, 0, 0) != 0, m_keyRampX, m_stickX);
    m_stickX = Clamp1(m_stickX);
    m_stickY = Clamp1(m_stickY);

    if (kz_Tarvo_DebugMode == 1 &&
        (kz_math_Abs2(m_stickX) > kDebugStickShown || kz_math_Abs2(m_stickY) > kDebugStickShown)) {
        const float x = kz_Tarvo_jscrw - kDebugStickInset;
        const float y = kz_Tarvo_jscrh - kDebugStickInset;
        p_SetCol(0, 180, 250, 0.5f);
        p_Oval(x, y, 12, 12);
        p_Oval(x + kDebugStickReach * m_stickX, y + kDebugStickReach * m_stickY, 8, 8);
    }
}
