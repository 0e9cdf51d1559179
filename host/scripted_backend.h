// A facade backend driven by a script instead of a window system, for tests
// and headless runs: a clock that only moves when told (sleeping moves it
// too), events queued for a given time and delivered by the next poll or wait
// that reaches it, focus and iconify changes, joysticks with given state, and
// a record of what the host asked of the window.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "host/glfw_facade.h"

namespace glfw2 {

class ScriptedBackend final : public Backend {
public:
    struct WindowOpening {
        int width, height, red, green, blue, alpha, depth, stencil, mode;
        int refresh_rate_hint, no_resize_hint;
    };
    struct ModeSwitch {
        int width, height, mode, refresh_rate_hint;
    };
    struct Position {
        int x, y;
    };
    struct Joystick {
        bool present = false;
        std::vector<float> axes;
        std::vector<unsigned char> buttons;  // PRESS or RELEASE each
    };

    // --- the script ---
    void Advance(double seconds) { now_ += seconds; }
    double Now() const { return now_; }

    // Events happen at the current time unless given one; a poll delivers
    // those whose time has come, a wait first moves the clock to the next one.
    void QueueKey(int key, int action, double at = -1);
    void QueueChar(int character, int action, double at = -1);
    void QueueMouseButton(int button, int action, double at = -1);
    void QueueMouseMove(int x, int y, double at = -1);
    void QueueCloseRequest(double at = -1);
    void QueueFocus(bool focused, double at = -1);
    void QueueIconify(bool iconified, double at = -1);
    // Resizes the open window (as a user dragging its border would).
    void QueueResize(int width, int height, double at = -1);

    void SetInitResult(int result) { init_result_ = result; }
    void SetDesktopMode(const VidMode& mode) { desktop_ = mode; }
    void SetVideoModes(std::vector<VidMode> modes) { video_modes_ = std::move(modes); }
    Joystick& JoystickAt(int joy) { return joysticks_.at(joy); }
    // Holds a key down without delivering an event (state only).
    void SetKeyState(int key, int action);

    // --- the record ---
    std::vector<WindowOpening> openings;
    std::vector<ModeSwitch> mode_switches;
    std::vector<std::string> titles;
    std::vector<Position> positions;
    std::vector<int> swap_intervals;
    std::vector<double> sleeps;
    int polls = 0;
    int waits = 0;
    int swaps = 0;
    int closes = 0;
    int terminations = 0;
    bool key_repeat = false;
    bool auto_poll_events = true;
    bool mouse_cursor = true;

    // --- Backend ---
    int Init() override { return init_result_; }
    void Terminate() override {
        open_ = false;
        ++terminations;
    }
    int OpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits,
                   int depthbits, int stencilbits, int mode) override;
    void OpenWindowHint(int target, int hint) override;
    void CloseWindow() override;
    void SwitchWindowMode(int width, int height, int mode) override;
    void SetWindowTitle(const char* title) override { titles.emplace_back(title); }
    void SetWindowPos(int x, int y) override { positions.push_back({x, y}); }
    void GetWindowSize(int* width, int* height) override;
    int GetWindowParam(int param) override;
    void SwapBuffers() override { ++swaps; }
    void SwapInterval(int interval) override { swap_intervals.push_back(interval); }
    int GetVideoModes(VidMode* list, int maxcount) override;
    void GetDesktopMode(VidMode* mode) override { *mode = desktop_; }
    void PollEvents() override;
    void WaitEvents() override;
    int GetKey(int key) override;
    void GetMousePos(int* x, int* y) override;
    int GetJoystickParam(int joy, int param) override;
    int GetJoystickPos(int joy, float* pos, int numaxes) override;
    int GetJoystickButtons(int joy, unsigned char* buttons, int numbuttons) override;
    double GetTime() override { return now_; }
    void Sleep(double seconds) override;
    void Enable(int token) override { Switch(token, true); }
    void Disable(int token) override { Switch(token, false); }

private:
    struct Event {
        double at;
        std::function<void()> happen;
    };

    void Queue(double at, std::function<void()> happen);
    void DeliverDue();
    void Switch(int token, bool on);
    const Joystick* PresentJoystick(int joy) const;

    double now_ = 0;
    int init_result_ = 1;
    bool open_ = false;
    bool focused_ = true;
    bool iconified_ = false;
    int width_ = 0, height_ = 0;
    int mouse_x_ = 0, mouse_y_ = 0;
    int refresh_rate_hint_ = 0, no_resize_hint_ = 0;
    VidMode desktop_{1920, 1080, 8, 8, 8};
    std::vector<VidMode> video_modes_;
    std::array<Joystick, JOYSTICK_LAST + 1> joysticks_{};
    std::array<unsigned char, KEY_LAST + 1> keys_{};
    std::vector<Event> queue_;
};

}  // namespace glfw2
