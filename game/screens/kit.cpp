#include "game/screens/kit.h"

namespace {

constexpr float kSliderHalfWidth = 128;
constexpr float kSliderHeight = 9;
constexpr float kKnobAboveLabel = 8;
constexpr float kKnobLeft = -132;
constexpr float kKnobWidth = 8;
constexpr float kKnobHeight = 16;
constexpr float kKnobStep = 2.67f;  // units per overscan step
constexpr int kOverscanStep = 16;

}  // namespace

bool BoxOpen(const c_MyApp& app) { return app.m_creditsOpen != 0 || app.m_optionsOpen != 0 || app.m_badgesOpen != 0; }

void DrawOverscanSlider(c_MyApp& app, float x, float labelY, float barY) {
    app.p_SetSize(2, 2);
    app.p_SetRot(0);
    app.p_SetCol(255, 255, 255, 1);
    app.m_blend = 1;
    app.p_Text(x, labelY, String("L1 <      Overscan      > R1"), 1, 1);
    app.p_SetSize(1, 1);
    app.p_SetCol(0, 128, 255, 0.5f);
    app.p_Rect(x - kSliderHalfWidth, barY, 2 * kSliderHalfWidth, kSliderHeight);
    app.p_SetCol(255, 255, 0, 0.75f);
    const float value = static_cast<float>(app.m_settings[setting::kOverscan]);
    app.p_Rect(x + kKnobLeft + value * kKnobStep, labelY - kKnobAboveLabel, kKnobWidth, kKnobHeight);
}

void StepOverscan(c_MyApp& app, int& lock) {
    int& overscan = app.m_settings[setting::kOverscan];
    if (app.p_AnyButtonDown({button_id::kAction5}) != 0 && lock == 0) {
        overscan -= kOverscanStep;
        lock = 1;
    }
    if (app.p_AnyButtonDown({button_id::kAction6}) != 0 && lock == 0) {
        overscan += kOverscanStep;
        lock = 1;
    }
    overscan = Clamp(overscan, kOverscanLow, kOverscanHigh);
    kz_Tarvo_overscan = static_cast<float>(overscan);
}
