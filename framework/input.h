// The input device: what the game reads during an update (keys, mouse
// buttons, joystick buttons and touches as one space of key codes, their hits
// since the last update, typed characters, pointer, accelerometer and
// joystick axes), and the input module's functions over the installed device.
#pragma once

#include "runtime/runtime.h"

constexpr int kKeyCount = 512;
constexpr int kKeyMouseLeft = 1;
constexpr int kKeyJoyBase = 256;
constexpr int kKeyTouchBase = 384;
constexpr int kJoyPorts = 4;
constexpr int kJoyButtons = 32;
constexpr int kTouches = 32;

class c_JoyState : public Object {
public:
    Array<float> m_joyX;
    Array<float> m_joyY;
    Array<float> m_joyZ;
    Array<bool> m_buttons;

    c_JoyState();
    c_JoyState* m_new() { return this; }
    void mark() override;
};

class c_InputDevice : public Object {
public:
    Array<c_JoyState*> m_joyStates;
    Array<bool> m_keyDown;
    int m_keyHitCount = 0;
    Array<int> m_keyHitQueue;
    Array<int> m_keyHits;
    int m_charGet = 0;
    int m_charPut = 0;
    Array<int> m_charQueue;
    float m_mouseX = 0;
    float m_mouseY = 0;
    Array<float> m_touchX;
    Array<float> m_touchY;
    float m_accelX = 0;
    float m_accelY = 0;
    float m_accelZ = 0;

    c_InputDevice();
    c_InputDevice* m_new();
    void mark() override;

    int p_PutKeyHit(int key);
    int p_KeyEvent(int event, int data);
    int p_MouseEvent(int event, int button, float x, float y);
    int p_TouchEvent(int event, int finger, float x, float y);
    int p_MotionEvent(int event, int data, float x, float y, float z);
    int p_BeginUpdate();
    int p_EndUpdate();
    int p_KeyDown(int key);
    int p_KeyHit(int key);
    int p_GetChar();
    float p_MouseX();
    float p_MouseY();
    float p_TouchX(int finger);
    float p_TouchY(int finger);
    float p_JoyX(int index, int unit);
    float p_JoyY(int index, int unit);
    float p_AccelX();
    float p_AccelY();
    int p_SetKeyboardEnabled(bool enabled);

private:
    void SetTouchPosition(int finger, float x, float y);
    void PollJoystickButtons(int port);
};

extern c_InputDevice* kz_input_device;

int kz_input_SetInputDevice(c_InputDevice* device);
int kz_input_KeyDown(int key);
int kz_input_KeyHit(int key);
int kz_input_MouseDown(int button);
int kz_input_MouseHit(int button);
int kz_input_TouchDown(int finger);
float kz_input_TouchX(int finger);
float kz_input_TouchY(int finger);
float kz_input_MouseX();
float kz_input_MouseY();
int kz_input_JoyDown(int button, int unit);
int kz_input_JoyHit(int button, int unit);
float kz_input_JoyX(int index, int unit);
float kz_input_JoyY(int index, int unit);
float kz_input_AccelX();
float kz_input_AccelY();
int kz_input_GetChar();
int kz_input_EnableKeyboard();
int kz_input_DisableKeyboard();
