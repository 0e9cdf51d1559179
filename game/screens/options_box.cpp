// The options box: a panel that slides down over any screen to choose the
// sound mode, switch iCade decoding and full screen, and open the credits; on
// the console it also carries the overscan slider. It holds both input locks
// while open, so the screen below never acts, and keeps locks of its own that
// stay set while it slides. However it is left (the cog, back, a confirm
// button or Credits), the settings are saved.
#include <cassert>

#include "game/screens/kit.h"

namespace {

constexpr int kSlidePerFade = 24;
constexpr float kCogTurnPerUpdate = 0.2f;
constexpr float kCogY = 60;
constexpr float kCogScale = 1.5f;
constexpr float kSelectedCogScale = 2.0f;
constexpr float kTextScale = 2;

// Rows: the first at 130 below the panel's top, 40 apart, Credits 50 below
// the row before it and on the right.
constexpr int kFirstRowY = 130;
constexpr int kRowSpacing = 40;
constexpr int kCreditsSpacing = 50;
constexpr float kRowX = 100;
constexpr float kRowInset = 16;  // the highlight starts this far left of the label
constexpr float kRowHeight = 24;
constexpr float kCreditsRowFromRight = 264;
constexpr float kCreditsRowWidth = 180;

enum class Row { kSound, kICade, kDisplay, kCredits };

// Sound modes: 0 off, 1 effects and music, 2 effects, 3 music; a platform
// without a music stream has only off and on.
constexpr const char* kSoundLabels[] = {"Sound : Off", "Sound : SFX + Music", "Sound : SFX", "Sound : Music"};
constexpr const char* kSoundLabelsWithoutMusic[] = {"Sound : Off", "Sound : On"};

int SoundModes() { return kz_Tarvo_HasMusicStream == 1 ? 4 : 2; }

String SoundLabel(int mode) {
    return String(kz_Tarvo_HasMusicStream == 1 ? kSoundLabels[mode] : kSoundLabelsWithoutMusic[mode]);
}

void SetCursor(c_MyApp& app, int row, [[maybe_unused]] int lastRow) {
    assert(row >= 0 && row <= lastRow);
    app.m_optionsCursor = row;
}

void LockOptions(c_MyApp& app) {
    app.m_optionsKeyLock = 1;
    app.m_optionsTouchLock = 1;
}

bool OptionsUnlocked(const c_MyApp& app) { return app.m_optionsKeyLock == 0 && app.m_optionsTouchLock == 0; }

void CloseAndSave(c_MyApp& app) {
    app.m_optionsOpen = 0;
    app.p_PlaySFX(sound_id::kTick, 1.0f);
    app.p_Save();
}

// An L of two bars in each screen corner shows where the overscan ends.
void OverscanCorners(c_MyApp& app) {
    const float w = kz_Tarvo_jscrw;
    const float h = kz_Tarvo_jscrh;
    const float bars[][4] = {
        {0, 0, 16, 8},      {0, 0, 8, 16},      {0, h - 8, 16, 8},      {0, h - 16, 8, 16},
        {w - 16, 0, 16, 8}, {w - 8, 0, 8, 16},  {w - 16, h - 8, 16, 8}, {w - 8, h - 16, 8, 16},
    };
    for (const auto& bar : bars) app.p_Rect(bar[0], bar[1], bar[2], bar[3]);
}

// The cog closes the box; its last gear turns against the angle.
bool BackCogPressed(c_MyApp& app, float cx) {
    app.p_SetCol(255, 255, 255, 1);
    const float scale = app.m_optionsCursor == 0 ? kSelectedCogScale : kCogScale;
    app.p_SetSize(scale, scale);
    app.m_cogAngle += kCogTurnPerUpdate;
    const bool touched = app.p_Cog(cx, kCogY, -1) != 0;
    return touched || app.p_AnyButtonDown({button_id::kBack}) != 0;
}

void DrawLabel(c_MyApp& app, float x, float y, const String& text, float alignX, float alignY) {
    app.p_SetSize(kTextScale, kTextScale);
    app.p_SetRot(0);
    app.p_SetCol(255, 255, 255, 1);
    app.m_blend = 1;
    app.p_Text(x, y, text, alignX, alignY);
}

// The console's overscan slider sits right of the centre, sliding in with
// the box.
void OverscanSlider(c_MyApp& app) {
    const float x = 0.6f * kz_Tarvo_jscrw;
    const float y = static_cast<float>((app.m_optionsFade * 3 - 90) * 4 + 92);
    DrawOverscanSlider(app, x, y, y - 5);
    StepOverscan(app, app.m_optionsKeyLock);
}

String RowLabel(const c_MyApp& app, Row row) {
    switch (row) {
        case Row::kSound: return SoundLabel(app.m_settings[setting::kSound]);
        case Row::kICade: return String(kz_Tarvo_iCadeControls == 0 ? "iCade : Off" : "iCade : On");
        case Row::kDisplay: return String(app.m_fullscreen == 0 ? "Fullscreen" : "Windowed");
        case Row::kCredits: return String("Credits");
    }
    return String();
}

// Music stops when the new mode has none (off, or effects only).
void NextSoundMode(c_MyApp& app) {
    int& mode = app.m_settings[setting::kSound];
    if (kz_Tarvo_HasMusicStream == 1) {
        mode = (mode + 1) % 4;
        if (mode == 0 || mode == 2) app.p_StopTune();
    } else {
        mode = 1 - mode;
    }
}

void ActOnRow(c_MyApp& app, Row row) {
    switch (row) {
        case Row::kSound: NextSoundMode(app); break;
        case Row::kICade:
            app.p_iCade(1 - kz_Tarvo_iCadeControls);
            // No button the cabinet held stays down.
            for (int i = 0; i < app.m_buttons.Length(); ++i) app.m_buttons[i] = 0;
            break;
        case Row::kDisplay: app.p_FullscreenFlip(); break;
        case Row::kCredits:
            // The credits replace the box, without a sound.
            app.m_creditsOpen = 1;
            app.m_optionsKeyLock = 0;
            app.m_optionsTouchLock = 0;
            app.m_optionsOpen = 0;
            app.p_Save();
            return;
    }
    LockOptions(app);
    app.p_PlaySFX(sound_id::kTick, 1.0f);
}

// One row: its highlight is also its touch area; a touch selects and
// activates it, a confirm button activates the selected row.
void OptionRow(c_MyApp& app, Row row, int number, int lastRow, float y) {
    const bool credits = row == Row::kCredits;
    const float x = credits ? static_cast<float>(TruncToInt(kz_Tarvo_jscrw - kCreditsRowFromRight)) : kRowX;
    const float width = credits ? kCreditsRowWidth : kz_Tarvo_jscrw - 2 * (kRowX - kRowInset);
    if (number == app.m_optionsCursor) {
        app.p_SetCol(0, 180, 255, 0.5f);
    } else {
        app.p_SetCol(0, 0, 160, 0.5f);
    }
    bool activated = false;
    if (app.p_Touch(x - kRowInset, y - 2, width, kRowHeight) != 0) {
        SetCursor(app, number, lastRow);
        activated = true;
    } else if (number == app.m_optionsCursor) {
        activated = app.p_AnyButtonDown({button_id::kAction1, button_id::kAction2, button_id::kAction3,
                                                button_id::kAction4, button_id::kAction5, button_id::kAction6}) != 0;
    }
    DrawLabel(app, x, y, RowLabel(app, row), 0, 0);
    if (activated && OptionsUnlocked(app)) ActOnRow(app, row);
}

// The rows shown: no iCade row on the console, no Credits while a game is
// paused. Returns the number of the last row, the cursor's upper limit.
int OptionRows(c_MyApp& app) {
    // An out-of-range sound mode (from an edited save) is reset to off.
    const int soundMode = app.m_settings[setting::kSound];
    if (soundMode < 0 || soundMode >= SoundModes()) app.m_settings[setting::kSound] = 0;

    Row rows[4];
    int count = 0;
    rows[count++] = Row::kSound;
    if (kz_Tarvo_isOuya != 1) rows[count++] = Row::kICade;
    rows[count++] = Row::kDisplay;
    if (app.m_paused == 0) rows[count++] = Row::kCredits;

    int y = (c_MyApp::kBoxFadeFrames - app.m_optionsFade) * kSlidePerFade + kFirstRowY;
    for (int i = 0; i < count; ++i) {
        if (i > 0) y += rows[i] == Row::kCredits ? kCreditsSpacing : kRowSpacing;
        OptionRow(app, rows[i], i + 1, count, static_cast<float>(y));
    }
    return count;
}

// A confirm button on the cog closes the box; the directions move the cursor
// one step per press.
void OptionKeys(c_MyApp& app, int lastRow) {
    if (app.m_optionsCursor == 0 && app.p_AnyButtonDown({button_id::kAction6, button_id::kAction1, button_id::kAction2}) != 0) {
        app.m_optionsKeyLock = 1;
        CloseAndSave(app);
        return;
    }
    if (app.m_optionsCursor > 0 && app.p_AnyButtonDown({button_id::kUp, button_id::kLeft}) != 0) {
        SetCursor(app, app.m_optionsCursor - 1, lastRow);
        app.m_optionsKeyLock = 1;
        app.p_PlaySFX(sound_id::kTick, 1.0f);
        return;
    }
    if (app.m_optionsCursor < lastRow && app.p_AnyButtonDown({button_id::kDown, button_id::kRight}) != 0) {
        SetCursor(app, app.m_optionsCursor + 1, lastRow);
        app.m_optionsKeyLock = 1;
        app.p_PlaySFX(sound_id::kTick, 1.0f);
    }
}

}  // namespace

void c_MyApp::p_OpenOptions() {
    m_optionsOpen = 1;
    m_optionsCursor = 0;
}

int c_MyApp::p_OptionBox() {
    const int slide = (c_MyApp::kBoxFadeFrames - m_optionsFade) * kSlidePerFade;
    const float cx = static_cast<float>((m_optionsFade * 3 - 90) * 4 + 100);  // 100 once shown
    p_ResetDraw();
    if (kz_Tarvo_isOuya == 1) OverscanCorners(*this);

    m_keyLock = 1;
    m_touchLock = 1;
    if (m_optionsFade != c_MyApp::kBoxFadeFrames) LockOptions(*this);

    p_SetCol(150, 75, 0, 0.85f);
    p_Rect(50, static_cast<float>(slide), kz_Tarvo_jscrw - 100, kz_Tarvo_jscrh);
    if (BackCogPressed(*this, cx) && OptionsUnlocked(*this)) CloseAndSave(*this);
    DrawLabel(*this, cx + 76, kCogY, String("<[BACK]"), 0, 1);

    if (kz_Tarvo_isOuya == 1) OverscanSlider(*this);
    const int lastRow = OptionRows(*this);
    if (m_optionsKeyLock == 0) OptionKeys(*this, lastRow);

    if (m_touching == 0) m_optionsTouchLock = 0;
    if (p_AnyButtonHeld() == 0) m_optionsKeyLock = 0;
    p_ResetDraw();
    return 0;
}
