// Pausing a game: the pause button and icon of a play frame, and the panel
// that slides down over the game with its three buttons, resume (centre),
// quit (left) and options (right), reachable by touch or by pad; on the
// console also an overscan slider.
#include <cstdlib>

#include "game/screens/kit.h"

namespace {

constexpr int kConsolePauseButton = button_id::kAction4;
constexpr int kPauseSound = sound_id::kSelect;
constexpr int kCogSound = sound_id::kTick;
constexpr float kPauseVolume = 0.5f;

// The icon in the top left corner, faint unless the game is played by touch.
constexpr float kIconX = 16;
constexpr float kIconY = 16;
constexpr float kFaintIcon = 0.2f;

constexpr int kIntroSlideStart = -32;  // the title's intro plays again after a game
constexpr int kPanelHidden = -64;
constexpr int kSlideSpeed = 24;
constexpr int kSlidOut = -32;  // the game goes on once the panel is above this
constexpr float kDimRange = 0.8f;

// The panel's bars: (half width, top offset from the panel centre, height).
struct Bar {
    float halfWidth, top, height;
};
struct PanelLayout {
    Bar top, body, bottom;
    float buttonDX, buttonDY;  // quit and options: this far left and right of the centre, and above it
};
constexpr PanelLayout kLandscapePanel = {{128, -64, 8}, {140, -52, 104}, {128, 56, 8}, 140, 64};
constexpr PanelLayout kPortraitPanel = {{96, -92, 8}, {128, -80, 160}, {96, 84, 8}, 96, 96};

constexpr float kCogLastTurn = -0.33f;
constexpr float kCogStep = 0.2f;
constexpr float kButtonScale = 2;
constexpr float kRingScale = 2.5f;

constexpr int kResume = 0;
constexpr int kQuit = -1;
constexpr int kOptions = 1;
constexpr float kCursorLeftRate = 0.8f;
constexpr float kCursorRightRate = 1.2f;
constexpr float kQuitRate = 0.5f;

// The console's overscan slider above the panel.
constexpr float kSliderLabelY = -150;
constexpr float kSliderBarY = -154;
constexpr float kSliderTapHeight = 16;
constexpr float kSliderTapWidth = 256;
constexpr float kSliderTapY = -158;
constexpr float kOverscanNearLow = 32;  // a tap jumps to the far end from here

}  // namespace

int c_MyApp::p_InGame() {
    p_ResetDraw();
    m_introSlide = kIntroSlideStart;
    bool pauseAsked = p_AnyButtonDown({button_id::kBack}) != 0;
    if (kz_Tarvo_isOuya == 1 && p_AnyButtonDown({kConsolePauseButton}) != 0) pauseAsked = true;
    if (pauseAsked && m_paused == 0 && m_keyLock == 0) {
        m_keyLock = 1;
        m_paused = 1;
        m_pauseSlide = 1;
        m_pauseCursor = kResume;
        p_PlaySFX(kPauseSound, 1, kPauseVolume, 0);
    }

    if (m_hideHud == 0) {
        p_Alpha(m_padGlyphs == control_layout::kTouch ? 1 : kFaintIcon);
        if (p_Button(image_id::kIcons, kIconX, kIconY, icon_frame::kPause) != 0 && m_paused == 0 && m_touchLock == 0) {
            m_paused = 1;
            m_pauseSlide = 1;
            m_touchLock = 1;
            m_pauseCursor = kResume;
            p_PlaySFX(kPauseSound, 1, kPauseVolume, 0);
        }
        p_Alpha(1);
    }

    if (m_paused == 1) p_PauseMenu();
    return 0;
}

namespace {

// The panel slides down to the middle of the screen and back up; once it is
// out of sight the game goes on.
void SlidePanel(c_MyApp& app) {
    int& y = app.m_pausePanelY;
    if (app.m_pauseSlide == 1 && y < kz_Tarvo_jscrh * 0.5f) y += kSlideSpeed;
    if (app.m_pauseSlide == -1) {
        if (y > kPanelHidden) {
            y -= kSlideSpeed;
            if (y < kSlidOut) app.m_paused = 0;
        } else {
            app.m_paused = 0;
        }
    }
}

void DrawBar(c_MyApp& app, const Bar& bar, float cx, float y) {
    app.p_Rect(cx - bar.halfWidth, y + bar.top, 2 * bar.halfWidth, bar.height);
}

void DrawPanel(c_MyApp& app, const PanelLayout& layout, float cx, float y) {
    app.p_SetSize(1, 1);
    app.m_blend = 1;
    app.p_SetCol(255, 255, 10, 0.6f);
    DrawBar(app, layout.top, cx, y);
    app.p_SetCol(255, 150, 10, 0.7f);
    DrawBar(app, layout.body, cx, y);
    app.p_SetCol(10, 150, 255, 0.6f);
    DrawBar(app, layout.bottom, cx, y);
}

// The console's overscan: a tap on the bar jumps between its ends, the
// shoulder buttons move it a step.
void OverscanSlider(c_MyApp& app, float cx, float y) {
    DrawOverscanSlider(app, cx, y + kSliderLabelY, y + kSliderBarY);
    if (app.p_MouseIn_Centered(cx, y + kSliderTapY, kSliderTapWidth, kSliderTapHeight) != 0 && app.m_touchLock == 0) {
        app.m_touchLock = 1;
        app.p_PlaySFX(kPauseSound, 1);
        app.m_settings[setting::kOverscan] = kz_Tarvo_overscan < kOverscanNearLow ? kOverscanHigh : kOverscanLow;
    }
    StepOverscan(app, app.m_keyLock);
}

void DrawRing(c_MyApp& app, float x, float y) {
    app.p_SetSize(kRingScale, kRingScale);
    app.p_SetCol(255, 255, 100, 1);
    app.p_DrawImg(image_id::kIcons, x, y, icon_frame::kRing);
}

// A pad press acts once: every move or choice sets the key lock.
bool Pressed(c_MyApp& app, int button) {
    if (app.m_keyLock != 0 || app.p_AnyButtonDown({button}) == 0) return false;
    app.m_keyLock = 1;
    return true;
}

void MoveCursor(c_MyApp& app, int to, float rate) {
    app.m_pauseCursor = to;
    app.p_PlaySFX(kPauseSound, rate, kPauseVolume, 0);
}

// Resume starts the slide-out; the game goes on once the panel is gone.
void Resume(c_MyApp& app) {
    app.m_paused = 1;
    app.m_pauseSlide = -1;
    app.p_PlaySFX(kPauseSound, 1, kPauseVolume, 0);
}

// Quitting hands over to the game-over sequence at once.
void QuitGame(c_MyApp& app) {
    app.p_HidePause();
    app.m_gameOver = 1;
    app.p_PlaySFX(kPauseSound, kQuitRate, kPauseVolume, 0);
}

// The game darkens as the panel comes down.
void DimGame(c_MyApp& app, float w, float h) {
    app.p_SetSize(1, 1);
    app.p_SetRot(0);
    app.m_blend = 1;
    app.p_SetCol(0, 0, 0, static_cast<float>(std::abs(app.m_pausePanelY)) / (kDimRange * h));
    app.p_Rect(0, 0, w, h);
}

// Resume, in the panel's centre: left or up moves to quit, right to the
// options.
void ResumeButton(c_MyApp& app, float x, float y) {
    app.p_SetSize(kButtonScale, kButtonScale);
    app.p_SetCol(50, 50, 250, 1);
    if (app.p_Button(image_id::kIcons, x, y, icon_frame::kStart) != 0 && app.m_touchLock == 0) {
        app.m_touchLock = 1;
        Resume(app);
    }
    if (app.m_pauseCursor != kResume) return;
    DrawRing(app, x, y);
    if (Pressed(app, button_id::kAction1)) {
        Resume(app);
    } else if (Pressed(app, button_id::kLeft) || Pressed(app, button_id::kUp)) {
        MoveCursor(app, kQuit, kCursorLeftRate);
    } else if (Pressed(app, button_id::kRight)) {
        MoveCursor(app, kOptions, kCursorRightRate);
    }
}

// Quit, up and left: right or down moves back to resume.
void QuitButton(c_MyApp& app, float x, float y) {
    app.p_SetSize(kButtonScale, kButtonScale);
    app.p_SetCol(255, 50, 50, 1);
    if (app.p_Button(image_id::kIcons, x, y, icon_frame::kQuit) != 0 && app.m_touchLock == 0) {
        app.m_touchLock = 1;
        QuitGame(app);
    }
    if (app.m_pauseCursor != kQuit) return;
    DrawRing(app, x, y);
    if (Pressed(app, button_id::kAction1)) {
        QuitGame(app);
    } else if (Pressed(app, button_id::kRight) || Pressed(app, button_id::kDown)) {
        MoveCursor(app, kResume, kCursorLeftRate);
    }
}

// The options cog, up and right, turning while the box is closed: left or
// down moves back to resume.
void OptionsCog(c_MyApp& app, float x, float y) {
    app.p_SetSize(1, 1);
    app.p_SetCol(255, 255, 255, 1);
    if (app.m_optionsOpen == 0) app.m_cogAngle += kCogStep;
    if (app.p_Cog(x, y, kCogLastTurn) != 0 && app.m_touchLock == 0) {
        app.p_OpenOptions();
        app.m_touchLock = 1;
        app.p_PlaySFX(kCogSound, 1);
    }
    if (app.m_pauseCursor != kOptions) return;
    DrawRing(app, x, y);
    if (Pressed(app, button_id::kAction1)) {
        app.p_OpenOptions();
        app.p_PlaySFX(kPauseSound, 1, kPauseVolume, 0);
    } else if (Pressed(app, button_id::kLeft) || Pressed(app, button_id::kDown)) {
        MoveCursor(app, kResume, kCursorLeftRate);
    }
}

}  // namespace

void c_MyApp::p_HidePause() {
    m_paused = 0;
    m_pauseSlide = -1;
    m_pausePanelY = kPanelHidden;
}

int c_MyApp::p_PauseMenu() {
    const float w = kz_Tarvo_jscrw;
    const float h = kz_Tarvo_jscrh;
    const float cx = w * 0.5f;
    DimGame(*this, w, h);
    SlidePanel(*this);
    const float y = static_cast<float>(m_pausePanelY);
    const PanelLayout& layout = m_landscape == 1 ? kLandscapePanel : kPortraitPanel;
    DrawPanel(*this, layout, cx, y);
    if (kz_Tarvo_isOuya == 1) OverscanSlider(*this, cx, y);

    ResumeButton(*this, cx, y);
    const float by = y - layout.buttonDY;
    QuitButton(*this, static_cast<float>(TruncToInt(cx - layout.buttonDX)), by);
    OptionsCog(*this, static_cast<float>(TruncToInt(cx + layout.buttonDX)), by);
    if (Pressed(*this, button_id::kBack)) Resume(*this);
    return 0;
}
