// The title menu: the title artwork sliding in, a carousel of the three game
// types and the options cog, the best and last scores of the highlighted
// type, and a small credits button. Driven by taps, swipes with inertia, pads
// and the keyboard.
#include <algorithm>
#include <cassert>
#include <cmath>

#include "framework/input.h"
#include "game/screens/kit.h"

namespace {

constexpr int kCreditsButton = button_id::kAction6;
constexpr int kKeyEscape = 27;
constexpr int kPlayers = kJoyPorts;  // one per joystick
constexpr int kStartSound = sound_id::kSelect;
constexpr int kMoveSound = sound_id::kTick;

constexpr int kGameTypes = 3;
constexpr int kOptionsItem = 4;
constexpr float kItemSpacing = 88;
constexpr float kPanelWidth = 140;
constexpr float kHighlightScale = 1.75f;
constexpr float kFadeDistance = 480;  // an item this far from the centre would vanish...
constexpr float kFaintestItem = 0.5f;  // ...but never fades below this
constexpr float kCogTurn = 0.5f;
constexpr float kCogLastTurn = -1;
constexpr float kRubberBandPull = 8;
constexpr float kEasing = 0.125f;
constexpr float kFlingDecay = 0.2f;
constexpr float kFlingStop = 3;
constexpr float kSettled = 32;
constexpr float kSwipeGain = 1.5f;
constexpr float kSwipeThreshold = 2;
constexpr int kSwipeLock = 2;  // the touch lock during a swipe, so that taps are ignored

// Layouts of the control scheme a game starts with.
constexpr int kStartButtons[] = {button_id::kAction1, button_id::kAction2, button_id::kAction3, button_id::kAction4};
constexpr int kConsoleMenuButton = button_id::kAction4;  // not a start button on the console

// The score panel at the right: its rows are 1.5 font lines high.
constexpr float kPanelTextScale = 1.5f;
constexpr float kPanelTextInset = 20;
// The best list starts low enough that its heading clears the maker's logo
// above it (at 60 the logo covered it); the rows still end above the last
// list whatever the height.
constexpr float kBestTop = 82;
constexpr float kLastTopBelowMiddle = 20;
constexpr float kPanelMargin = 90;  // height taken by headers and margins
constexpr int kMaxRows = 10;
constexpr int kScoreWidth = 11;

// The start button at the bottom right and the credits button at the top
// right; both slide in with the intro.
constexpr float kButtonsRightInset = 70;
constexpr float kStartBottomInset = 48;
constexpr float kStartScaleX = 3;
constexpr float kStartScaleY = 2.5f;
constexpr float kCreditsTop = 32;
constexpr float kCreditsScale = 0.35f;
constexpr float kIntroSlideGain = 4;

// Back ends the program at once; on the console it asks first.
void Back(c_MyApp& app) {
    if (app.m_touchLock != 0 || app.m_keyLock != 0) return;
    const bool back = app.p_AnyButtonDown({button_id::kBack}) != 0;
    if (kz_Tarvo_isOuya == 0 && back) kzError(String());
    if (kz_Tarvo_isOuya == 1 && (back || kz_input_KeyDown(kKeyEscape) != 0)) {
        app.m_mode = screen_mode::kQuitConfirm;
        app.m_keyLock = 1;
        app.m_touchLock = 1;
    }
}

void DrawArtwork(c_MyApp& app, float w, float h, float slide) {
    app.p_SetCol(255, 255, 255, 1);
    app.p_SetSize(3, 3);
    app.p_DrawImg(image_id::kMenuArt, w * 0.5f, h * 0.5f + 16 * slide, 0);
    app.p_DrawImg(image_id::kMenuArt, w * 0.5f, h * 0.5f - 24 * slide, 1);
    app.p_SetSize(2, 2);
    app.p_DrawImg(image_id::kMenuArt, w * 0.4f + 20 * slide, h * 0.5f, 2);
    app.p_SetSize(1.5f, 1.5f);
    app.p_DrawImg(image_id::kTitleLogo, w * 0.4f, 96 + 12 * slide, 0);
}

// A header and `rows` scores of the list at `first`, one per line.
String ScoreList(c_MyApp& app, const char* header, const char* singleHeader, int first, int rows) {
    String text = rows == 1 ? String(singleHeader) : String(header) + String(rows);
    for (int rank = 0; rank < rows; ++rank) {
        text = text + String("\\n") + app.p_rstr(app.m_scores[first + rank], kScoreWidth, String(" "));
    }
    return text;
}

// The panel slides in from the right; it lists as many scores as fit in
// half the height below the headers, one to ten.
void ScorePanel(c_MyApp& app, float w, float h, float slide) {
    const float left = w - kPanelWidth - kIntroSlideGain * slide;
    app.p_SetCol(0, 0, 0, 0.4f);
    app.p_Rect(left, 0, kPanelWidth, h);
    if (BoxOpen(app) || app.m_menuSel >= kOptionsItem) return;

    const int fontHeight = app.m_imageInfo[image_info::Index(app.m_fontImage, image_info::kFrameHeight)];
    const int lineHeight = TruncToInt(kPanelTextScale * fontHeight);
    const float room = static_cast<float>(TruncToInt(h - kPanelMargin - h * 0.5f));
    const int rows = Clamp(static_cast<int>(std::floor(room / lineHeight)), 1, kMaxRows);
    const int type = app.m_menuSel;
    app.p_SetSize(kPanelTextScale, kPanelTextScale);
    app.p_SetCol(255, 200, 100, 1);
    app.p_Text(left + kPanelTextInset, kBestTop, ScoreList(app, "Top ", "Highscore", score_table::Best(type, 0), rows), 0, 0);
    app.p_SetCol(200, 255, 100, 1);
    app.p_Text(left + kPanelTextInset, h * 0.5f + kLastTopBelowMiddle,
               ScoreList(app, "Last ", "Last", score_table::Last(type, 0), rows), 0, 0);
}

void Scroll(c_MyApp& app) {
    app.m_menuScroll += app.m_menuFling;
    app.m_menuEased -= (app.m_menuEased - app.m_menuScroll) * kEasing;
    if (app.m_menuFling != 0) {
        app.m_menuFling *= kFlingDecay;
        if (std::fabs(app.m_menuFling) < kFlingStop) app.m_menuFling = 0;
    }
}

// Scrolls to `item` and keeps it highlighted while the carousel settles.
void SettleOn(c_MyApp& app, int item) {
    app.m_menuSel = item;
    app.m_menuSettling = item;
    app.m_menuScroll = (1 - item) * kItemSpacing;
    app.m_menuFling = 0;
    app.m_menuDrag = 0;
    app.p_PlaySFX(kMoveSound, 1);
}

// The game types are the difficulties.
void SetDifficulty(c_MyApp& app, int gameType) {
    assert(gameType >= 1 && gameType <= kGameTypes);
    app.m_difficulty = gameType;
}

void StartGame(c_MyApp& app, int gameType) {
    SetDifficulty(app, gameType);
    app.m_mode = screen_mode::kStartGame;
    app.m_keyLock = 1;
    app.m_touchLock = 1;
    app.p_PlaySFX(kStartSound, 1);
}

void OpenOptions(c_MyApp& app) {
    app.m_keyLock = 1;
    app.m_touchLock = 1;
    app.p_PlaySFX(kStartSound, 1);
    app.p_OpenOptions();
}

struct Carousel {
    float centreX, centreY;  // the highlighted item settles here
    float firstX, firstY;    // item 1
    float stepX, stepY;      // from one item to the next
};

Carousel LayOut(const c_MyApp& app, float w, float h) {
    const float centreX = (w - kPanelWidth) * 0.5f;
    if (app.m_menuPortrait == 1) return {centreX, h * 0.6f, centreX, h * 0.6f + app.m_menuEased, 0, kItemSpacing};
    return {centreX, h - 96, centreX + app.m_menuEased, h - 96, kItemSpacing, 0};
}

// Dragged too far, the carousel pulls back and highlights its end item.
void RubberBand(c_MyApp& app, int item, float x, float y, float w, float h) {
    const bool portrait = app.m_menuPortrait == 1;
    if (item == 1 && (portrait ? y > h * 0.75f : x > (w - kPanelWidth) * 0.75f)) {
        app.m_menuSel = 1;
        app.m_menuScroll -= kRubberBandPull;
    }
    if (item == kOptionsItem && (portrait ? y < h * 0.45f : x < w * 0.25f)) {
        app.m_menuSel = kOptionsItem;
        app.m_menuScroll += kRubberBandPull;
    }
}

bool Unlocked(const c_MyApp& app) { return app.m_keyLock == 0 && app.m_touchLock == 0; }

// An item at its place, larger when highlighted and fainter the further it
// is from the centre; whether a finger is on it.
bool DrawItem(c_MyApp& app, int item, float x, float y, float distance) {
    const bool highlighted = item == app.m_menuSel;
    const float scale = highlighted ? kHighlightScale : 1;
    app.p_SetSize(scale, scale);
    app.p_SetCol(255, 255, 255, highlighted ? 1 : std::max(1 - distance / kFadeDistance, kFaintestItem));
    if (item == kOptionsItem) return app.p_Cog(x, y, kCogLastTurn) != 0;
    return app.p_Button(image_id::kMenuButtons, x, y, menu_button_frame::kFirstGameType + item - 1) != 0;
}

// The highlighted game type's start button; whether a finger is on it.
bool StartButton(c_MyApp& app, float w, float h, float slide) {
    app.p_SetSize(kStartScaleX, kStartScaleY);
    app.p_SetCol(100, 255, 100, 0.3f);
    const float startY = h - kStartBottomInset - kIntroSlideGain * slide;
    return app.p_Button(image_id::kIcons, w - kButtonsRightInset, startY, icon_frame::kStart) != 0;
}

// A tap on the highlighted item starts its game type by touch, or opens the
// options.
void Choose(c_MyApp& app, int item) {
    if (item <= kGameTypes) {
        StartGame(app, item);
        app.m_startPad = 0;
        app.m_padGlyphs = control_layout::kTouch;
    } else {
        OpenOptions(app);
    }
}

// Scrolling highlights whatever passes the centre, unless the carousel is
// settling on an item chosen by a tap or key.
void FollowScroll(c_MyApp& app, int nearest) {
    if (nearest != app.m_menuSel && app.m_menuSettling == 0) {
        app.m_menuSel = nearest;
        app.p_PlaySFX(kMoveSound, 1);
    }
    if (std::fabs(app.m_menuEased - app.m_menuScroll) < kSettled) app.m_menuSettling = 0;
}

// A tap highlights an item; a tap on the highlighted item (or its start
// button) starts that game type or opens the options.
void Items(c_MyApp& app, float w, float h, float slide) {
    const Carousel c = LayOut(app, w, h);
    int nearest = 0;
    float nearestDistance = 0;
    bool startShown = false;
    for (int item = 1; item <= kOptionsItem; ++item) {
        const float x = c.firstX + (item - 1) * c.stepX;
        const float y = c.firstY + (item - 1) * c.stepY;
        RubberBand(app, item, x, y, w, h);
        const float distance = std::hypot(x - c.centreX, y - c.centreY);
        if (nearest == 0 || distance < nearestDistance) {
            nearest = item;
            nearestDistance = distance;
        }
        const bool highlighted = item == app.m_menuSel;
        bool hit = DrawItem(app, item, x, y, distance);
        if (hit && Unlocked(app) && !highlighted) {
            SettleOn(app, item);
            app.m_keyLock = 1;
            app.m_touchLock = 1;
        }
        if (item == app.m_menuSel && item <= kGameTypes && !startShown) {
            startShown = true;
            if (StartButton(app, w, h, slide)) hit = true;
        }
        if (hit && Unlocked(app) && item == app.m_menuSel) Choose(app, item);
    }
    FollowScroll(app, nearest);
}

bool StartButtonDown(c_MyApp& app, int player) {
    for (int button : kStartButtons) {
        if (button == kConsoleMenuButton && kz_Tarvo_isOuya == 1) continue;
        if (app.p_PlayKey(button, 1, player) != 0) return true;
    }
    return false;
}

bool AnyStartButtonDown(c_MyApp& app) {
    for (int player = 0; player < kPlayers; ++player) {
        if (StartButtonDown(app, player)) return true;
    }
    return false;
}

// The layout follows the device that started the game: the keyboard (which
// every player reads too) gives the keyboard layout, a joystick the pad
// layout with the lowest player pressing.
void ChooseLayout(c_MyApp& app) {
    app.m_padGlyphs = kz_Tarvo_isOuya == 1 ? control_layout::kPad : control_layout::kKeyboard;
    app.m_startPad = 0;
    for (int player = kPlayers - 1; player >= 0; --player) {
        if (StartButtonDown(app, player)) {
            app.m_padGlyphs = control_layout::kPad;
            app.m_startPad = player;
        }
    }
    if (StartButtonDown(app, -1)) {
        app.m_padGlyphs = control_layout::kKeyboard;
        app.m_startPad = 0;
    }
}

void Keys(c_MyApp& app) {
    if (app.m_keyLock != 0) return;
    if (app.p_AnyButtonDown({button_id::kUp, button_id::kLeft}) != 0 && app.m_menuSel >= 2) {
        app.m_keyLock = 1;
        SettleOn(app, app.m_menuSel - 1);
    }
    if (app.m_keyLock == 0 && app.p_AnyButtonDown({button_id::kDown, button_id::kRight}) != 0 &&
        app.m_menuSel < kOptionsItem) {
        app.m_keyLock = 1;
        SettleOn(app, app.m_menuSel + 1);
    }
    if (app.m_keyLock == 0 && AnyStartButtonDown(app)) {
        if (app.m_menuSel <= kGameTypes) {
            StartGame(app, app.m_menuSel);
            ChooseLayout(app);
        } else {
            OpenOptions(app);
        }
    }
    if (app.m_keyLock == 0 && app.p_AnyButtonDown({kCreditsButton}) != 0) {
        app.p_PlaySFX(kMoveSound, 1);
        app.m_keyLock = 1;
        app.m_creditsOpen = 1;
    }
}

void CreditsButton(c_MyApp& app, float w, float slide) {
    app.p_SetSize(kCreditsScale, kCreditsScale);
    app.p_SetCol(255, 255, 255, 1);
    const bool hit = app.p_Button(image_id::kMakerLogo, w - kButtonsRightInset, kCreditsTop + kIntroSlideGain * slide, 0) != 0;
    if (hit && app.m_touchLock == 0 && !BoxOpen(app)) {
        app.m_touchLock = 1;
        app.p_PlaySFX(kMoveSound, 1);
        app.m_creditsOpen = 1;
    }
}

// A drag along the carousel flings it; once a drag is a swipe, taps wait for
// the finger to lift.
void Swipe(c_MyApp& app) {
    if (app.m_touchLock == 1 || BoxOpen(app) || app.m_touching < 1) return;
    const int moved = app.m_menuPortrait == 1 ? app.m_mouseY - app.m_prevMouseY : app.m_mouseX - app.m_prevMouseX;
    app.m_menuDrag = static_cast<float>(moved) * kSwipeGain;
    if (std::fabs(app.m_menuDrag) > kSwipeThreshold) {
        app.m_touchLock = kSwipeLock;
        app.m_menuFling += app.m_menuDrag;
    }
}

}  // namespace

int c_MyApp::p_Menu() {
    const float w = kz_Tarvo_jscrw;
    const float h = kz_Tarvo_jscrh;
    p_CLS2D(0, 0, 80, 1);
    if (m_introSlide < 0) m_introSlide = TruncToInt(static_cast<float>(m_introSlide) + 0.25f);
    const float slide = static_cast<float>(m_introSlide);
    m_menuPanelW = kPanelWidth;
    // Before the score panel reads the highlighted type's tables.
    if (m_menuSel < 1 || m_menuSel > kOptionsItem) m_menuSel = 1;

    Back(*this);
    DrawArtwork(*this, w, h, slide);
    ScorePanel(*this, w, h, slide);

    if (m_menuSel <= kGameTypes) SetDifficulty(*this, m_menuSel);
    if (m_menuSel == kOptionsItem) m_cogAngle += kCogTurn;
    if (m_touching == 0) m_menuDrag = 0;
    Scroll(*this);
    m_menuPortrait = 1 - m_landscape;
    if (!BoxOpen(*this)) Items(*this, w, h, slide);
    if (!BoxOpen(*this)) Keys(*this);
    CreditsButton(*this, w, slide);
    Swipe(*this);
    return 0;
}
