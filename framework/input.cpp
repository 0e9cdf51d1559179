#include "framework/input.h"

#include "host/kzgame.h"

namespace {

constexpr int kKeyHitQueueLength = 33;
constexpr int kCharQueueLength = 32;
constexpr int kSticks = 2;

bool IsKey(int key) { return key >= 1 && key < kKeyCount; }
bool IsFinger(int finger) { return finger >= 0 && finger < kTouches; }

// A joystick button's key code. The bits are combined, so out-of-range
// buttons or units give codes past the key space, which read as 0.
unsigned JoyKey(int button, int unit) {
    return static_cast<unsigned>(button) | kKeyJoyBase | static_cast<unsigned>(unit) * kJoyButtons;
}

void MarkInputRoots() { gc_mark_q(kz_input_device); }
const bool kRootsRegistered = (gc_add_roots(MarkInputRoots), true);

}  // namespace

c_InputDevice* kz_input_device = nullptr;

c_JoyState::c_JoyState() {
    gc_assign(m_joyX, Array<float>(kSticks));
    gc_assign(m_joyY, Array<float>(kSticks));
    gc_assign(m_joyZ, Array<float>(kSticks));
    gc_assign(m_buttons, Array<bool>(kJoyButtons));
}

void c_JoyState::mark() {
    gc_mark_q(m_joyX);
    gc_mark_q(m_joyY);
    gc_mark_q(m_joyZ);
    gc_mark_q(m_buttons);
}

c_InputDevice::c_InputDevice() {
    gc_assign(m_joyStates, Array<c_JoyState*>(kJoyPorts));
    gc_assign(m_keyDown, Array<bool>(kKeyCount));
    gc_assign(m_keyHitQueue, Array<int>(kKeyHitQueueLength));
    gc_assign(m_keyHits, Array<int>(kKeyCount));
    gc_assign(m_charQueue, Array<int>(kCharQueueLength));
    gc_assign(m_touchX, Array<float>(kTouches));
    gc_assign(m_touchY, Array<float>(kTouches));
}

c_InputDevice* c_InputDevice::m_new() {
    for (int port = 0; port < kJoyPorts; ++port) gc_assign(m_joyStates[port], (new c_JoyState())->m_new());
    return this;
}

void c_InputDevice::mark() {
    gc_mark_q(m_joyStates);
    gc_mark_q(m_keyDown);
    gc_mark_q(m_keyHitQueue);
    gc_mark_q(m_keyHits);
    gc_mark_q(m_charQueue);
    gc_mark_q(m_touchX);
    gc_mark_q(m_touchY);
}

int c_InputDevice::p_PutKeyHit(int key) {
    if (m_keyHitCount == m_keyHitQueue.Length() || !IsKey(key)) return 0;
    m_keyHits[key] += 1;
    m_keyHitQueue[m_keyHitCount] = key;
    m_keyHitCount += 1;
    return 0;
}

int c_InputDevice::p_KeyEvent(int event, int data) {
    switch (event) {
        case 1:
            if (!IsKey(data) || m_keyDown[data]) break;
            m_keyDown[data] = true;
            p_PutKeyHit(data);
            // The mouse's left button and the first touch are one input.
            if (data == kKeyMouseLeft) {
                m_keyDown[kKeyTouchBase] = true;
                p_PutKeyHit(kKeyTouchBase);
            } else if (data == kKeyTouchBase) {
                m_keyDown[kKeyMouseLeft] = true;
                p_PutKeyHit(kKeyMouseLeft);
            }
            break;
        case 2:
            if (!IsKey(data) || !m_keyDown[data]) break;
            m_keyDown[data] = false;
            if (data == kKeyMouseLeft) {
                m_keyDown[kKeyTouchBase] = false;
            } else if (data == kKeyTouchBase) {
                m_keyDown[kKeyMouseLeft] = false;
            }
            break;
        case 3:
            if (m_charPut < m_charQueue.Length()) {
                m_charQueue[m_charPut] = data;
                m_charPut += 1;
            }
            break;
        default: break;
    }
    return 0;
}

void c_InputDevice::SetTouchPosition(int finger, float x, float y) {
    m_touchX[finger] = x;
    m_touchY[finger] = y;
    if (finger == 0) {
        m_mouseX = x;
        m_mouseY = y;
    }
}

int c_InputDevice::p_MouseEvent(int event, int button, float x, float y) {
    switch (event) {
        case 4:
            p_KeyEvent(1, kKeyMouseLeft + button);
            SetTouchPosition(0, x, y);
            break;
        case 5: p_KeyEvent(2, kKeyMouseLeft + button); break;
        case 6: SetTouchPosition(0, x, y); break;
        default: break;
    }
    return 0;
}

int c_InputDevice::p_TouchEvent(int event, int finger, float x, float y) {
    if (!IsFinger(finger)) return 0;
    switch (event) {
        case 7:
            p_KeyEvent(1, kKeyTouchBase + finger);
            SetTouchPosition(finger, x, y);
            break;
        case 8: p_KeyEvent(2, kKeyTouchBase + finger); break;
        case 9: SetTouchPosition(finger, x, y); break;
        default: break;
    }
    return 0;
}

int c_InputDevice::p_MotionEvent(int event, int, float x, float y, float z) {
    if (event == 10) {
        m_accelX = x;
        m_accelY = y;
        m_accelZ = z;
    }
    return 0;
}

// Joystick buttons bypass key events: a poll sets and clears them directly,
// and a release produces no event.
void c_InputDevice::PollJoystickButtons(int port) {
    const Array<bool>& buttons = m_joyStates[port]->m_buttons;
    for (int b = 0; b < kJoyButtons; ++b) {
        const int key = kKeyJoyBase + kJoyButtons * port + b;
        if (buttons[b] && !m_keyDown[key]) {
            m_keyDown[key] = true;
            p_PutKeyHit(key);
        } else if (!buttons[b]) {
            m_keyDown[key] = false;
        }
    }
}

int c_InputDevice::p_BeginUpdate() {
    // Ports are polled in order up to the first absent one.
    for (int port = 0; port < kJoyPorts; ++port) {
        c_JoyState* state = m_joyStates[port];
        if (!KzGame::_game->PollJoystick(port, state->m_joyX, state->m_joyY, state->m_joyZ, state->m_buttons)) {
            break;
        }
        PollJoystickButtons(port);
    }
    return 0;
}

int c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < m_keyHitCount; ++i) m_keyHits[m_keyHitQueue[i]] = 0;
    m_keyHitCount = 0;
    m_charGet = 0;
    m_charPut = 0;
    return 0;
}

int c_InputDevice::p_KeyDown(int key) { return IsKey(key) && m_keyDown[key] ? 1 : 0; }
int c_InputDevice::p_KeyHit(int key) { return IsKey(key) ? m_keyHits[key] : 0; }

int c_InputDevice::p_GetChar() {
    if (m_charGet == m_charPut) return 0;
    const int character = m_charQueue[m_charGet];
    m_charGet += 1;
    return character;
}

float c_InputDevice::p_MouseX() { return m_mouseX; }
float c_InputDevice::p_MouseY() { return m_mouseY; }
float c_InputDevice::p_TouchX(int finger) { return IsFinger(finger) ? m_touchX[finger] : 0; }
float c_InputDevice::p_TouchY(int finger) { return IsFinger(finger) ? m_touchY[finger] : 0; }

float c_InputDevice::p_JoyX(int index, int unit) {
    if (index < 0 || index >= kSticks || unit < 0 || unit >= kJoyPorts) return 0;
    return m_joyStates[unit]->m_joyX[index];
}

float c_InputDevice::p_JoyY(int index, int unit) {
    if (index < 0 || index >= kSticks || unit < 0 || unit >= kJoyPorts) return 0;
    return m_joyStates[unit]->m_joyY[index];
}

float c_InputDevice::p_AccelX() { return m_accelX; }
float c_InputDevice::p_AccelY() { return m_accelY; }

int c_InputDevice::p_SetKeyboardEnabled(bool enabled) {
    KzGame::_game->SetKeyboardEnabled(enabled);
    return 1;
}

int kz_input_SetInputDevice(c_InputDevice* device) {
    gc_assign(kz_input_device, device);
    return 0;
}

int kz_input_KeyDown(int key) { return kz_input_device->p_KeyDown(key); }
int kz_input_KeyHit(int key) { return kz_input_device->p_KeyHit(key); }

int kz_input_MouseDown(int button) {
    if (button < 0 || button > 510) return 0;
    return kz_input_device->p_KeyDown(kKeyMouseLeft + button);
}

int kz_input_MouseHit(int button) {
    if (button < 0 || button > 510) return 0;
    return kz_input_device->p_KeyHit(kKeyMouseLeft + button);
}

int kz_input_TouchDown(int finger) {
    if (finger < -383 || finger > 127) return 0;
    return kz_input_device->p_KeyDown(kKeyTouchBase + finger);
}

float kz_input_TouchX(int finger) { return kz_input_device->p_TouchX(finger); }
float kz_input_TouchY(int finger) { return kz_input_device->p_TouchY(finger); }
float kz_input_MouseX() { return kz_input_device->m_mouseX; }
float kz_input_MouseY() { return kz_input_device->m_mouseY; }

int kz_input_JoyDown(int button, int unit) {
    const unsigned key = JoyKey(button, unit);
    return key < kKeyCount ? kz_input_device->p_KeyDown(static_cast<int>(key)) : 0;
}

int kz_input_JoyHit(int button, int unit) {
    const unsigned key = JoyKey(button, unit);
    return key < kKeyCount ? kz_input_device->p_KeyHit(static_cast<int>(key)) : 0;
}

float kz_input_JoyX(int index, int unit) { return kz_input_device->p_JoyX(index, unit); }
float kz_input_JoyY(int index, int unit) { return kz_input_device->p_JoyY(index, unit); }
float kz_input_AccelX() { return kz_input_device->m_accelX; }
float kz_input_AccelY() { return kz_input_device->m_accelY; }
int kz_input_GetChar() { return kz_input_device->p_GetChar(); }

int kz_input_EnableKeyboard() {
    KzGame::_game->SetKeyboardEnabled(true);
    return 1;
}

int kz_input_DisableKeyboard() {
    KzGame::_game->SetKeyboardEnabled(false);
    return 1;
}
