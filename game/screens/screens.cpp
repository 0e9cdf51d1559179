// The screens reached from the screen dispatch. The title menu, the game,
// the score tables and the overlay boxes are built screen by screen; until a
// screen exists, its mode shows nothing and does nothing.
#include "game/myapp.h"

int c_MyApp::p_Menu() { return 0; }
int c_MyApp::p_LoadMenu() { return 0; }
int c_MyApp::p_OuyaQuit() { return 0; }
int c_MyApp::p_InGame() { return 0; }
int c_MyApp::p_GameOver() { return 0; }
int c_MyApp::p_CreditBox() { return 0; }
int c_MyApp::p_BadgesBox() { return 0; }
int c_MyApp::p_OptionBox() { return 0; }
int c_MyApp::p_ShowBadges() { return 0; }
