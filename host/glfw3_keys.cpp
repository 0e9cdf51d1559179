#include "host/glfw3_keys.h"

#include <GLFW/glfw3.h>

#include "host/glfw_facade.h"

namespace glfw2 {

namespace {

struct KeyPair {
    int glfw3;
    int classic;
};

// Keys outside the printable range, which both number alike.
const KeyPair kSpecialKeys[] = {
    {GLFW_KEY_ESCAPE, KEY_ESC},
    {GLFW_KEY_ENTER, KEY_ENTER},
    {GLFW_KEY_TAB, KEY_TAB},
    {GLFW_KEY_BACKSPACE, KEY_BACKSPACE},
    {GLFW_KEY_INSERT, KEY_INSERT},
    {GLFW_KEY_DELETE, KEY_DEL},
    {GLFW_KEY_RIGHT, KEY_RIGHT},
    {GLFW_KEY_LEFT, KEY_LEFT},
    {GLFW_KEY_DOWN, KEY_DOWN},
    {GLFW_KEY_UP, KEY_UP},
    {GLFW_KEY_PAGE_UP, KEY_PAGEUP},
    {GLFW_KEY_PAGE_DOWN, KEY_PAGEDOWN},
    {GLFW_KEY_HOME, KEY_HOME},
    {GLFW_KEY_END, KEY_END},
    {GLFW_KEY_CAPS_LOCK, KEY_CAPS_LOCK},
    {GLFW_KEY_SCROLL_LOCK, KEY_SCROLL_LOCK},
    {GLFW_KEY_NUM_LOCK, KEY_KP_NUM_LOCK},
    {GLFW_KEY_PAUSE, KEY_PAUSE},
    {GLFW_KEY_KP_DECIMAL, KEY_KP_DECIMAL},
    {GLFW_KEY_KP_DIVIDE, KEY_KP_DIVIDE},
    {GLFW_KEY_KP_MULTIPLY, KEY_KP_MULTIPLY},
    {GLFW_KEY_KP_SUBTRACT, KEY_KP_SUBTRACT},
    {GLFW_KEY_KP_ADD, KEY_KP_ADD},
    {GLFW_KEY_KP_ENTER, KEY_KP_ENTER},
    {GLFW_KEY_KP_EQUAL, KEY_KP_EQUAL},
    {GLFW_KEY_LEFT_SHIFT, KEY_LSHIFT},
    {GLFW_KEY_LEFT_CONTROL, KEY_LCTRL},
    {GLFW_KEY_LEFT_ALT, KEY_LALT},
    {GLFW_KEY_LEFT_SUPER, KEY_LSUPER},
    {GLFW_KEY_RIGHT_SHIFT, KEY_RSHIFT},
    {GLFW_KEY_RIGHT_CONTROL, KEY_RCTRL},
    {GLFW_KEY_RIGHT_ALT, KEY_RALT},
    {GLFW_KEY_RIGHT_SUPER, KEY_RSUPER},
    {GLFW_KEY_MENU, KEY_MENU},
};

constexpr int kFunctionKeys = KEY_F25 - KEY_F1 + 1;
constexpr int kKeypadDigits = 10;

bool IsPrintable(int key) { return key >= GLFW_KEY_SPACE && key <= GLFW_KEY_GRAVE_ACCENT; }

}  // namespace

int KeyFromGlfw3(int glfw3_key) {
    if (IsPrintable(glfw3_key)) return glfw3_key;
    if (glfw3_key >= GLFW_KEY_F1 && glfw3_key < GLFW_KEY_F1 + kFunctionKeys) return KEY_F1 + glfw3_key - GLFW_KEY_F1;
    if (glfw3_key >= GLFW_KEY_KP_0 && glfw3_key < GLFW_KEY_KP_0 + kKeypadDigits) return KEY_KP_0 + glfw3_key - GLFW_KEY_KP_0;
    for (const KeyPair& pair : kSpecialKeys) {
        if (pair.glfw3 == glfw3_key) return pair.classic;
    }
    return KEY_UNKNOWN;
}

int KeyToGlfw3(int classic_key) {
    if (IsPrintable(classic_key)) return classic_key;
    if (classic_key >= KEY_F1 && classic_key <= KEY_F25) return GLFW_KEY_F1 + classic_key - KEY_F1;
    if (classic_key >= KEY_KP_0 && classic_key < KEY_KP_0 + kKeypadDigits) return GLFW_KEY_KP_0 + classic_key - KEY_KP_0;
    for (const KeyPair& pair : kSpecialKeys) {
        if (pair.classic == classic_key) return pair.glfw3;
    }
    return GLFW_KEY_UNKNOWN;
}

}  // namespace glfw2
