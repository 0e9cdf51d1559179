// The play loop: starting a game, one frame of it in its fixed order, and the
// walking party: the speed the player holds, the walkers' steps along the
// path, boarding, the lift-off into the next level, game over and the start
// countdown.
#include <cmath>
#include <utility>

#include "framework/input.h"
#include "game/screens/kit.h"
#include "game/play/random.h"

namespace {

using namespace walker_record;

constexpr int kSeedDiscards = 21;
constexpr int kFirstLevel = 1;

// Walkers start fading in when the countdown reaches this, and beam in with
// sparkles while it is above kSparkleUntil.
constexpr float kFadeFrames = 60;
constexpr float kSparkleUntil = 30;
constexpr int kSparkleKind = 1;
constexpr int kSparkleColour = 5;
// A walker sways by this many degrees, four times per walk cycle.
constexpr float kSwayDegrees = 12;
constexpr float kSwayCycles = 4;
// Drawn this far above its position, so that it stands on it.
constexpr float kStandHeight = 8;
constexpr float kLyingDegrees = 90;
// An offset past this leaves the cell.
constexpr float kCellEdge = 0.95f;
// Steps choose a new walking code only within these columns and rows.
constexpr int kTurnMin = 3;
constexpr int kTurnMax = 199;

constexpr int kLiftOffFrames = 120;
constexpr int kLiftOffSoundFrame = 2;
constexpr int kBoardingBonus = 100;

constexpr float kEpisodeScale = 4;
constexpr float kEpisodeAlpha = 0.9f;
constexpr float kEpisodeLineOffset = 64;
constexpr float kReadyFrom = 60;
constexpr float kReadyUntil = 10;
constexpr float kTuneFrame = 85;

// The speed buttons: each layout tests its three buttons in this order, the
// last one held winning; the help labels show the same three.
struct SpeedButton {
    int button;
    float speed;  // cells per frame
    const char* label;
};
constexpr int kSpeeds = 3;
constexpr SpeedButton kKeyboardSpeeds[kSpeeds] = {
    {button_id::kAction1, 0.05f, "\xAC" "J Stroll"},
    {button_id::kAction2, 0.1f, "\xAC" "K Jog"},
    {button_id::kAction3, 0.15f, "\xAC" "L Run"},
};
constexpr SpeedButton kPadSpeeds[kSpeeds] = {
    {button_id::kAction1, 0.05f, "\xAC" "J Stroll"},
    {button_id::kAction3, 0.1f, "\xAC" "L Jog"},
    {button_id::kAction2, 0.15f, "\xAC" "K Run"},
};
constexpr float kHelpFromRight = 128;
constexpr float kHelpSpacing = 32;

// The touch layout's on-screen speed buttons, top to bottom.
struct ScreenSpeedButton {
    float heightFraction;
    float red, green, blue;
    const char* word;
    float speed;
};
constexpr ScreenSpeedButton kScreenSpeeds[kSpeeds] = {
    {0.3f, 100, 255, 100, "Stroll", 0.05f},
    {0.55f, 255, 255, 100, "Jog", 0.1f},
    {0.8f, 255, 100, 100, "Run", 0.15f},
};
constexpr float kScreenButtonFromRight = 96;
constexpr float kScreenButtonRadiusX = 40;
constexpr float kScreenButtonRadiusY = 20;
constexpr float kScreenButtonAlpha = 0.3f;
constexpr float kScreenWordAlpha = 0.75f;
constexpr float kScreenButtonHitWidth = 128;
constexpr float kScreenButtonHitHeight = 64;


float* Walker(Array<float>& party, int p) { return &party[TableIndex(p, 0)]; }

}  // namespace

int c_MyApp::p_LoadGame() {
    m_paused = 0;
    m_score = 0;
    m_gameOver = 0;
    m_gameOverTimer = 0;
    m_mode = screen_mode::kInGame;
    m_camX = m_camY = 0;
    m_camTargetX = m_camTargetY = 0;
    p_ResetStars(star_record::kDefaultCount);
    p_ResetParticles(particle_record::kDefaultCount);
    p_ResetPlayers();

    // The party's looks come from the clock; the level from its numbers.
    ReseedRandom(kz_app_Millisecs(), kSeedDiscards);
    for (int p = party_table::kFirstWalker; p <= party_table::kLastWalker; ++p) {
        float* walker = Walker(m_party, p);
        walker[status] = static_cast<float>(p);
        walker[column] = 0;
        walker[row] = 0;
        walker[colour] = static_cast<float>(p_Rand(0, walker_frame::kColours - 1));
        walker[body] = static_cast<float>(p_Rand(0, walker_frame::kBodies - 1));
    }
    m_party[party_table::kLevel] = kFirstLevel;
    p_BuildMap(kFirstLevel);
    return 0;
}

void c_MyApp::p_ResetPlayers() {
    for (int i = 0; i < party_table::kClearedFloats; ++i) m_party[i] = 0;
}

// One frame of play, update and drawing together; the order of the steps is
// the order of the picture (back to front) and of the random draws.
int c_MyApp::p_Game() {
    p_StartPlayFrame();
    p_EaseCamera();
    p_AnalogueControl();
    p_GridPass();
    const float speed = p_ChooseSpeed();
    p_WalkerPass(speed);
    p_EndOfLevel();
    p_Countdown();
    p_FollowFocus();
    p_BulletPass();
    p_DrawShip();
    p_DoParticles();
    if (m_hideHud == 0) p_ScoreLine();
    return 0;
}

// Cells per frame: 0 (standing) unless a speed button is held, and always 0
// while a press from a screen change is held, paused, after game over and
// during the start countdown. The help labels and the touch layout's buttons
// are drawn either way.
float c_MyApp::p_ChooseSpeed() {
    const bool free = m_touchLock == 0 && m_keyLock == 0 && m_paused == 0 && m_gameOver == 0 &&
                      m_party[party_table::kCountdown] < 1;
    const SpeedButton* buttons = m_padGlyphs == control_layout::kPad ? kPadSpeeds : kKeyboardSpeeds;
    float speed = 0;
    if (free) {
        for (int i = 0; i < kSpeeds; ++i) {
            if (p_AnyButtonDown({buttons[i].button}) != 0) speed = buttons[i].speed;
        }
    }

    const int level = TruncToInt(m_party[party_table::kLevel]);
    const bool helpShown = (m_difficulty == 1 && level <= 2) || (m_difficulty == 2 && level == 1);
    if (helpShown && m_padGlyphs != control_layout::kTouch) {
        p_ResetDraw();
        p_SetSize(2, kNoValue);
        for (int i = 0; i < kSpeeds; ++i) {
            p_Text(kz_Tarvo_jscrw - kHelpFromRight, kz_Tarvo_jscrh * 0.5f + (i - 1) * kHelpSpacing,
                   String(buttons[i].label), 0, 0);
        }
    }
    if (m_padGlyphs == control_layout::kTouch) p_ScreenSpeedButtons(free, speed);
    return speed;
}

void c_MyApp::p_ScreenSpeedButtons(bool free, float& speed) {
    p_ResetDraw();
    const float x = kz_Tarvo_jscrw - kScreenButtonFromRight;
    for (const ScreenSpeedButton& button : kScreenSpeeds) {
        const float y = kz_Tarvo_jscrh * button.heightFraction;
        p_SetCol(button.red, button.green, button.blue, kScreenButtonAlpha);
        p_Oval(x, y, kScreenButtonRadiusX, kScreenButtonRadiusY);
        p_SetSize(2, kNoValue);
        p_SetCol(255, 255, 255, kScreenWordAlpha);
        p_Text(x, y, String(button.word), 1, 1);
        if (free && p_MouseIn_Centered(x, y, kScreenButtonHitWidth, kScreenButtonHitHeight) != 0) {
            speed = button.speed;
        }
    }
}

// The walkers in row order for drawing, the lying ones first, then every
// walker that still walks: drawn, moved and counted.
void c_MyApp::p_WalkerPass(float speed) {
    const float countdown = m_party[party_table::kCountdown];
    const float fade = Clamp(1 - countdown / kFadeFrames, 0.0f, 1.0f);
    m_allAboard = 1;
    m_lostCount = 0;
    p_SortWalkersByRow();
    p_DrawLyingWalkers();
    float focusStatus = 0;
    for (int p = party_table::kFirstWalker; p <= party_table::kLastWalker; ++p) {
        p_StepWalker(p, speed, fade, focusStatus);
    }
}

// One bubble pass: walkers further down the screen are drawn later. Whole
// records swap, so a walker's record number can change from frame to frame.
void c_MyApp::p_SortWalkersByRow() {
    for (int p = party_table::kFirstWalker + 1; p <= party_table::kLastWalker; ++p) {
        float* lower = Walker(m_party, p);
        float* upper = Walker(m_party, p - 1);
        if (lower[row] < upper[row]) {
            for (int k = 0; k < kTableRecordFloats; ++k) std::swap(lower[k], upper[k]);
        }
    }
}

// Lost walkers lie where they fell, turned one way or the other.
void c_MyApp::p_DrawLyingWalkers() {
    p_ResetDraw();
    for (int p = party_table::kFirstWalker; p <= party_table::kLastWalker; ++p) {
        const float* walker = Walker(m_party, p);
        if (walker[status] != 0 || (walker[pose] != kLyingLeft && walker[pose] != kLyingRight)) continue;
        p_SetRot(walker[pose] == kLyingLeft ? kLyingDegrees : -kLyingDegrees);
        p_Alpha(1);
        p_DrawMe((walker[column] + walker[offsetX]) * map_cell::kPixels,
                 (walker[row] + walker[offsetY]) * map_cell::kPixels - kStandHeight, TruncToInt(walker[body]),
                 TruncToInt(walker[colour]));
    }
}

// The camera follows the walking walker with the highest status (the first
// one met on a tie).
void c_MyApp::p_StepWalker(int p, float speed, float fade, float& focusStatus) {
    float* walker = Walker(m_party, p);
    if (walker[status] == 0) ++m_lostCount;
    if (walker[status] <= 0 || walker[pose] != kWalking) return;
    m_allAboard = 0;
    const float x = (walker[column] + walker[offsetX]) * map_cell::kPixels;
    const float y = (walker[row] + walker[offsetY]) * map_cell::kPixels;
    if (walker[status] > focusStatus) {
        focusStatus = walker[status];
        m_party[TableIndex(party_table::kFocusRecord, party_table::focusX)] = x;
        m_party[TableIndex(party_table::kFocusRecord, party_table::focusY)] = y;
    }

    const float countdown = m_party[party_table::kCountdown];
    p_SetRot(kSwayDegrees * SinCosOfDegrees(kSwayCycles * walker[phase]).sin);
    p_Alpha(fade);
    if (countdown > 0 && kz_random_Rnd() < 0.5f && countdown > kSparkleUntil) {
        const float sparkleSpeed = kz_random_Rnd2(2, 8);
        kz_random_Rnd();  // the sparkle's colour, always kSparkleColour
        const float sparkleX = x + kz_random_Rnd3(16) - 8;
        p_ThrowParticle(sparkleX, y, kSparkleKind, kSparkleColour, 0, sparkleSpeed);
    }
    p_DrawMe(x, y - kStandHeight, TruncToInt(walker[body]), TruncToInt(walker[colour]));

    if (p_MoveWalker(walker, speed)) p_EnterCell(p);
    if (speed > 0) walker[phase] = std::fmod(walker[phase] + kz_random_Rnd2(4, 7), 360.0f);
}

// Moves a walker against its walking code; true when it crossed into the next
// cell, where its offset starts again from 0.
bool c_MyApp::p_MoveWalker(float* walker, float speed) {
    const int code = TruncToInt(walker[walkCode]);
    const int stepX = -cell_code::ColumnStep(code);
    const int stepY = -cell_code::RowStep(code);
    if (stepX != 0) {
        walker[offsetX] = stepX > 0 ? walker[offsetX] + speed : walker[offsetX] - speed;
        if (stepX > 0 ? walker[offsetX] > kCellEdge : walker[offsetX] < -kCellEdge) {
            walker[offsetX] = 0;
            walker[column] += static_cast<float>(stepX);
            return true;
        }
    } else if (stepY != 0) {
        walker[offsetY] = stepY > 0 ? walker[offsetY] + speed : walker[offsetY] - speed;
        if (stepY > 0 ? walker[offsetY] > kCellEdge : walker[offsetY] < -kCellEdge) {
            walker[offsetY] = 0;
            walker[row] += static_cast<float>(stepY);
            return true;
        }
    }
    return false;
}

// A step scores one; the ship's cell boards the walker; a path cell turns it
// into the next corridor.
void c_MyApp::p_EnterCell(int p) {
    float* walker = Walker(m_party, p);
    ++m_score;
    const int col = TruncToInt(walker[column]);
    const int rw = TruncToInt(walker[row]);
    if (col == map_cell::kShipColumn && rw == map_cell::kShipRow) {
        walker[pose] = kBoarded;
        p_PlaySFX(sound_id::kBoardingBase - p, 1);
        p_StopTune();
    }
    if (col >= kTurnMin && col <= kTurnMax && rw >= kTurnMin && rw <= kTurnMax) {
        const float code = m_map[map_cell::Index(col, rw, map_cell::code)];
        if (cell_code::IsPath(code)) walker[walkCode] = code;
    }
}

// The fifth loss ends the game (the music stops once); when every survivor
// has boarded the ship lifts off, and 120 frames later the next level starts
// with 100 for each survivor.
void c_MyApp::p_EndOfLevel() {
    if (m_lostCount == party_table::kWalkers) {
        if (m_gameOver == 0) p_StopTune();
        m_gameOver = 1;
    }
    if (m_allAboard != 1 || m_lostCount >= party_table::kWalkers) return;
    float& liftOff = m_party[party_table::kLiftOff];
    if (liftOff < kLiftOffFrames) liftOff += 1;
    if (liftOff == kLiftOffSoundFrame) p_PlaySFX(sound_id::kLiftOff, 1);
    if (liftOff > kLiftOffFrames - 1) {
        const int level = TruncToInt(m_party[party_table::kLevel]) + 1;
        m_party[party_table::kLevel] = static_cast<float>(level);
        m_score += (party_table::kWalkers - m_lostCount) * kBoardingBonus;
        p_BuildMap(level);
        m_party[party_table::kLiftOff] = 0;
    }
}

// "Episode" and the level number while the countdown runs, "Ready!" near its
// end; the tune starts 35 frames in.
void c_MyApp::p_Countdown() {
    float& countdown = m_party[party_table::kCountdown];
    if (countdown <= 0) return;
    const float x = kz_Tarvo_jscrw * 0.5f;
    const float y = kz_Tarvo_jscrh * 0.5f;
    p_ResetDraw();
    p_SetSize(kEpisodeScale, kNoValue);
    p_Alpha(kEpisodeAlpha);
    p_Text(x, y - kEpisodeLineOffset, String("Episode ") + String(TruncToInt(m_party[party_table::kLevel])), 1, 1);
    if (countdown > kReadyUntil && countdown < kReadyFrom) p_Text(x, y + kEpisodeLineOffset, String("Ready!"), 1, 1);
    countdown -= 1;
    if (countdown == kTuneFrame) p_PlayTune(String(kLevelTune), 1);
}

// The camera heads for the view centred on the focus walker.
void c_MyApp::p_FollowFocus() {
    m_camTargetX = m_party[TableIndex(party_table::kFocusRecord, party_table::focusX)] - kz_Tarvo_jscrw * 0.5f;
    m_camTargetY = m_party[TableIndex(party_table::kFocusRecord, party_table::focusY)] - kz_Tarvo_jscrh * 0.5f;
}
