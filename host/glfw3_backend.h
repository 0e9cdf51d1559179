// The facade's backend on the system's GLFW 3: one window at a time, sizes and
// positions in framebuffer pixels, classic key codes and repeat semantics.
// The platform file (host/platform.h) makes the one instance, the browser's
// with a few calls of its own.
#pragma once

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <string>
#include <tuple>
#include <vector>

#include "host/glfw3_keys.h"
#include "host/glfw_facade.h"

namespace glfw2 {

class Glfw3 : public Backend {
public:
    int Init() override {
        if (::glfwInit() == GLFW_TRUE) return 1;
        RememberFailure();
        return 0;
    }

    void Terminate() override {
        window_ = nullptr;
        ::glfwTerminate();
    }

    int OpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits,
                   int depthbits, int stencilbits, int mode) override {
        if (window_) return 0;
        ::glfwDefaultWindowHints();
        ::glfwWindowHint(GLFW_RED_BITS, redbits);
        ::glfwWindowHint(GLFW_GREEN_BITS, greenbits);
        ::glfwWindowHint(GLFW_BLUE_BITS, bluebits);
        ::glfwWindowHint(GLFW_ALPHA_BITS, alphabits);
        ::glfwWindowHint(GLFW_DEPTH_BITS, depthbits);
        ::glfwWindowHint(GLFW_STENCIL_BITS, stencilbits);
        ::glfwWindowHint(GLFW_REFRESH_RATE, TakeRefreshRateHint());
        ::glfwWindowHint(GLFW_RESIZABLE, no_resize_hint_ ? GLFW_FALSE : GLFW_TRUE);
        no_resize_hint_ = 0;

        GLFWmonitor* monitor = mode == FULLSCREEN ? ::glfwGetPrimaryMonitor() : nullptr;
        window_ = ::glfwCreateWindow(width, height, "", monitor, nullptr);
        if (!window_) {
            RememberFailure();
            return 0;
        }
        ::glfwMakeContextCurrent(window_);
        ::glfwSetKeyCallback(window_, OnKey);
        ::glfwSetCharCallback(window_, OnChar);
        ::glfwSetMouseButtonCallback(window_, OnMouseButton);
        ::glfwSetCursorPosCallback(window_, OnCursorPos);
        ::glfwSetWindowCloseCallback(window_, OnClose);
        return 1;
    }

    std::string LastFailure() const override { return failure_; }

    void OpenWindowHint(int target, int hint) override {
        if (target == REFRESH_RATE) refresh_rate_hint_ = hint;
        if (target == WINDOW_NO_RESIZE) no_resize_hint_ = hint;
    }

    void CloseWindow() override {
        if (!window_) return;
        ::glfwDestroyWindow(window_);
        window_ = nullptr;
    }

    // The window keeps whether it may be resized, as it was opened.
    void SwitchWindowMode(int width, int height, int mode) override {
        const int refresh_rate = TakeRefreshRateHint();
        no_resize_hint_ = 0;
        if (!window_) return;
        GLFWmonitor* monitor = mode == FULLSCREEN ? ::glfwGetPrimaryMonitor() : nullptr;
        int x = 0, y = 0;
        ::glfwGetWindowPos(window_, &x, &y);
        ::glfwSetWindowMonitor(window_, monitor, x, y, width, height, refresh_rate);
    }

    void SetWindowTitle(const char* title) override {
        if (window_) ::glfwSetWindowTitle(window_, title);
    }

    void SetWindowPos(int x, int y) override {
        if (window_) ::glfwSetWindowPos(window_, x, y);
    }

    void GetWindowSize(int* width, int* height) override {
        *width = 0;
        *height = 0;
        if (window_) ::glfwGetFramebufferSize(window_, width, height);
    }

    int GetWindowParam(int param) override {
        if (!window_) return 0;
        switch (param) {
            case OPENED: return 1;
            case ACTIVE:
                return ::glfwGetWindowAttrib(window_, GLFW_FOCUSED) && !::glfwGetWindowAttrib(window_, GLFW_ICONIFIED);
            case ICONIFIED: return ::glfwGetWindowAttrib(window_, GLFW_ICONIFIED);
            default: return 0;
        }
    }

    void SwapBuffers() override {
        if (window_) ::glfwSwapBuffers(window_);
    }

    void SwapInterval(int interval) override {
        if (window_) ::glfwSwapInterval(interval);
    }

    int GetVideoModes(VidMode* list, int maxcount) override {
        GLFWmonitor* monitor = ::glfwGetPrimaryMonitor();
        if (!monitor || maxcount <= 0) return 0;
        int count = 0;
        const GLFWvidmode* modes = ::glfwGetVideoModes(monitor, &count);
        // The classic list has each size and depth once (refresh rates are
        // not told apart), smallest depth and size first.
        std::vector<VidMode> unique;
        for (int i = 0; i < count; ++i) {
            const VidMode mode = Convert(modes[i]);
            const auto same = [&](const VidMode& m) {
                return m.Width == mode.Width && m.Height == mode.Height && m.RedBits == mode.RedBits &&
                       m.GreenBits == mode.GreenBits && m.BlueBits == mode.BlueBits;
            };
            if (std::none_of(unique.begin(), unique.end(), same)) unique.push_back(mode);
        }
        std::stable_sort(unique.begin(), unique.end(), [](const VidMode& a, const VidMode& b) {
            const int bits_a = a.RedBits + a.GreenBits + a.BlueBits;
            const int bits_b = b.RedBits + b.GreenBits + b.BlueBits;
            return std::make_tuple(bits_a, a.Width * a.Height, a.Width) <
                   std::make_tuple(bits_b, b.Width * b.Height, b.Width);
        });
        const int n = std::min(maxcount, static_cast<int>(unique.size()));
        std::copy(unique.begin(), unique.begin() + n, list);
        return n;
    }

    void GetDesktopMode(VidMode* mode) override {
        *mode = VidMode{};
        GLFWmonitor* monitor = ::glfwGetPrimaryMonitor();
        if (!monitor) return;
        if (const GLFWvidmode* current = ::glfwGetVideoMode(monitor)) *mode = Convert(*current);
    }

    void PollEvents() override {
        ::glfwPollEvents();
        CloseIfAsked();
    }

    void WaitEvents() override {
        ::glfwWaitEvents();
        CloseIfAsked();
    }

    int GetKey(int key) override {
        const int glfw3_key = KeyToGlfw3(key);
        if (!window_ || glfw3_key == GLFW_KEY_UNKNOWN) return RELEASE;
        return ::glfwGetKey(window_, glfw3_key) == GLFW_PRESS ? PRESS : RELEASE;
    }

    void GetMousePos(int* x, int* y) override {
        *x = 0;
        *y = 0;
        if (!window_) return;
        double wx = 0, wy = 0;
        ::glfwGetCursorPos(window_, &wx, &wy);
        ToPixels(wx, wy, x, y);
    }

    int GetJoystickParam(int joy, int param) override {
        if (!Present(joy)) return 0;
        int count = 0;
        switch (param) {
            case PRESENT: return 1;
            case AXES: ::glfwGetJoystickAxes(GLFW_JOYSTICK_1 + joy, &count); return count;
            case BUTTONS: ::glfwGetJoystickButtons(GLFW_JOYSTICK_1 + joy, &count); return count;
            default: return 0;
        }
    }

    int GetJoystickPos(int joy, float* pos, int numaxes) override {
        if (!Present(joy)) return 0;
        int count = 0;
        const float* axes = ::glfwGetJoystickAxes(GLFW_JOYSTICK_1 + joy, &count);
        const int n = axes ? std::min(count, numaxes) : 0;
        // Classic y axes (the odd ones) are positive up; the system's are
        // positive down.
        for (int i = 0; i < n; ++i) pos[i] = (i & 1) ? -axes[i] : axes[i];
        return n;
    }

    int GetJoystickButtons(int joy, unsigned char* buttons, int numbuttons) override {
        if (!Present(joy)) return 0;
        int count = 0;
        const unsigned char* state = ::glfwGetJoystickButtons(GLFW_JOYSTICK_1 + joy, &count);
        const int n = state ? std::min(count, numbuttons) : 0;
        for (int i = 0; i < n; ++i) buttons[i] = state[i] == GLFW_PRESS ? PRESS : RELEASE;
        return n;
    }

    double GetTime() override { return ::glfwGetTime(); }

    void Sleep(double seconds) override {
        if (!(seconds > 0)) return;
        std::timespec left{};
        left.tv_sec = static_cast<std::time_t>(seconds);
        left.tv_nsec = static_cast<long>((seconds - std::floor(seconds)) * 1e9);
        while (nanosleep(&left, &left) != 0 && errno == EINTR) {
        }
    }

    void Enable(int token) override { Switch(token, true); }
    void Disable(int token) override { Switch(token, false); }

protected:
    GLFWwindow* window_ = nullptr;

private:
    // Keeps the window system's last error description; versions before 3.3
    // have no way to ask for it.
    void RememberFailure() {
#if GLFW_VERSION_MAJOR > 3 || (GLFW_VERSION_MAJOR == 3 && GLFW_VERSION_MINOR >= 3)
        const char* description = nullptr;
        ::glfwGetError(&description);
        failure_ = description ? description : "";
#endif
    }

    // The refresh-rate hint for the window system, which then forgets it.
    int TakeRefreshRateHint() {
        const int hint = refresh_rate_hint_ > 0 ? refresh_rate_hint_ : GLFW_DONT_CARE;
        refresh_rate_hint_ = 0;
        return hint;
    }

    static Glfw3& Self() { return static_cast<Glfw3&>(Glfw3Backend()); }

    static VidMode Convert(const GLFWvidmode& mode) {
        return VidMode{mode.width, mode.height, mode.redBits, mode.greenBits, mode.blueBits};
    }

    static bool Present(int joy) {
        return joy >= 0 && joy <= JOYSTICK_LAST && ::glfwJoystickPresent(GLFW_JOYSTICK_1 + joy);
    }

    // Window coordinates to framebuffer pixels (they differ on scaled displays).
    void ToPixels(double wx, double wy, int* x, int* y) {
        int win_w = 0, win_h = 0, fb_w = 0, fb_h = 0;
        ::glfwGetWindowSize(window_, &win_w, &win_h);
        ::glfwGetFramebufferSize(window_, &fb_w, &fb_h);
        const double sx = win_w > 0 ? static_cast<double>(fb_w) / win_w : 1.0;
        const double sy = win_h > 0 ? static_cast<double>(fb_h) / win_h : 1.0;
        *x = static_cast<int>(wx * sx);
        *y = static_cast<int>(wy * sy);
    }

    void Switch(int token, bool on) {
        if (token == KEY_REPEAT) key_repeat_ = on;
        if (token == MOUSE_CURSOR && window_) {
            ::glfwSetInputMode(window_, GLFW_CURSOR, on ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
        }
        // Events are only ever processed inside PollEvents and WaitEvents
        // here, so AUTO_POLL_EVENTS needs nothing.
    }

    // The close callback may not destroy the window, so a close it agreed to
    // happens once the events are processed.
    void CloseIfAsked() {
        if (window_ && ::glfwWindowShouldClose(window_)) CloseWindow();
    }

    static void OnKey(GLFWwindow*, int key, int, int action, int) {
        Glfw3& self = Self();
        const int classic = KeyFromGlfw3(key);
        if (classic == KEY_UNKNOWN) return;
        if (action == GLFW_REPEAT) {
            if (!self.key_repeat_) return;
            action = GLFW_PRESS;
        }
        self.DeliverKey(classic, action == GLFW_PRESS ? PRESS : RELEASE);
    }

    static void OnChar(GLFWwindow*, unsigned int codepoint) {
        Self().DeliverChar(static_cast<int>(codepoint), PRESS);
    }

    static void OnMouseButton(GLFWwindow*, int button, int action, int) {
        Self().DeliverMouseButton(button, action == GLFW_PRESS ? PRESS : RELEASE);
    }

    static void OnCursorPos(GLFWwindow*, double wx, double wy) {
        Glfw3& self = Self();
        int x = 0, y = 0;
        self.ToPixels(wx, wy, &x, &y);
        self.DeliverMousePos(x, y);
    }

    static void OnClose(GLFWwindow* window) {
        ::glfwSetWindowShouldClose(window, Self().AskWindowClose() ? GLFW_TRUE : GLFW_FALSE);
    }

    std::string failure_;
    int refresh_rate_hint_ = 0;
    int no_resize_hint_ = 0;
    bool key_repeat_ = false;
};

}  // namespace glfw2
