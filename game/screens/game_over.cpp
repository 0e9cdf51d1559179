// The end of a game: the "GAME OVER" overlay with its timer, which hands
// over to the title and folds away there; the place the final score would
// take; and the score's entry into the tables, which are then saved.
#include <algorithm>

#include "game/myapp.h"

namespace {

constexpr int kHandOverFrame = 90;  // the overlay's frame that returns to the title
constexpr int kTitleFrame = 73;     // where the timer goes on over the title
constexpr int kFoldStep = 2;        // frames folded away per title frame
constexpr float kDimFrames = 40;
constexpr float kMostDim = 0.7f;
constexpr int kWordSpeed = 12;  // units the words travel per frame
constexpr float kTopBarY = 0.45f;
constexpr float kBottomBarY = 0.55f;
constexpr float kBarHalfHeight = 8;
constexpr float kGameWordX = 0.35f;
constexpr float kOverWordX = 0.65f;
constexpr float kWordScale = 4;
constexpr float kBoxRise = 1.5f;  // the high-score box moves in at two thirds of the words' speed
constexpr float kBoxHalfHeight = 16;
constexpr float kBoxLeft = 0.35f;
constexpr float kBoxWidth = 0.3f;
constexpr float kBoxTextScale = 2;

// Puts `score` at `rank` of the list starting at `base`, moving the entries
// from there on one place down; the last one drops out.
void InsertScore(Array<int>& scores, int base, int rank, int score) {
    for (int i = base + score_table::kRanks - 1; i > base + rank; --i) scores[i] = scores[i - 1];
    scores[base + rank] = score;
}

}  // namespace

int c_MyApp::p_GameOver() {
    const float w = kz_Tarvo_jscrw;
    const float h = kz_Tarvo_jscrh;
    const int t = m_gameOverTimer;
    if (t >= 1) {
        // Nothing underneath reacts while the overlay shows.
        m_keyLock = 1;
        m_touchLock = 1;
        p_SetCol(0, 0, 0, std::min(static_cast<float>(t) / kDimFrames, kMostDim));
        p_Rect(-1, -1, w + 2, h + 2);

        const float y = static_cast<float>(std::min(t * kWordSpeed, TruncToInt(h * kTopBarY)));
        p_SetSize(1, 1);
        p_SetRot(0);
        p_SetCol(255, 255, 0, 0.5f);
        p_Rect(-1, h * kTopBarY - kBarHalfHeight, 2 * y, 2 * kBarHalfHeight);
        p_SetCol(255, 128, 0, 0.5f);
        p_Rect(w - 2 * y, h * kBottomBarY - kBarHalfHeight, 2 * y + 1, 2 * kBarHalfHeight);

        p_SetSize(kWordScale, kWordScale);
        p_SetCol(255, 180, 180, 1);
        p_Text(w * kGameWordX, y, String("GAME"), 1, 1);
        p_Text(w * kOverWordX, h - y, String("OVER"), 1, 1);

        const String place = p_MyNth();
        if (m_i > 0) {
            p_SetCol(0, 125, 255, 0.5f);
            p_Rect(w * kBoxLeft, h - y / kBoxRise - kBoxHalfHeight, w * kBoxWidth, 2 * kBoxHalfHeight);
            p_SetSize(kBoxTextScale, kBoxTextScale);
            p_SetCol(100, 255, 100, 1);
            // "\n" is the text writer's line break; the spaces indent the place.
            p_Text(w * 0.5f, h - y / kBoxRise, String("New Highscore\\n           ") + place, 0.5f, 2);
        }
    }

    if (m_mode == screen_mode::kInGame) {
        if (++m_gameOverTimer == kHandOverFrame) p_EndGame();
    } else if (m_mode < screen_mode::kInGame) {
        m_gameOverTimer = std::max(m_gameOverTimer - kFoldStep, 0);
    }
    return 0;
}

// A game lost while paused leaves the pause behind here, so that neither the
// title nor the next game starts with it.
void c_MyApp::p_EndGame() {
    m_mode = screen_mode::kReturnToTitle;
    m_gameOverTimer = kTitleFrame;
    p_HidePause();
    if (kz_Tarvo_HasMusicStream == 1) p_StopTune();
}

// The first place of the current difficulty's best scores that the score
// reaches, ties included; an empty entry (0) is always reached. The top place
// is cheered.
String c_MyApp::p_MyNth() {
    m_i = 0;
    for (int rank = 0; rank < score_table::kRanks; ++rank) {
        if (m_score >= m_scores[score_table::Best(m_difficulty, rank)]) {
            m_i = rank + 1;
            break;
        }
    }
    return m_i == 1 ? p_Nth(1) + String("!") : p_Nth(m_i);
}

// A score enters the best list only above an entry, so a tie goes after it
// and 0 never enters; it always heads the last-scores list.
int c_MyApp::p_LoadMenu() {
    m_tableBase = score_table::Best(m_difficulty, 0);
    for (int rank = 0; rank < score_table::kRanks; ++rank) {
        if (m_score > m_scores[m_tableBase + rank]) {
            InsertScore(m_scores, m_tableBase, rank, m_score);
            break;
        }
    }
    m_tableBase = score_table::Last(m_difficulty, 0);
    InsertScore(m_scores, m_tableBase, 0, m_score);
    p_Save();
    return 0;
}
