// The options cog: three gear frames of the buttons image on top of each
// other, turning at different speeds; a button like any other.
#include "game/myapp.h"

namespace {

constexpr int kGearFrames[] = {menu_button_frame::kCogOuter, menu_button_frame::kCogMiddle, menu_button_frame::kCogHub};
constexpr float kGearTurns[] = {0.66f, -0.33f};  // the third gear's turn is the caller's

}  // namespace

int c_MyApp::p_Cog(float x, float y, float lastTurn) {
    for (int gear = 0; gear < 2; ++gear) {
        p_SetRot(kGearTurns[gear] * m_cogAngle);
        p_DrawImg(image_id::kMenuButtons, x, y, static_cast<float>(kGearFrames[gear]));
    }
    p_SetRot(lastTurn * m_cogAngle);
    const int hit = p_Button(image_id::kMenuButtons, x, y, kGearFrames[2]);
    p_SetRot(0);
    return hit;
}
