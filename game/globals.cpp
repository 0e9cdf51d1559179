#include "game/globals.h"

int kz_Tarvo_isOuya = 0;
int kz_Tarvo_OnScreenControls = 0;
int kz_Tarvo_AccelerometerControls = 0;
float kz_Tarvo_overscan = 0.0f;
int kz_Tarvo_DebugMode = 0;
float kz_Tarvo_rawscrw = 640.0f;
float kz_Tarvo_rawscrh = 480.0f;
float kz_Tarvo_jscrw = 640.0f;
float kz_Tarvo_jscrh = 480.0f;
int kz_Tarvo_iCadeControls = 0;
int kz_Tarvo_HasMusicStream = 1;
Array<String> kz_Tarvo_CreditText;

namespace {

constexpr const char* kCredits[] = {
    "TARVOLAN",
    "",
    "Bring them home.",
    "",
    "",
    "DESIGN AND PROGRAMMING",
    "",
    "The Tarvolan team",
    "",
    "",
    "ART",
    "",
    "Drawn in code, line by line",
    "",
    "",
    "SOUND AND MUSIC",
    "",
    "Synthesised in code",
    "",
    "",
    "BUILT WITH",
    "",
    "Our own runtime and collector",
    "OpenGL for the pictures",
    "OpenAL for the sound",
    "GLFW for the window",
    "stb for images and Ogg Vorbis",
    "DejaVu for the letters",
    "",
    "",
    "TESTED BY",
    "",
    "Everyone who walked too fast",
    "and everyone who stood still",
    "",
    "",
    "THANKS",
    "",
    "To the walkers,",
    "who never complain,",
    "and to the turrets,",
    "who never miss on purpose.",
    "",
    "",
    "",
    "",
    "Thank you for playing",
    "",
    "",
    "",
};
static_assert(sizeof kCredits / sizeof kCredits[0] == 50, "the credits box scrolls 50 lines");

void MarkGlobals() { gc_mark_q(kz_Tarvo_CreditText); }

}  // namespace

void kz_Tarvo_InitGlobals() {
    gc_add_roots(MarkGlobals);
    kz_Tarvo_isOuya = 0;
    kz_Tarvo_overscan = 0.0f;
    kz_Tarvo_DebugMode = 0;
    kz_Tarvo_rawscrw = 640.0f;
    kz_Tarvo_rawscrh = 480.0f;
    kz_Tarvo_jscrw = 640.0f;
    kz_Tarvo_jscrh = 480.0f;
    kz_Tarvo_iCadeControls = 0;
    kz_Tarvo_HasMusicStream = 1;
    kz_Tarvo_OnScreenControls = 0;
    kz_Tarvo_AccelerometerControls = 0;
    Array<String> credits(50);
    for (int i = 0; i < 50; ++i) credits[i] = String(kCredits[i]);
    gc_assign(kz_Tarvo_CreditText, credits);
}
