// The screens reached from the screen dispatch that are still to come: until
// a screen exists, it shows nothing and does nothing.
#include "game/myapp.h"

int c_MyApp::p_CreditBox() { return 0; }
int c_MyApp::p_BadgesBox() { return 0; }
int c_MyApp::p_OptionBox() { return 0; }
int c_MyApp::p_ShowBadges() { return 0; }
