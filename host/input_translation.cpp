// Window-system input in the program's vocabulary: key codes, characters for
// editing keys, mouse events and joystick state.
#include <algorithm>
#include <array>

#include "host/glfw_facade.h"
#include "host/kzglfwgame.h"

namespace {

constexpr int kTableFirst = 32;
constexpr int kTableLast = 316;
constexpr int kCharKeyBit = 0x10000;
constexpr int kDeleteChar = 127;

struct KeyMapping {
    int glfwKey;
    int key;
};

// Keys other than digits and letters; every code not listed is ignored.
constexpr KeyMapping kKeyMappings[] = {
    {glfw2::KEY_SPACE, 32},
    {'"', 222}, {'\'', 222},
    {',', 188}, {'-', 189}, {'.', 190}, {'/', 191},
    {';', 186}, {'=', 187},
    {'[', 219}, {'\\', 220}, {']', 221},
    {'`', 192}, {'~', 192},
    {glfw2::KEY_ESC, 27},
    {glfw2::KEY_UP, 38}, {glfw2::KEY_DOWN, 40}, {glfw2::KEY_LEFT, 37}, {glfw2::KEY_RIGHT, 39},
    {glfw2::KEY_LSHIFT, 16}, {glfw2::KEY_RSHIFT, 16},
    {glfw2::KEY_LCTRL, 17}, {glfw2::KEY_RCTRL, 17},
    {glfw2::KEY_TAB, 9}, {glfw2::KEY_ENTER, 13}, {glfw2::KEY_BACKSPACE, 8},
    {glfw2::KEY_INSERT, 45}, {glfw2::KEY_DEL, 46},
    {glfw2::KEY_PAGEUP, 33}, {glfw2::KEY_PAGEDOWN, 34},
    {glfw2::KEY_HOME, 36}, {glfw2::KEY_END, 35},
    {glfw2::KEY_KP_DIVIDE, 111}, {glfw2::KEY_KP_MULTIPLY, 106}, {glfw2::KEY_KP_SUBTRACT, 109},
    {glfw2::KEY_KP_ADD, 107}, {glfw2::KEY_KP_DECIMAL, 110},
};

constexpr int kFunctionKeys = 12;  // F1-F12 become 112-123
constexpr int kKeypadDigits = 10;  // keypad 0-9 become 96-105

using KeyTable = std::array<unsigned char, kTableLast - kTableFirst + 1>;

KeyTable BuildKeyTable() {
    KeyTable table{};
    for (const KeyMapping& m : kKeyMappings) table[m.glfwKey - kTableFirst] = static_cast<unsigned char>(m.key);
    for (int i = 0; i < kFunctionKeys; ++i) table[glfw2::KEY_F1 + i - kTableFirst] = static_cast<unsigned char>(112 + i);
    for (int i = 0; i < kKeypadDigits; ++i) table[glfw2::KEY_KP_0 + i - kTableFirst] = static_cast<unsigned char>(96 + i);
    return table;
}

const KeyTable kKeyTable = BuildKeyTable();

constexpr int kJoystickAxes = 6;
constexpr int kJoystickButtons = 32;
constexpr int kRemappedFrom = 12;  // pads with more buttons move their last four to 8-11

}  // namespace

int KzGlfwGame::TransKey(int glfwKey) {
    if ((glfwKey >= '0' && glfwKey <= '9') || (glfwKey >= 'A' && glfwKey <= 'Z')) return glfwKey;
    if (glfwKey < kTableFirst || glfwKey > kTableLast) return 0;
    return kKeyTable[glfwKey - kTableFirst];
}

int KzGlfwGame::KeyToChar(int key) {
    switch (key) {
        case 8: case 9: case 13: case 27: return key;
        case 33: case 34: case 35: case 36: case 37: case 38: case 39: case 40: case 45:
            return key | kCharKeyBit;
        case 46: return kDeleteChar;
        default: return 0;
    }
}

void KzGlfwGame::OnKey(int glfwKey, int action) {
    const int key = TransKey(glfwKey);
    if (key == 0) return;
    if (action == glfw2::RELEASE) {
        _game->KeyEvent(kEventKeyUp, key);
    } else if (action == glfw2::PRESS) {
        _game->KeyEvent(kEventKeyDown, key);
        if (const int character = KeyToChar(key)) _game->KeyEvent(kEventKeyChar, character);
    }
}

void KzGlfwGame::OnChar(int character, int action) {
    if (action == glfw2::PRESS) _game->KeyEvent(kEventKeyChar, character);
}

void KzGlfwGame::OnMouseButton(int button, int action) {
    if (button < glfw2::MOUSE_BUTTON_LEFT || button > glfw2::MOUSE_BUTTON_MIDDLE) return;
    int x = 0, y = 0;
    glfw2::glfwGetMousePos(&x, &y);
    if (action == glfw2::RELEASE) {
        _game->MouseEvent(kEventMouseUp, button, static_cast<float>(x), static_cast<float>(y));
    } else if (action == glfw2::PRESS) {
        _game->MouseEvent(kEventMouseDown, button, static_cast<float>(x), static_cast<float>(y));
    }
}

void KzGlfwGame::OnMousePos(int x, int y) {
    _game->MouseEvent(kEventMouseMove, -1, static_cast<float>(x), static_cast<float>(y));
}

bool KzGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    if (!glfw2::glfwGetJoystickParam(port, glfw2::PRESENT)) return false;
    // The arrays are a joystick state's: two sticks, 32 buttons.
    if (joyx.Length() < 2 || joyy.Length() < 2 || joyz.Length() < 2 || buttons.Length() < kJoystickButtons) {
        return false;
    }

    float axes[kJoystickAxes] = {};
    const int n_axes = glfw2::glfwGetJoystickPos(port, axes, kJoystickAxes);
    joyx[0] = axes[0];
    joyy[0] = axes[1];
    joyz[0] = axes[2];
    joyx[1] = axes[3];
    joyy[1] = axes[4];
    joyz[1] = axes[5];

    unsigned char state[kJoystickButtons] = {};
    const int n_buttons = glfw2::glfwGetJoystickButtons(port, state, kJoystickButtons);
    const auto pressed = [&](int b) { return state[b] == glfw2::PRESS; };
    if (n_buttons > kRemappedFrom) {
        for (int b = 0; b < 8; ++b) buttons[b] = pressed(b);
        for (int i = 0; i < 4; ++i) buttons[8 + i] = pressed(n_buttons - 4 + i);
        for (int b = 8; b < n_buttons - 4; ++b) buttons[b + 4] = pressed(b);
    } else {
        for (int b = 0; b < n_buttons; ++b) buttons[b] = pressed(b);
    }

    // Corrections for two known pads whose second stick reports oddly.
    if (n_buttons == 14 && n_axes == 5) {
        joyx[1] = axes[4];
        joyy[1] = -axes[3];
    } else if (n_buttons == 18 && n_axes == 4) {
        joyy[1] = -joyz[0];
    }
    return true;
}
