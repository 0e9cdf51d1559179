// The game object's construction, creation, per-update order, suspension and
// full-screen switch.
#include "framework/input.h"
#include "game/myapp.h"
#include "host/kzglfwgame.h"

namespace {

constexpr int kKeyF1 = 112;
constexpr int kKeyF2 = 113;
constexpr int kKeyF4 = 115;
constexpr int kKeyF11 = 122;
constexpr int kKeyConsoleBack = 270;  // the console's menu button (joystick key of player 0)
constexpr int kUpdateRate = 60;
constexpr int kSuspendedUpdateRate = 5;

// One step of a box's fade counter: up to 30 while open, down to 0 after.
void StepFade(int& fade, int open) {
    if (open == 0) {
        if (fade > 0) --fade;
    } else if (fade < c_MyApp::kBoxFadeFrames) {
        ++fade;
    }
}

}  // namespace

c_MyApp::c_MyApp() {
    gc_assign(m_images, Array<c_Image*>(image_id::kSlots));
    gc_assign(m_imageInfo, Array<int>(image_id::kSlots * image_info::kInts));
    gc_assign(m_badgeShowA, Array<int>(kBadges));
    gc_assign(m_badgeShowB, Array<int>(kBadges));
    gc_assign(m_badgeFlags, Array<bool>(kBadgeFlags));
    gc_assign(m_buttons, Array<int>(button_id::kSlots));
    gc_assign(m_settings, Array<int>(setting::kCount));
    gc_assign(m_scores, Array<int>(score_table::kEntries));
    gc_assign(m_channels, Array<int>(kAudioChannels));
    gc_assign(m_drawList, Array<float>(draw_record::kListFloats));
    gc_assign(m_touchDown, Array<int>(kFingers));
    gc_assign(m_touchX, Array<int>(kFingers));
    gc_assign(m_touchY, Array<int>(kFingers));
    gc_assign(m_sounds, Array<c_Sound*>(sound_id::kSlots));
    gc_assign(m_party, Array<float>(party_table::kTableFloats));
    gc_assign(m_stars, Array<float>(star_record::kTableFloats));
    gc_assign(m_map, Array<float>(map_cell::kTableFloats));
    gc_assign(m_bullets, Array<float>(bullet_record::kTableFloats));
    gc_assign(m_particles, Array<float>(particle_record::kTableFloats));
}

c_MyApp* c_MyApp::m_new() {
    c_App::m_new();
    return this;
}

void c_MyApp::mark() {
    gc_mark_q(m_images);
    gc_mark_q(m_imageInfo);
    gc_mark_q(m_badgeShowA);
    gc_mark_q(m_badgeShowB);
    gc_mark_q(m_badgeFlags);
    gc_mark_q(m_buttons);
    gc_mark_q(m_settings);
    gc_mark_q(m_scores);
    gc_mark_q(m_channels);
    gc_mark_q(m_drawList);
    gc_mark_q(m_touchDown);
    gc_mark_q(m_touchX);
    gc_mark_q(m_touchY);
    gc_mark_q(m_sounds);
    gc_mark_q(m_party);
    gc_mark_q(m_stars);
    gc_mark_q(m_map);
    gc_mark_q(m_bullets);
    gc_mark_q(m_particles);
}

int c_MyApp::p_OnCreate() {
    if (kz_Tarvo_isOuya == 1) {
        kz_Tarvo_overscan = 64.0f;
        m_padGlyphs = control_layout::kPad;
    }
    m_fullscreen = 0;
    m_logoJinglePlayed = 0;
    m_mode = screen_mode::kTitle;
    kz_app_SetUpdateRate(kUpdateRate);
    m_accelZeroX = 0;
    m_accelZeroY = 0;
    m_lastDevWidth = kz_app_DeviceWidth();
    m_lastDevHeight = kz_app_DeviceHeight();
    p_Reload();
    m_difficulty = 2;
    m_introSlide = -32;
    p_HidePause();

    for (m_i = 0; m_i < kBadges; ++m_i) m_badgeShowA[m_i] = m_badgeShowB[m_i] = 0;
    // Only the first half of the flags; the save data holds them all.
    for (m_i = 0; m_i < kBadgeFlags / 2; ++m_i) m_badgeFlags[m_i] = false;
    for (m_i = 0; m_i < button_id::kPressSlots; ++m_i) m_buttons[m_i] = 0;
    for (m_i = 0; m_i < setting::kCount; ++m_i) m_settings[m_i] = 0;
    m_settings[setting::kSound] = 1;
    // The best-scores lists and the first last score; the save data holds all.
    for (m_i = 0; m_i <= score_table::kLastScores; ++m_i) m_scores[m_i] = 0;

    p_Load();
    for (m_i = 0; m_i < kAudioChannels; ++m_i) m_channels[m_i] = m_i;
    return 0;
}

int c_MyApp::p_OnUpdate() {
    if (kz_Tarvo_isOuya == 0) {
        m_buttons[button_id::kBackKeySlot] = kz_input_KeyHit(kKeyBack);
    } else if (kz_Tarvo_isOuya == 1) {
        m_buttons[button_id::kBackKeySlot] = kz_input_KeyHit(kKeyConsoleBack) > 0 ? 1 : 0;
    }
    p_HotKeys();
    kz_asyncevent_UpdateAsyncEvents();
    if (kz_Tarvo_HasMusicStream == 1 && m_musicOn == 1) {
        if (m_paused != 0) {
            kz_audio_PauseMusic();
        } else {
            kz_audio_ResumeMusic();
        }
    }
    p_UpdateRateStatistics();
    p_SampleInput();
    p_UpdateLocks();
    if (m_loadStep == 0) p_DispatchScreens();
    if (m_loadStep > 0) p_Loader();
    if (kz_Tarvo_iCadeControls == 1) p_DecodeICade();
    p_ReleaseScreenButtons();

    if (kz_Tarvo_OnScreenControls == 1 && m_mode > screen_mode::kOnScreenControlsAbove && kz_Tarvo_iCadeControls == 0) {
        p_OnScreenControls();
    }
    if (kz_Tarvo_AccelerometerControls == 1 && kz_Tarvo_iCadeControls == 0) p_TiltIndicator();
    if (kz_Tarvo_iCadeControls == 1) {
        m_tiltSmoothX = 0;
        m_tiltSmoothY = 0;
    }
    if (kz_Tarvo_DebugMode == 1) p_DebugLine();
    p_ShowBadges();
    return 0;
}

// F1 debug line, F2 pause icon, F11 full screen; F4 and the close box end
// the program at once. Hits, not held keys, so each acts once per press.
int c_MyApp::p_HotKeys() {
    if (kz_input_KeyHit(kKeyF1) != 0) kz_Tarvo_DebugMode = 1 - kz_Tarvo_DebugMode;
    if (kz_input_KeyHit(kKeyF2) != 0) m_hideHud = 1 - m_hideHud;
    if (kz_input_KeyHit(kKeyF11) != 0) p_FullscreenFlip();
    if (kz_input_KeyHit(kKeyF4) != 0 || kz_input_KeyHit(kKeyClose) != 0) kzError(String());
    return 0;
}

void c_MyApp::p_MeasureRate(int now, int& lastMillis, int& fps, int& fpsAverage) {
    if (now > lastMillis) fps = 1000 / (now - lastMillis);
    fpsAverage = (fpsAverage * 9 + fps) / 10;
    lastMillis = now;
}

// The update rate's previous time is a second reading of the clock, taken
// after the measurement.
int c_MyApp::p_UpdateRateStatistics() {
    p_MeasureRate(kz_app_Millisecs(), m_lastMillis, m_fps, m_fpsAverage);
    m_lastMillis = kz_app_Millisecs();
    return 0;
}

// The screen of the current mode, then the overlays that sit on it.
int c_MyApp::p_DispatchScreens() {
    switch (m_mode) {
        case screen_mode::kTitle: p_Menu(); break;
        case screen_mode::kReturnToTitle:
            p_LoadMenu();
            p_PlaySFX(sound_id::kJingle, 1.0f);
            m_mode = screen_mode::kTitle;
            break;
        case screen_mode::kQuitConfirm: p_OuyaQuit(); break;
        case screen_mode::kInGame:
            p_Game();
            p_InGame();
            break;
        case screen_mode::kStartGame: p_LoadGame(); break;
        default: break;
    }
    // The game-over overlay also fades out over the title screen.
    if (m_mode == screen_mode::kInGame && m_gameOver > 0) p_GameOver();
    if (m_mode == screen_mode::kTitle || m_mode == screen_mode::kReturnToTitle) p_GameOver();

    if (m_mode == screen_mode::kTitle && (m_creditsOpen == 1 || m_creditsFade > 0)) p_CreditBox();
    StepFade(m_creditsFade, m_creditsOpen);
    if (m_mode == screen_mode::kTitle && m_badgesOpen == 1) p_BadgesBox();
    if (m_optionsOpen == 1 || m_optionsFade > 0) {
        p_OptionBox();
        StepFade(m_optionsFade, m_optionsOpen);
    }
    return 0;
}

// Presses of on-screen buttons last one update; iCade holds (2) stay.
int c_MyApp::p_ReleaseScreenButtons() {
    for (m_i = 0; m_i < button_id::kPressSlots; ++m_i) {
        if (m_buttons[m_i] == 1) m_buttons[m_i] = 0;
    }
    return 0;
}

int c_MyApp::p_DebugLine() {
    p_ResetDraw();
    const bool tiltShown = kz_Tarvo_AccelerometerControls == 1 && kz_Tarvo_iCadeControls == 0;
    const float y = tiltShown ? kz_Tarvo_jscrh * 0.5f : kz_Tarvo_jscrh - 16;
    p_Text(16, y, String(m_renderFpsAverage) + String(":") + String(m_scaleX) + String(",") + String(m_scaleY), 0, 0);
    return 0;
}

// A game comes back paused with the pause panel in place; elsewhere the pause
// state is cleared.
int c_MyApp::p_SetPauseForSuspension() {
    if (m_mode < screen_mode::kInGame) {
        m_paused = 0;
        m_pauseSlide = 0;
        m_pausePanelY = 0;
    } else {
        m_paused = 1;
        m_pauseSlide = 1;
        m_pausePanelY = static_cast<int>(kz_Tarvo_jscrh * 0.5f);
    }
    return 0;
}

int c_MyApp::p_OnSuspend() {
    kz_app__game->SetKeyboardEnabled(false);
    kz_Tarvo_iCadeControls = 0;
    for (m_i = 0; m_i < button_id::kPressSlots; ++m_i) m_buttons[m_i] = 0;
    p_SetPauseForSuspension();
    kz_app_SetUpdateRate(kSuspendedUpdateRate);
    p_Save();
    return 0;
}

int c_MyApp::p_OnResume() {
    p_SetPauseForSuspension();
    kz_app_SetUpdateRate(kUpdateRate);
    kz_app__game->SetKeyboardEnabled(false);
    kz_Tarvo_iCadeControls = 0;
    for (m_i = 0; m_i < button_id::kPressSlots; ++m_i) m_buttons[m_i] = 0;
    return 0;
}

// Full screen at the desktop's size and depth, or back to a 640 x 480
// window; the next render sees the new size and reloads the assets.
int c_MyApp::p_FullscreenFlip() {
    KzGlfwVideoMode* desktop = KzGlfwGame::_glfwGame->GetGlfwDesktopMode();
    m_fullscreen = 1 - m_fullscreen;
    if (m_fullscreen == 1) {
        KzGlfwGame::_glfwGame->SetGlfwWindow(desktop->width, desktop->height, desktop->red, desktop->green,
                                             desktop->blue, 0, 0, 0, true);
    } else {
        KzGlfwGame::_glfwGame->SetGlfwWindow(640, 480, desktop->red, desktop->green, desktop->blue, 0, 0, 0,
                                             false);
    }
    return 0;
}

// Hooks for an online score service; there is none on the desktop.
int c_MyApp::p_GC_PostScore(int, int) { return 0; }

int c_MyApp::p_GC_Badges() { return 0; }
