// The windowing facade: the window-system calls the host is written against,
// with their classic names, key codes and semantics, behind a replaceable
// backend. The real backend runs on the system's GLFW 3; a scripted backend
// (scripted_backend.h) stands in for it in tests.
//
// Classic semantics kept here:
// - one window at a time; a close request leaves it open (the close callback
//   decides, and the host always says no);
// - sizes and mouse positions in framebuffer pixels;
// - key codes of the classic table below (printable keys are their upper-case
//   character), the character callback with an action, and key repeat
//   delivered as further presses when enabled;
// - "active" means focused and not iconified.
#pragma once

#include <string>

namespace glfw2 {

constexpr int RELEASE = 0;
constexpr int PRESS = 1;

// Key codes. Printable keys are their (upper-case) character, 32-96.
constexpr int KEY_UNKNOWN = -1;
constexpr int KEY_SPACE = 32;
constexpr int KEY_SPECIAL = 256;
constexpr int KEY_ESC = 257;
constexpr int KEY_F1 = 258;   // .. KEY_F25 = 282
constexpr int KEY_F25 = 282;
constexpr int KEY_UP = 283;
constexpr int KEY_DOWN = 284;
constexpr int KEY_LEFT = 285;
constexpr int KEY_RIGHT = 286;
constexpr int KEY_LSHIFT = 287;
constexpr int KEY_RSHIFT = 288;
constexpr int KEY_LCTRL = 289;
constexpr int KEY_RCTRL = 290;
constexpr int KEY_LALT = 291;
constexpr int KEY_RALT = 292;
constexpr int KEY_TAB = 293;
constexpr int KEY_ENTER = 294;
constexpr int KEY_BACKSPACE = 295;
constexpr int KEY_INSERT = 296;
constexpr int KEY_DEL = 297;
constexpr int KEY_PAGEUP = 298;
constexpr int KEY_PAGEDOWN = 299;
constexpr int KEY_HOME = 300;
constexpr int KEY_END = 301;
constexpr int KEY_KP_0 = 302;  // .. KEY_KP_9 = 311
constexpr int KEY_KP_DIVIDE = 312;
constexpr int KEY_KP_MULTIPLY = 313;
constexpr int KEY_KP_SUBTRACT = 314;
constexpr int KEY_KP_ADD = 315;
constexpr int KEY_KP_DECIMAL = 316;
constexpr int KEY_KP_EQUAL = 317;
constexpr int KEY_KP_ENTER = 318;
constexpr int KEY_KP_NUM_LOCK = 319;
constexpr int KEY_CAPS_LOCK = 320;
constexpr int KEY_SCROLL_LOCK = 321;
constexpr int KEY_PAUSE = 322;
constexpr int KEY_LSUPER = 323;
constexpr int KEY_RSUPER = 324;
constexpr int KEY_MENU = 325;
constexpr int KEY_LAST = KEY_MENU;

constexpr int MOUSE_BUTTON_LEFT = 0;
constexpr int MOUSE_BUTTON_RIGHT = 1;
constexpr int MOUSE_BUTTON_MIDDLE = 2;

constexpr int JOYSTICK_1 = 0;  // .. JOYSTICK_4 = 3 used by the host
constexpr int JOYSTICK_LAST = 15;

// glfwOpenWindow modes.
constexpr int WINDOW = 0x00010001;
constexpr int FULLSCREEN = 0x00010002;

// glfwGetWindowParam.
constexpr int OPENED = 0x00020001;
constexpr int ACTIVE = 0x00020002;
constexpr int ICONIFIED = 0x00020003;

// glfwOpenWindowHint targets.
constexpr int REFRESH_RATE = 0x0002000B;
constexpr int WINDOW_NO_RESIZE = 0x00020012;

// glfwEnable / glfwDisable.
constexpr int MOUSE_CURSOR = 0x00030001;
constexpr int KEY_REPEAT = 0x00030005;
constexpr int AUTO_POLL_EVENTS = 0x00030008;

// glfwGetJoystickParam.
constexpr int PRESENT = 0x00050001;
constexpr int AXES = 0x00050002;
constexpr int BUTTONS = 0x00050003;

struct VidMode {
    int Width = 0, Height = 0;
    int RedBits = 0, GreenBits = 0, BlueBits = 0;
};

using KeyFun = void (*)(int key, int action);
using CharFun = void (*)(int character, int action);
using MouseButtonFun = void (*)(int button, int action);
using MousePosFun = void (*)(int x, int y);
using WindowCloseFun = int (*)();  // 0 keeps the window open

// One window system. The callbacks live here so that every backend delivers
// them the same way, from inside PollEvents or WaitEvents only.
class Backend {
public:
    virtual ~Backend() = default;

    virtual int Init() = 0;
    virtual void Terminate() = 0;

    // Returns 1 when the window is open. Hints apply to this one opening only.
    virtual int OpenWindow(int width, int height, int redbits, int greenbits, int bluebits,
                           int alphabits, int depthbits, int stencilbits, int mode) = 0;
    virtual void OpenWindowHint(int target, int hint) = 0;
    // Why the last Init or OpenWindow failed, as the window system tells it;
    // empty when it told nothing.
    virtual std::string LastFailure() const { return {}; }
    virtual void CloseWindow() = 0;
    // Moves the open window into full screen (FULLSCREEN) or back into a
    // window (WINDOW) at this size, keeping the window and its OpenGL
    // context; the refresh-rate hint applies to this switch. Does nothing
    // when no window is open.
    virtual void SwitchWindowMode(int width, int height, int mode) = 0;
    virtual void SetWindowTitle(const char* title) = 0;
    virtual void SetWindowPos(int x, int y) = 0;
    virtual void GetWindowSize(int* width, int* height) = 0;
    virtual int GetWindowParam(int param) = 0;
    virtual void SwapBuffers() = 0;
    virtual void SwapInterval(int interval) = 0;
    virtual int GetVideoModes(VidMode* list, int maxcount) = 0;
    virtual void GetDesktopMode(VidMode* mode) = 0;

    virtual void PollEvents() = 0;
    virtual void WaitEvents() = 0;
    virtual int GetKey(int key) = 0;
    virtual void GetMousePos(int* x, int* y) = 0;

    virtual int GetJoystickParam(int joy, int param) = 0;
    virtual int GetJoystickPos(int joy, float* pos, int numaxes) = 0;
    virtual int GetJoystickButtons(int joy, unsigned char* buttons, int numbuttons) = 0;

    virtual double GetTime() = 0;
    virtual void Sleep(double seconds) = 0;

    virtual void Enable(int token) = 0;
    virtual void Disable(int token) = 0;

    void SetKeyCallback(KeyFun fn) { key_fun_ = fn; }
    void SetCharCallback(CharFun fn) { char_fun_ = fn; }
    void SetMouseButtonCallback(MouseButtonFun fn) { mouse_button_fun_ = fn; }
    void SetMousePosCallback(MousePosFun fn) { mouse_pos_fun_ = fn; }
    void SetWindowCloseCallback(WindowCloseFun fn) { window_close_fun_ = fn; }

protected:
    void DeliverKey(int key, int action) { if (key_fun_) key_fun_(key, action); }
    void DeliverChar(int character, int action) { if (char_fun_) char_fun_(character, action); }
    void DeliverMouseButton(int button, int action) { if (mouse_button_fun_) mouse_button_fun_(button, action); }
    void DeliverMousePos(int x, int y) { if (mouse_pos_fun_) mouse_pos_fun_(x, y); }
    // Whether the window should close; with no callback it should.
    bool AskWindowClose() { return window_close_fun_ ? window_close_fun_() != 0 : true; }

private:
    KeyFun key_fun_ = nullptr;
    CharFun char_fun_ = nullptr;
    MouseButtonFun mouse_button_fun_ = nullptr;
    MousePosFun mouse_pos_fun_ = nullptr;
    WindowCloseFun window_close_fun_ = nullptr;
};

// The backend on the system's GLFW 3.
Backend& Glfw3Backend();
// Routes every call below to `backend`; null goes back to the GLFW 3 one.
void UseBackend(Backend* backend);
Backend& CurrentBackend();

int glfwInit();
void glfwTerminate();
int glfwOpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits,
                   int depthbits, int stencilbits, int mode);
void glfwOpenWindowHint(int target, int hint);
// Not a classic call: the reason the last glfwInit or glfwOpenWindow failed
// ("" if none is known), which the classic interface has no way to ask for.
std::string glfwLastFailure();
void glfwCloseWindow();
// Not a classic call: the classic interface can only close the window and
// open another (losing its OpenGL context) to change between full screen and
// a window; this moves the open one instead (Backend::SwitchWindowMode).
void glfwSwitchWindowMode(int width, int height, int mode);
void glfwSetWindowTitle(const char* title);
void glfwSetWindowPos(int x, int y);
void glfwGetWindowSize(int* width, int* height);
int glfwGetWindowParam(int param);
void glfwSwapBuffers();
void glfwSwapInterval(int interval);
int glfwGetVideoModes(VidMode* list, int maxcount);
void glfwGetDesktopMode(VidMode* mode);
void glfwPollEvents();
void glfwWaitEvents();
int glfwGetKey(int key);
void glfwGetMousePos(int* x, int* y);
int glfwGetJoystickParam(int joy, int param);
int glfwGetJoystickPos(int joy, float* pos, int numaxes);
int glfwGetJoystickButtons(int joy, unsigned char* buttons, int numbuttons);
double glfwGetTime();
void glfwSleep(double seconds);
void glfwEnable(int token);
void glfwDisable(int token);
void glfwSetKeyCallback(KeyFun fn);
void glfwSetCharCallback(CharFun fn);
void glfwSetMouseButtonCallback(MouseButtonFun fn);
void glfwSetMousePosCallback(MousePosFun fn);
void glfwSetWindowCloseCallback(WindowCloseFun fn);

}  // namespace glfw2
