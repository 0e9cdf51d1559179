#include "game/program.h"

#include "framework/input.h"
#include "game/myapp.h"

// Every module's globals, in module order.
void kzInit() {
    kz_app_InitGlobals(KzGame::_game);
    kz_graphics_InitGlobals();
    kz_audio_device = nullptr;
    kz_input_device = nullptr;
    kz_Tarvo_InitGlobals();
    kz_random_Seed = 1234;
}

void kzCreateApplication() { (new c_MyApp())->m_new(); }
