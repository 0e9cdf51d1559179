// The classic calls, each routed to the backend in use.
#include "host/glfw_facade.h"

namespace glfw2 {

namespace {
Backend* current = nullptr;
}  // namespace

void UseBackend(Backend* backend) { current = backend; }
Backend& CurrentBackend() { return current ? *current : Glfw3Backend(); }

int glfwInit() { return CurrentBackend().Init(); }
void glfwTerminate() { CurrentBackend().Terminate(); }
int glfwOpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits,
                   int depthbits, int stencilbits, int mode) {
    return CurrentBackend().OpenWindow(width, height, redbits, greenbits, bluebits, alphabits, depthbits,
                                       stencilbits, mode);
}
void glfwOpenWindowHint(int target, int hint) { CurrentBackend().OpenWindowHint(target, hint); }
std::string glfwLastFailure() { return CurrentBackend().LastFailure(); }
void glfwCloseWindow() { CurrentBackend().CloseWindow(); }
void glfwSwitchWindowMode(int width, int height, int mode) {
    CurrentBackend().SwitchWindowMode(width, height, mode);
}
void glfwSetWindowTitle(const char* title) { CurrentBackend().SetWindowTitle(title); }
void glfwSetWindowPos(int x, int y) { CurrentBackend().SetWindowPos(x, y); }
void glfwGetWindowSize(int* width, int* height) { CurrentBackend().GetWindowSize(width, height); }
int glfwGetWindowParam(int param) { return CurrentBackend().GetWindowParam(param); }
void glfwSwapBuffers() { CurrentBackend().SwapBuffers(); }
void glfwSwapInterval(int interval) { CurrentBackend().SwapInterval(interval); }
int glfwGetVideoModes(VidMode* list, int maxcount) { return CurrentBackend().GetVideoModes(list, maxcount); }
void glfwGetDesktopMode(VidMode* mode) { CurrentBackend().GetDesktopMode(mode); }
void glfwPollEvents() { CurrentBackend().PollEvents(); }
void glfwWaitEvents() { CurrentBackend().WaitEvents(); }
int glfwGetKey(int key) { return CurrentBackend().GetKey(key); }
void glfwGetMousePos(int* x, int* y) { CurrentBackend().GetMousePos(x, y); }
int glfwGetJoystickParam(int joy, int param) { return CurrentBackend().GetJoystickParam(joy, param); }
int glfwGetJoystickPos(int joy, float* pos, int numaxes) { return CurrentBackend().GetJoystickPos(joy, pos, numaxes); }
int glfwGetJoystickButtons(int joy, unsigned char* buttons, int numbuttons) {
    return CurrentBackend().GetJoystickButtons(joy, buttons, numbuttons);
}
double glfwGetTime() { return CurrentBackend().GetTime(); }
void glfwSleep(double seconds) { CurrentBackend().Sleep(seconds); }
void glfwEnable(int token) { CurrentBackend().Enable(token); }
void glfwDisable(int token) { CurrentBackend().Disable(token); }
void glfwSetKeyCallback(KeyFun fn) { CurrentBackend().SetKeyCallback(fn); }
void glfwSetCharCallback(CharFun fn) { CurrentBackend().SetCharCallback(fn); }
void glfwSetMouseButtonCallback(MouseButtonFun fn) { CurrentBackend().SetMouseButtonCallback(fn); }
void glfwSetMousePosCallback(MousePosFun fn) { CurrentBackend().SetMousePosCallback(fn); }
void glfwSetWindowCloseCallback(WindowCloseFun fn) { CurrentBackend().SetWindowCloseCallback(fn); }

}  // namespace glfw2
