// A game object reading a real input device, fed through the device's own
// event calls, with the platform switches restored after each test.
#pragma once

#include <gtest/gtest.h>

#include "framework/app.h"
#include "framework/input.h"
#include "game/myapp.h"

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        device = (new c_InputDevice())->m_new();
        kz_input_SetInputDevice(device);
        kz_app__devWidth = 640;
        kz_app__devHeight = 480;
        app = new c_MyApp();
        app->m_scaleX = 1;
        app->m_scaleY = 1;
        app->m_hdScale = 1;
        app->p_CLS2D(0, 0, 0, 1);
    }
    void TearDown() override {
        kz_input_SetInputDevice(nullptr);
        kz_Tarvo_iCadeControls = 0;
        kz_Tarvo_isOuya = 0;
        kz_Tarvo_overscan = 0;
        kz_app__devWidth = 0;
        kz_app__devHeight = 0;
    }

    // A fresh device: nothing held, no characters waiting.
    void ReleaseEverything() {
        device = (new c_InputDevice())->m_new();
        kz_input_SetInputDevice(device);
        for (int i = 0; i < app->m_buttons.Length(); ++i) app->m_buttons[i] = 0;
    }

    void Touch(int finger, float x, float y) { device->p_TouchEvent(kEventTouchDown, finger, x, y); }
    void Lift(int finger) { device->p_TouchEvent(kEventTouchUp, finger, 0, 0); }
    void Type(const char* letters) {
        for (const char* c = letters; *c; ++c) device->p_KeyEvent(kEventKeyChar, *c);
    }

    KzGame host;
    c_InputDevice* device = nullptr;
    c_MyApp* app = nullptr;
};
