// The console's quit confirmation: a test card and a few lines asking
// whether the player really wants to leave; one button goes back to the
// title, the others end the program.
#include "game/myapp.h"

namespace {

constexpr float kTestCardScale = 3;
constexpr float kTextX = 0.65f;
constexpr float kTextTop = 0.3f;

struct Line {
    float scale;
    const char* text;
    int gapAfter;
};
// "¬K" and "¬J" (byte 0xAC, then the letter) are the glyphs of the quit and
// return buttons.
constexpr Line kLines[] = {
    {3, "It looks like you're", 32},
    {3, "trying to QUIT!", 36},
    {2, "Are you absolutely sure", 20},
    {2, "you want to quit the game?", 28},
    {2, "Isn't this fun?", 38},
    {2, "It'll be a shame to see you go.", 38},
    {2, "Press \xAC" "K to Quit", 20},
    {2, "or \xAC" "J to return to the fun!", 20},
};

constexpr int kReturnButton = button_id::kAction1;
constexpr int kQuitButtons[] = {button_id::kAction2, button_id::kAction3, button_id::kBack};

}  // namespace

int c_MyApp::p_OuyaQuit() {
    const float w = kz_Tarvo_jscrw;
    const float h = kz_Tarvo_jscrh;
    p_CLS2D(180, 180, 180, -1);
    p_SetSize(kTestCardScale, kTestCardScale);
    p_DrawImg(image_id::kTestCard, w * 0.5f, h * 0.5f, 0);

    const float x = static_cast<float>(TruncToInt(w * kTextX));
    int y = TruncToInt(h * kTextTop);
    for (const Line& line : kLines) {
        p_SetSize(line.scale, line.scale);
        p_Text(x, static_cast<float>(y), String(line.text), 1, 1);
        y += line.gapAfter;
    }

    if (m_touchLock != 0 || m_keyLock != 0) return 0;
    if (p_AnyButtonDown({kReturnButton}) != 0) {
        m_mode = screen_mode::kTitle;
        m_keyLock = 1;
        m_touchLock = 1;
        return 0;
    }
    for (int button : kQuitButtons) {
        if (p_AnyButtonDown({button}) != 0) kzError(String());
    }
    return 0;
}
