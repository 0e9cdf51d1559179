// The application module: the base class of the game's application object,
// the delegate that turns host events into device set-up, input bookkeeping
// and the application's callbacks, the module functions through which the
// game asks for the device size, the clock, the update rate, display modes,
// saved state and the end of the program, and the asynchronous event pump.
#pragma once

#include "host/kzgame.h"
#include "runtime/runtime.h"

class gxtkGraphics;
class gxtkAudio;
class c_InputDevice;

class c_App : public Object {
public:
    // Installs this application and its delegate with the host; a second
    // application is a fatal error.
    c_App* m_new();

    virtual int p_OnCreate() { return 0; }
    virtual int p_OnSuspend() { return 0; }
    virtual int p_OnResume() { return 0; }
    virtual int p_OnUpdate() { return 0; }
    virtual int p_OnRender() { return 0; }

    int p_OnLoading() { return 0; }
    int p_OnResize() { return 0; }
    int p_OnClose();
    int p_OnBack();
};

class c_GameDelegate : public KzGameDelegate {
public:
    gxtkGraphics* m_graphics = nullptr;
    gxtkAudio* m_audio = nullptr;
    c_InputDevice* m_input = nullptr;

    c_GameDelegate* m_new() { return this; }
    void mark() override;

    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;
};

class c_DisplayMode : public Object {
public:
    int m_width = 0;
    int m_height = 0;

    c_DisplayMode* m_new(int width, int height);
};

// A source of asynchronous events, pumped once per update.
struct c_IAsyncEventSource : gc_interface {
    virtual void UpdateAsyncEvents() = 0;
};

using c_Stack = gc_stack<c_DisplayMode*>;
using c_Stack3 = gc_stack<c_IAsyncEventSource*>;
using c_Map = gc_map<c_DisplayMode*>;
using c_IntMap = gc_int_map<c_DisplayMode*>;
using c_Node = gc_map_node<c_DisplayMode*>;

extern c_App* kz_app__app;
extern c_GameDelegate* kz_app__delegate;
extern KzGame* kz_app__game;
extern int kz_app__devWidth;
extern int kz_app__devHeight;
extern Array<c_DisplayMode*> kz_app__displayModes;
extern c_DisplayMode* kz_app__desktopMode;
extern int kz_app__updateRate;
extern c_Stack3* kz_asyncevent__sources;
extern c_IAsyncEventSource* kz_asyncevent__current;

// Gives the module's globals their start values (the host object as given)
// and registers them as collector roots.
void kz_app_InitGlobals(KzGame* game);

int kz_app_DeviceWidth();
int kz_app_DeviceHeight();
int kz_app_SetUpdateRate(int hertz);
int kz_app_Millisecs();
int kz_app_SaveState(String state);
String kz_app_LoadState();
// Keeps the state file as it stands beside it, replacing a copy kept before.
void kz_app_KeepState();
// Ends the program at once with status 0.
[[noreturn]] void kz_app_EndApp();
int kz_app_ValidateDeviceWindow(bool notifyApp);
int kz_app_EnumDisplayModes();
int kz_asyncevent_UpdateAsyncEvents();
