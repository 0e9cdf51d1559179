// The loading screen: a yellow disc with an orange band and the logo, inside
// two rings of fading dots that turn a little further every update.
#include <algorithm>

#include "game/myapp.h"

namespace {

constexpr int kDotsPerRing = 11;
constexpr float kDotRadius = 8.0f;
constexpr float kDotSpacingDegrees = 16.0f;
constexpr int kSpinStepDegrees = 16;

}  // namespace

int c_MyApp::p_WaitStart(int withSpinner) {
    const float w = kz_Tarvo_jscrw;
    const float h = kz_Tarvo_jscrh;
    p_CLS2D(40, 40, 80, 1);
    const int shortSide = static_cast<int>(std::min(w, h));
    m_spinAngle += kSpinStepDegrees;

    if (withSpinner != 0) p_SpinnerRing(250, static_cast<float>(m_spinAngle + 180), shortSide * 0.25f);

    p_SetCol(255, 255, 0, 0.8f);
    p_Oval(w * 0.5f, h * 0.5f, shortSide * 0.3f, shortSide * 0.3f);
    p_SetCol(250, 160, 60, 0.7f);
    p_Rect(0, h * 0.4f, w, h * 0.2f);
    p_SetCol(255, 255, 255, 1.0f);
    p_DrawImg(image_id::kMakerLogo, w * 0.5f, h * 0.48f, 0);

    if (withSpinner != 0) p_SpinnerRing(50, static_cast<float>(m_spinAngle), shortSide * 0.25f);
    return 0;
}

// Eleven grey dots on a circle about the screen's centre, each a step further
// round and a tenth more opaque than the last.
int c_MyApp::p_SpinnerRing(float grey, float startDegrees, float radius) {
    const float cx = kz_Tarvo_jscrw * 0.5f;
    const float cy = kz_Tarvo_jscrh * 0.5f;
    for (m_i = 0; m_i < kDotsPerRing; ++m_i) {
        const SinCos turn = SinCosOfDegrees(startDegrees + kDotSpacingDegrees * m_i);
        p_SetCol(grey, grey, grey, m_i / 10.0f);
        p_Oval(cx + turn.sin * radius, cy - turn.cos * radius, kDotRadius, kDotRadius);
    }
    return 0;
}
