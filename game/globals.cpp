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

// Who made the game, and the libraries and tools it is built and tested with,
// each with its licence. The credits box never shows the last line, so the
// text ends with blank lines that part the end from the start as it cycles.
constexpr const char* kCredits[] = {
    "TARVOLAN",
    "by its developers",
    "",
    "",
    "LIBRARIES",
    "",
    "GLFW - zlib/libpng License",
    "OpenAL Soft - GNU LGPL 2 or later",
    "stb - MIT License or Public Domain",
    "Cairo - GNU LGPL 2.1 or MPL 1.1",
    "FreeType - FreeType License",
    "DejaVu Fonts - Bitstream Vera License",
    "libvorbis, libogg - BSD 3-Clause License",
    "zlib - zlib License",
    "libglvnd, Mesa - MIT License",
    "Xlib - MIT/X11 License",
    "",
    "",
    "TOOLS",
    "",
    "GCC - GNU GPL 3 or later",
    "CMake - BSD 3-Clause License",
    "Ninja - Apache License 2.0",
    "GNU Make - GNU GPL 3 or later",
    "pkgconf - ISC License",
    "GoogleTest - BSD 3-Clause License",
    "Google Benchmark - Apache License 2.0",
    "Xvfb - MIT/X11 License",
    "xdotool - BSD 3-Clause License",
    "xwininfo - MIT/X11 License",
    "vorbis-tools - GNU GPL 2",
    "",
    "",
    "",
};
constexpr int kCreditLines = sizeof kCredits / sizeof kCredits[0];

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
    Array<String> credits(kCreditLines);
    for (int i = 0; i < kCreditLines; ++i) credits[i] = String(kCredits[i]);
    gc_assign(kz_Tarvo_CreditText, credits);
}
