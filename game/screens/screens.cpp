// The screens reached from the screen dispatch. The title menu, the game and
// the score tables are built screen by screen; until a screen exists, its
// mode shows nothing and does nothing.
#include "game/myapp.h"

int c_MyApp::p_Menu() { return 0; }
int c_MyApp::p_LoadMenu() { return 0; }
int c_MyApp::p_OuyaQuit() { return 0; }
int c_MyApp::p_InGame() { return 0; }
int c_MyApp::p_GameOver() { return 0; }
