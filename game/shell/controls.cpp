// The controls: every physical source (keyboard, joysticks with their sticks,
// an iCade cabinet typing letters, on-screen buttons) read as logical buttons
// per player; the pointer and touches in virtual units; the consumption locks
// and the back button; the hit tests of on-screen buttons; and the on-screen
// pad and tilt indicator of touch platforms.
#include <cstdint>

#include "framework/input.h"
#include "game/screens/kit.h"

namespace {

constexpr float kStickThreshold = 0.4f;
constexpr int kPlayers = 4;

enum class Stick { kNone, kUp, kLeft, kRight, kDown };

// The sources of one logical button. Letters (and the backquote key) are
// read only while iCade decoding is off, because an iCade types them. Each
// list ends at the first kEnd.
constexpr int kEnd = -1;
struct ButtonSources {
    int button;
    int keys[3];
    int letters[2];
    int joyButtons[3];
    Stick stick;
    int screenButtons[3];
};

constexpr ButtonSources kButtonTable[] = {
    {button_id::kUp, {38, kEnd}, {87, kEnd}, {9, kEnd}, Stick::kUp, {button_id::kUp, kEnd}},
    {button_id::kLeft, {37, kEnd}, {65, kEnd}, {8, kEnd}, Stick::kLeft, {button_id::kLeft, kEnd}},
    {button_id::kRight, {39, kEnd}, {68, kEnd}, {10, kEnd}, Stick::kRight, {button_id::kRight, kEnd}},
    {button_id::kDown, {40, kEnd}, {83, kEnd}, {11, kEnd}, Stick::kDown, {button_id::kDown, kEnd}},
    {button_id::kAction1, {32, 13, kEnd}, {90, 74}, {0, kEnd}, Stick::kNone, {button_id::kAction1, kEnd}},
    {button_id::kAction2, {17, kEnd}, {88, 75}, {1, kEnd}, Stick::kNone, {button_id::kAction2, kEnd}},
    {button_id::kAction3, {16, kEnd}, {67, 76}, {2, kEnd}, Stick::kNone, {button_id::kAction3, kEnd}},
    {button_id::kAction4, {kEnd}, {86, 73}, {3, kEnd}, Stick::kNone, {button_id::kAction4, kEnd}},
    {button_id::kAction5, {kEnd}, {66, 85}, {4, kEnd}, Stick::kNone, {button_id::kAction5, kEnd}},
    {button_id::kAction6, {kEnd}, {78, 79}, {5, kEnd}, Stick::kNone, {button_id::kAction6, kEnd}},
    // An iCade has two back buttons of its own.
    {button_id::kBack, {27, 46, 8}, {192, kEnd}, {6, 7, 14}, Stick::kNone,
     {button_id::kICadeBack, button_id::kICadeBack2, button_id::kBackKeySlot}},
};

// Every logical button, in the order the lock bookkeeping looks for a press.
constexpr int kLockButtons[] = {button_id::kUp,      button_id::kLeft,    button_id::kRight,   button_id::kDown,
                                button_id::kAction1, button_id::kAction2, button_id::kAction3, button_id::kAction4,
                                button_id::kAction5, button_id::kAction6, button_id::kBack};

template <int N>
bool AnyKeyDown(const int (&keys)[N], int codeBase = 0) {
    for (int key : keys) {
        if (key == kEnd) break;
        if (kz_input_KeyDown(codeBase + key) != 0) return true;
    }
    return false;
}

template <int N>
bool AnyHeld(const Array<int>& buttons, const int (&indexes)[N]) {
    for (int index : indexes) {
        if (index == kEnd) break;
        if (buttons[index] != 0) return true;
    }
    return false;
}

bool StickPushed(Stick stick, int player) {
    switch (stick) {
        case Stick::kUp: return kz_input_JoyY(0, player) > kStickThreshold;
        case Stick::kLeft: return kz_input_JoyX(0, player) < -kStickThreshold;
        case Stick::kRight: return kz_input_JoyX(0, player) > kStickThreshold;
        case Stick::kDown: return kz_input_JoyY(0, player) < -kStickThreshold;
        case Stick::kNone: return false;
    }
    return false;
}

const ButtonSources* FindButton(int button) {
    for (const ButtonSources& sources : kButtonTable) {
        if (sources.button == button) return &sources;
    }
    return nullptr;
}

// The iCade's press and release letters for each m_buttons entry.
struct ICadeLetters {
    char press, release;
    int index;
};
constexpr ICadeLetters kICadeLetters[] = {
    {'W', 'E', button_id::kUp},      {'X', 'Z', button_id::kDown},    {'A', 'Q', button_id::kLeft},
    {'D', 'C', button_id::kRight},   {'H', 'R', button_id::kAction1}, {'J', 'N', button_id::kAction2},
    {'K', 'P', button_id::kAction3}, {'Y', 'T', button_id::kAction4}, {'U', 'F', button_id::kAction5},
    {'I', 'M', button_id::kAction6}, {'O', 'G', button_id::kICadeBack}, {'L', 'V', button_id::kICadeBack2},
};

int UpperCase(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

// Screen pixels to virtual units.
int ToVirtual(float screen, float offset, float scale) { return TruncToInt((screen - offset) / scale); }

// Upper bounds are the screen's, stored truncated to whole units.
int ClampSetting(int value, int low, float high) {
    return TruncToInt(Clamp(static_cast<float>(value), static_cast<float>(low), high));
}

}  // namespace

int c_MyApp::p_PlayKey(int button, int useStick, int player) {
    const int iCade = kz_Tarvo_iCadeControls;
    if ((iCade != 0 && iCade != 1) || player < -1) return 0;
    if (button == button_id::kBack && iCade == 0) {
        if (kz_Tarvo_isOuya == 1) return m_buttons[button_id::kBackKeySlot];
        if (kz_Tarvo_isOuya != 0) return 0;
    }
    if (player == -1 && iCade == 1 && button >= button_id::kAction4 && button <= button_id::kAction6) {
        return m_buttons[button];
    }

    const ButtonSources* sources = FindButton(button);
    if (sources == nullptr) return 0;
    const bool joystick = player >= 0 && player < kPlayers;
    const bool down = AnyKeyDown(sources->keys) || (iCade == 0 && AnyKeyDown(sources->letters)) ||
                      (joystick && AnyKeyDown(sources->joyButtons, kKeyJoyBase + kJoyButtons * player)) ||
                      (joystick && iCade == 0 && useStick == 1 && StickPushed(sources->stick, player)) ||
                      AnyHeld(m_buttons, sources->screenButtons);
    return down ? 1 : 0;
}

int c_MyApp::p_PlayKeyAll(int button, int useStick) {
    int sum = 0;
    for (int player = 0; player < kPlayers; ++player) sum += p_PlayKey(button, useStick, player);
    return sum;
}

// Looks in the order given and stops at the first button down.
int c_MyApp::p_AnyButtonDown(std::initializer_list<int> buttons) {
    for (int button : buttons) {
        if (p_PlayKeyAll(button, 1) != 0) return 1;
    }
    return 0;
}

int c_MyApp::p_AnyButtonHeld() {
    for (int button : kLockButtons) {
        if (p_PlayKeyAll(button, 1) != 0) return 1;
    }
    return 0;
}

int c_MyApp::p_iCade(int on) {
    if (on == 1) {
        kz_input_EnableKeyboard();
        kz_Tarvo_iCadeControls = 1;
        while (kz_input_GetChar() != 0) {
        }
    } else if (on == 0) {
        kz_input_DisableKeyboard();
        kz_Tarvo_iCadeControls = 0;
        for (m_i = 0; m_i < button_id::kPressSlots; ++m_i) m_buttons[m_i] = 0;
    }
    return 0;
}

// An iCade holds a button (2) from its press letter until its release letter.
int c_MyApp::p_DecodeICade() {
    while (const int c = kz_input_GetChar()) {
        if (c < 0) continue;
        const int letter = UpperCase(c);
        for (const ICadeLetters& entry : kICadeLetters) {
            if (letter == entry.press) m_buttons[entry.index] = 2;
            if (letter == entry.release) m_buttons[entry.index] = 0;
        }
    }
    m_i = 0;
    return 0;
}

// The pointer and every finger in virtual units. The mouse's left button is
// finger 0, so a click works every on-screen button.
int c_MyApp::p_SampleInput() {
    const float ox = kz_Tarvo_overscan;
    const int deviceWidth = kz_app_DeviceWidth();
    // An iconified window has no size; it then keeps no vertical overscan.
    const float oy = deviceWidth > 0 ? static_cast<float>(kz_app_DeviceHeight()) / deviceWidth * ox : 0;

    m_prevMouseX = m_mouseX;
    m_prevMouseY = m_mouseY;
    m_mouseX = ToVirtual(kz_input_MouseX(), ox, m_scaleX);
    m_mouseY = ToVirtual(kz_input_MouseY(), oy, m_scaleY);
    const int down = kz_input_KeyDown(kKeyMouseLeft);
    if (m_mouseWasDown == 0 && down != 0) {
        // A new press starts without movement.
        m_prevMouseX = m_mouseX;
        m_prevMouseY = m_mouseY;
    }
    m_touching = down;
    m_mouseHits = kz_input_KeyHit(kKeyMouseLeft);

    for (m_i = 0; m_i < kFingers; ++m_i) {
        m_touchDown[m_i] = 0;
        m_touchX[m_i] = static_cast<int>(kNoValue);
        m_touchY[m_i] = static_cast<int>(kNoValue);
        if (kz_input_TouchDown(m_i) != 0) {
            m_touchDown[m_i] = 1;
            m_touchX[m_i] = ToVirtual(kz_input_TouchX(m_i), ox, m_scaleX);
            m_touchY[m_i] = ToVirtual(kz_input_TouchY(m_i), oy, m_scaleY);
            m_touching = 1;
        }
    }
    m_mouseWasDown = down;
    if (m_touching == 0) m_touchLock = 0;
    return 0;
}

// The locks clear when their press ends. Back on the title closes the
// credits and badges boxes; the options box closes itself and, while open,
// keeps both locks set so that the screens below it never act.
int c_MyApp::p_UpdateLocks() {
    if (p_AnyButtonHeld() == 0) m_keyLock = 0;

    if (m_keyLock == 0 && m_touchLock == 0 && BoxOpen(*this) && m_mode == screen_mode::kTitle && p_PlayKeyAll(button_id::kBack, 1) != 0) {
        m_creditsOpen = 0;
        m_badgesOpen = 0;
        m_keyLock = 1;
        m_touchLock = 1;
    }
    if (m_optionsOpen == 1) {
        m_keyLock = 1;
        m_touchLock = 1;
    }
    return 0;
}

namespace {

// Half the drawn size of a frame of `image` in virtual units; an id outside
// the image slots has no size, so nothing can hit it.
void FrameHalfSize(const c_MyApp& app, int image, float* halfWidth, float* halfHeight) {
    *halfWidth = 0;
    *halfHeight = 0;
    if (image < 0 || image >= image_id::kSlots) return;
    const float width = static_cast<float>(app.m_imageInfo[image_info::Index(image, image_info::kFrameWidth)]);
    const float height = static_cast<float>(app.m_imageInfo[image_info::Index(image, image_info::kFrameHeight)]);
    *halfWidth = width * app.m_hdScale * app.m_sizeX * 0.5f;
    *halfHeight = height * app.m_hdScale * app.m_sizeY * 0.5f;
}

// Strictly inside the box from (left, top) to (right, bottom).
bool Inside(int px, int py, float left, float top, float right, float bottom) {
    const float x = static_cast<float>(px);
    const float y = static_cast<float>(py);
    return left < x && x < right && top < y && y < bottom;
}

}  // namespace

int c_MyApp::p_Button(int image, float x, float y, int frame) {
    p_DrawImg(image, x, y, static_cast<float>(frame));
    float hw, hh;
    FrameHalfSize(*this, image, &hw, &hh);
    m_buttonHit = 0;
    for (int i = 0; i < kFingers; ++i) {
        if (Inside(m_touchX[i], m_touchY[i], x - hw, y - hh, x + hw, y + hh) && m_touching >= 1) m_buttonHit = 1;
    }
    return m_buttonHit;
}

int c_MyApp::p_Button0(int image, float x, float y, int frame) {
    p_DrawImg(image, x, y, static_cast<float>(frame));
    float hw, hh;
    FrameHalfSize(*this, image, &hw, &hh);
    return Inside(m_touchX[0], m_touchY[0], x - hw, y - hh, x + hw, y + hh) && m_touching > 0 ? 1 : 0;
}

// The box is generous: 6 more on the left and top, 12 on the right and bottom.
int c_MyApp::p_Touch(float x, float y, float w, float h) {
    p_Rect(x, y, w, h);
    for (int i = 0; i < kFingers; ++i) {
        if (m_touchDown[i] != 0 && Inside(m_touchX[i], m_touchY[i], x - 6, y - 6, x + w + 12, y + h + 12)) return 1;
    }
    return 0;
}

int c_MyApp::p_MouseIn_Centered(float x, float y, float w, float h) {
    for (int i = 0; i < kFingers; ++i) {
        if (m_touchDown[i] != 0 && Inside(m_touchX[i], m_touchY[i], x - w / 2, y - h / 2, x + w / 2, y + h / 2)) {
            return 1;
        }
    }
    return 0;
}

// The on-screen pad and two fire buttons. While the game is paused the pad
// ignores presses and can instead be dragged with one finger and resized by
// pinching with two; the layout lives in the saved settings.
int c_MyApp::p_OnScreenControls() {
    m_settings[setting::kPadX] = ClampSetting(m_settings[setting::kPadX], 32, kz_Tarvo_jscrw - 32);
    m_settings[setting::kPadHeight] = ClampSetting(m_settings[setting::kPadHeight], 32, kz_Tarvo_jscrh - 32);
    m_settings[setting::kPadSize] = ClampSetting(m_settings[setting::kPadSize], 8, 25);
    m_padX = m_settings[setting::kPadX];
    m_padY = TruncToInt(kz_Tarvo_jscrh - static_cast<float>(m_settings[setting::kPadHeight]));
    m_padScale = static_cast<float>(m_settings[setting::kPadSize]) / 10.0f;

    p_SetRot(0);
    p_SetCol(255, 255, 255, 0.6f);
    m_blend = 1;
    p_SetSize(m_padScale, m_padScale);
    const float s = m_padScale * 32;
    const float px = static_cast<float>(m_padX);
    const float py = static_cast<float>(m_padY);
    struct Direction {
        float x, y;
        int frame, index;
    };
    const Direction directions[] = {{px - s, py, pad_frame::kLeft, button_id::kLeft},
                                    {px, py - s, pad_frame::kUp, button_id::kUp},
                                    {px, py + s, pad_frame::kDown, button_id::kDown},
                                    {px + s, py, pad_frame::kRight, button_id::kRight}};
    for (const Direction& d : directions) {
        if (p_Button(image_id::kPad, d.x, d.y, d.frame) != 0 && m_paused == 0) m_buttons[d.index] = 1;
    }
    p_DrawImg(image_id::kPad, px, py, pad_frame::kCentre);

    if (m_paused > 0) p_ArrangePad();

    p_SetSize(m_padScale * 1.5f, m_padScale * 1.5f);
    const float f = m_padScale * 24;
    if (p_Button(image_id::kPad, kz_Tarvo_jscrw - (px - f), py - f, pad_frame::kFire) != 0) m_buttons[button_id::kAction1] = 1;
    if (p_Button(image_id::kPad, kz_Tarvo_jscrw - (px + f), py + f, pad_frame::kFire) != 0) m_buttons[button_id::kAction2] = 1;
    return 0;
}

// Drag with finger 0 alone; pinch with fingers 0 and 1. The previous spread
// and whether a pinch is under way are kept in gameplay scratch fields, which
// are free while the game is paused.
int c_MyApp::p_ArrangePad() {
    p_SetSize(3.0f, 3.0f);
    const float px = static_cast<float>(m_padX);
    const float py = static_cast<float>(m_padY);
    if (p_Button0(image_id::kPad, px, py, pad_frame::kFire) != 0 && m_touchDown[1] == 0) {
        m_settings[setting::kPadX] = m_touchX[0];
        m_settings[setting::kPadHeight] = TruncToInt(kz_Tarvo_jscrh - static_cast<float>(m_touchY[0]));
    }
    const int64_t gap = static_cast<int64_t>(m_touchX[0]) - m_touchX[1];
    m_dir = static_cast<int>((gap < 0 ? -gap : gap) / 16);
    if (m_touchDown[0] != 0 && m_touchDown[1] != 0) {
        if (m_k == 1) m_settings[setting::kPadSize] += m_dir - m_moved;
        m_k = 1;
        m_moved = m_dir;
    } else if (m_touchDown[1] == 0) {
        m_k = 0;
    }
    return 0;
}

// A dot that follows the smoothed tilt around the calibrate button, which
// takes the present tilt as the rest position.
int c_MyApp::p_TiltIndicator() {
    p_SetRot(0);
    p_SetCol(255, 255, 255, 0.8f);
    m_blend = 1;
    p_SetSize(1.5f, 1.5f);
    const float tx = kz_input_AccelX() - m_accelZeroX;
    const float ty = kz_input_AccelY() - m_accelZeroY;
    m_tiltSmoothX += (tx - m_tiltSmoothX) * 0.25f;
    m_tiltSmoothY += (ty - m_tiltSmoothY) * 0.25f;
    if (kz_math_Abs2(m_tiltSmoothX - tx) < 0.005f) m_tiltSmoothX = tx;
    if (kz_math_Abs2(m_tiltSmoothY - ty) < 0.005f) m_tiltSmoothY = ty;

    if (p_Button(image_id::kIcons, 24, kz_Tarvo_jscrh - 24, icon_frame::kCalibrate) != 0) {
        m_accelZeroX = kz_input_AccelX();
        m_accelZeroY = kz_input_AccelY();
    }
    p_SetCol(100, 255, 100, 0.6f);
    p_SetSize(1.0f, 1.0f);
    p_Oval(m_tiltSmoothX * 20 + 24, m_tiltSmoothY * 20 + kz_Tarvo_jscrh - 24, 4, 4);
    return 0;
}
