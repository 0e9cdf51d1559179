#include "framework/app.h"

#include "devices/gxtk_audio.h"
#include "devices/gxtk_graphics.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "framework/input.h"

c_App* kz_app__app = nullptr;
c_GameDelegate* kz_app__delegate = nullptr;
KzGame* kz_app__game = nullptr;
int kz_app__devWidth = 0;
int kz_app__devHeight = 0;
Array<c_DisplayMode*> kz_app__displayModes;
c_DisplayMode* kz_app__desktopMode = nullptr;
int kz_app__updateRate = 0;
c_Stack3* kz_asyncevent__sources = nullptr;
c_IAsyncEventSource* kz_asyncevent__current = nullptr;

namespace {

void MarkGlobals() {
    gc_mark_q(kz_app__app);
    gc_mark_q(kz_app__delegate);
    gc_mark_q(kz_app__displayModes);
    gc_mark_q(kz_app__desktopMode);
    gc_mark_q(kz_asyncevent__sources);
    gc_mark_q(kz_asyncevent__current);
}

}  // namespace

void kz_app_InitGlobals(KzGame* game) {
    gc_add_roots(MarkGlobals);
    kz_app__app = nullptr;
    kz_app__delegate = nullptr;
    kz_app__game = game;
    kz_app__devWidth = 0;
    kz_app__devHeight = 0;
    gc_assign(kz_app__displayModes, Array<c_DisplayMode*>());
    kz_app__desktopMode = nullptr;
    kz_app__updateRate = 0;
    kz_asyncevent__current = nullptr;
    gc_assign(kz_asyncevent__sources, (new c_Stack3())->m_new());
    c_Stack3::m_NIL = nullptr;
}

c_App* c_App::m_new() {
    if (kz_app__app) kzError(String("App has already been created"));
    gc_assign(kz_app__app, this);
    gc_assign(kz_app__delegate, (new c_GameDelegate())->m_new());
    kz_app__game->SetDelegate(kz_app__delegate);
    return this;
}

int c_App::p_OnClose() { kz_app_EndApp(); }

int c_App::p_OnBack() { kz_app_EndApp(); }

void c_GameDelegate::mark() {
    gc_mark_q(m_graphics);
    gc_mark_q(m_audio);
    gc_mark_q(m_input);
}

void c_GameDelegate::StartGame() {
    gc_assign(m_graphics, new gxtkGraphics(kz_app__game));
    kz_graphics_SetGraphicsDevice(m_graphics);
    kz_graphics_SetFont(nullptr, 32);
    gc_assign(m_audio, new gxtkAudio(kz_app__game));
    kz_audio_SetAudioDevice(m_audio);
    gc_assign(m_input, (new c_InputDevice())->m_new());
    kz_input_SetInputDevice(m_input);
    kz_app_ValidateDeviceWindow(false);
    kz_app_EnumDisplayModes();
    kz_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
    kz_app__app->p_OnSuspend();
    m_audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
    m_audio->Resume();
    kz_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
    kz_app_ValidateDeviceWindow(true);
    m_input->p_BeginUpdate();
    kz_app__app->p_OnUpdate();
    m_input->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
    kz_app_ValidateDeviceWindow(true);
    const int mode = m_graphics->BeginRender();
    if (mode != 0) kz_graphics_BeginRender();
    if (mode == 2) {
        kz_app__app->p_OnLoading();
    } else {
        kz_app__app->p_OnRender();
    }
    if (mode != 0) kz_graphics_EndRender();
    m_graphics->EndRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    m_input->p_KeyEvent(event, data);
    // The back key and the window's close box end the program, whether or
    // not the key was already held.
    if (event == kEventKeyDown && (data == kKeyBack || data == kKeyClose)) kz_app_EndApp();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) { m_input->p_MouseEvent(event, data, x, y); }

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) { m_input->p_TouchEvent(event, data, x, y); }

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    m_input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() { m_graphics->DiscardGraphics(); }

c_DisplayMode* c_DisplayMode::m_new(int width, int height) {
    m_width = width;
    m_height = height;
    return this;
}

int kz_app_DeviceWidth() { return kz_app__devWidth; }

int kz_app_DeviceHeight() { return kz_app__devHeight; }

int kz_app_SetUpdateRate(int hertz) {
    kz_app__updateRate = hertz;
    kz_app__game->SetUpdateRate(hertz);
    return 0;
}

int kz_app_Millisecs() { return kz_app__game->Millisecs(); }

int kz_app_SaveState(String state) {
    kz_app__game->SaveState(state);
    return 0;
}

String kz_app_LoadState() { return kz_app__game->LoadState(); }

void kz_app_KeepState() { kz_app__game->KeepState(); }

void kz_app_EndApp() { kzError(String()); }

// The application's resize notification does nothing, so the flag only
// records whether one would be sent.
int kz_app_ValidateDeviceWindow(bool) {
    const int width = kz_app__game->GetDeviceWidth();
    const int height = kz_app__game->GetDeviceHeight();
    if (width != kz_app__devWidth || height != kz_app__devHeight) {
        kz_app__devWidth = width;
        kz_app__devHeight = height;
    }
    return 0;
}

// The distinct sizes the display offers, in first-seen order, and the desktop
// size (the window's when the host knows no desktop).
int kz_app_EnumDisplayModes() {
    const Array<KzDisplayMode*> modes = kz_app__game->GetDisplayModes();
    c_IntMap* seen = (new c_IntMap())->m_new();
    c_Stack* distinct = (new c_Stack())->m_new();
    for (KzDisplayMode* mode : modes) {
        // Shifted as unsigned: a width past 16 bits would overflow an int.
        const int key = static_cast<int>((static_cast<unsigned>(mode->width) << 16) |
                                         static_cast<unsigned>(mode->height));
        if (seen->p_Contains(key)) continue;
        c_DisplayMode* size = (new c_DisplayMode())->m_new(mode->width, mode->height);
        seen->p_Insert(key, size);
        distinct->p_Push(size);
    }
    gc_assign(kz_app__displayModes, distinct->p_ToArray());

    KzDisplayMode* desktop = kz_app__game->GetDesktopMode();
    c_DisplayMode* desktopMode = desktop ? (new c_DisplayMode())->m_new(desktop->width, desktop->height)
                                         : (new c_DisplayMode())->m_new(kz_app__devWidth, kz_app__devHeight);
    gc_assign(kz_app__desktopMode, desktopMode);
    return 0;
}

int kz_asyncevent_UpdateAsyncEvents() {
    if (kz_asyncevent__current) return 0;
    int i = 0;
    while (i < kz_asyncevent__sources->p_Length2()) {
        gc_assign(kz_asyncevent__current, kz_asyncevent__sources->p_Get(i));
        kz_asyncevent__current->UpdateAsyncEvents();
        // A source that removed itself cleared the current source: the same
        // index now holds the next one.
        if (kz_asyncevent__current) ++i;
    }
    kz_asyncevent__current = nullptr;
    return 0;
}
