// Small pieces the screens share: whether an overlay box is open, a clamp, a
// colour, and the console's overscan slider.
#pragma once

#include "game/myapp.h"

// The credits, options or badges box is open.
bool BoxOpen(const c_MyApp& app);

// `value` raised to `low`, then lowered to `high`: should the bounds cross,
// the upper one wins.
template <typename T>
constexpr T Clamp(T value, T low, T high) {
    if (value < low) value = low;
    if (value > high) value = high;
    return value;
}

struct Rgb {
    float red, green, blue;
};

// The console's overscan setting runs from 1 to 96.
constexpr int kOverscanLow = 1;
constexpr int kOverscanHigh = 96;

// The console's overscan slider: its label centred on (x, labelY), the bar
// at barY and the knob showing the setting.
void DrawOverscanSlider(c_MyApp& app, float x, float labelY, float barY);
// The shoulder buttons step the overscan setting by 16 within 1..96, once
// per press (`lock`), and the screen follows it.
void StepOverscan(c_MyApp& app, int& lock);
