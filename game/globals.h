// The game module's globals: the platform switches and the virtual screen.
#pragma once

#include "runtime/runtime.h"

// Platform switches; nothing on the desktop changes them from 0.
extern int kz_Tarvo_isOuya;
extern int kz_Tarvo_OnScreenControls;
extern int kz_Tarvo_AccelerometerControls;

// The border kept clear on every side, in screen pixels.
extern float kz_Tarvo_overscan;
// 1 shows the debug line; toggled by F1.
extern int kz_Tarvo_DebugMode;
// The designed size of the virtual screen and its current size.
extern float kz_Tarvo_rawscrw;
extern float kz_Tarvo_rawscrh;
extern float kz_Tarvo_jscrw;
extern float kz_Tarvo_jscrh;
// 1 while the letters of an iCade cabinet are decoded into buttons.
extern int kz_Tarvo_iCadeControls;
// 1: the platform streams music, so tunes are played and paused.
extern int kz_Tarvo_HasMusicStream;
// The lines scrolled by the credits box.
extern Array<String> kz_Tarvo_CreditText;

// Gives every global its start value and registers the collected ones as
// roots.
void kz_Tarvo_InitGlobals();
