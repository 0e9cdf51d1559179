// The program layer's part of start-up: the module initialiser that gives
// every global its start value, and the creation of the application object.
#pragma once

#include "host/kzglfwgame.h"

void kzInit();
void kzCreateApplication();

// What the host's Main needs from the program.
inline KzProgram TarvolanProgram() { return KzProgram{kzInit, kzCreateApplication}; }
