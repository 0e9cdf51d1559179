#include "host/scripted_backend.h"

#include <algorithm>

namespace glfw2 {

void ScriptedBackend::Queue(double at, std::function<void()> happen) {
    const double when = at < 0 ? now_ : at;
    // Stable in time: events at the same moment keep their queueing order.
    const auto after = std::upper_bound(queue_.begin(), queue_.end(), when,
                                        [](double t, const Event& e) { return t < e.at; });
    queue_.insert(after, Event{when, std::move(happen)});
}

void ScriptedBackend::QueueKey(int key, int action, double at) {
    Queue(at, [this, key, action] {
        SetKeyState(key, action);
        DeliverKey(key, action);
    });
}

void ScriptedBackend::QueueChar(int character, int action, double at) {
    Queue(at, [this, character, action] { DeliverChar(character, action); });
}

void ScriptedBackend::QueueMouseButton(int button, int action, double at) {
    Queue(at, [this, button, action] { DeliverMouseButton(button, action); });
}

void ScriptedBackend::QueueMouseMove(int x, int y, double at) {
    Queue(at, [this, x, y] {
        mouse_x_ = x;
        mouse_y_ = y;
        DeliverMousePos(x, y);
    });
}

void ScriptedBackend::QueueCloseRequest(double at) {
    Queue(at, [this] {
        if (open_ && AskWindowClose()) CloseWindow();
    });
}

void ScriptedBackend::QueueFocus(bool focused, double at) {
    Queue(at, [this, focused] { focused_ = focused; });
}

void ScriptedBackend::QueueIconify(bool iconified, double at) {
    Queue(at, [this, iconified] { iconified_ = iconified; });
}

void ScriptedBackend::QueueResize(int width, int height, double at) {
    Queue(at, [this, width, height] {
        width_ = width;
        height_ = height;
    });
}

void ScriptedBackend::SetKeyState(int key, int action) {
    if (key >= 0 && key <= KEY_LAST) keys_[key] = static_cast<unsigned char>(action);
}

int ScriptedBackend::OpenWindow(int width, int height, int redbits, int greenbits, int bluebits,
                                int alphabits, int depthbits, int stencilbits, int mode) {
    openings.push_back({width, height, redbits, greenbits, bluebits, alphabits, depthbits, stencilbits, mode,
                        refresh_rate_hint_, no_resize_hint_});
    refresh_rate_hint_ = 0;
    no_resize_hint_ = 0;
    if (open_) return 0;
    open_ = true;
    width_ = width;
    height_ = height;
    return 1;
}

void ScriptedBackend::OpenWindowHint(int target, int hint) {
    if (target == REFRESH_RATE) refresh_rate_hint_ = hint;
    if (target == WINDOW_NO_RESIZE) no_resize_hint_ = hint;
}

void ScriptedBackend::CloseWindow() {
    if (!open_) return;
    open_ = false;
    ++closes;
}

void ScriptedBackend::SwitchWindowMode(int width, int height, int mode) {
    mode_switches.push_back({width, height, mode, refresh_rate_hint_});
    refresh_rate_hint_ = 0;
    no_resize_hint_ = 0;
    if (!open_) return;
    width_ = width;
    height_ = height;
}

void ScriptedBackend::GetWindowSize(int* width, int* height) {
    *width = open_ ? width_ : 0;
    *height = open_ ? height_ : 0;
}

int ScriptedBackend::GetWindowParam(int param) {
    if (!open_) return 0;
    switch (param) {
        case OPENED: return 1;
        case ACTIVE: return focused_ && !iconified_;
        case ICONIFIED: return iconified_;
        default: return 0;
    }
}

int ScriptedBackend::GetVideoModes(VidMode* list, int maxcount) {
    const int n = std::clamp(static_cast<int>(video_modes_.size()), 0, std::max(maxcount, 0));
    std::copy(video_modes_.begin(), video_modes_.begin() + n, list);
    return n;
}

void ScriptedBackend::DeliverDue() {
    // An event may queue others; take them one at a time.
    while (!queue_.empty() && queue_.front().at <= now_) {
        const Event event = queue_.front();
        queue_.erase(queue_.begin());
        event.happen();
    }
}

void ScriptedBackend::PollEvents() {
    ++polls;
    DeliverDue();
}

void ScriptedBackend::WaitEvents() {
    ++waits;
    // Blocks until something happens: the clock moves to the next event.
    // With nothing queued there is nothing to wait for, and it returns at once.
    if (!queue_.empty() && queue_.front().at > now_) now_ = queue_.front().at;
    DeliverDue();
}

int ScriptedBackend::GetKey(int key) {
    if (key < 0 || key > KEY_LAST) return RELEASE;
    return keys_[key];
}

void ScriptedBackend::GetMousePos(int* x, int* y) {
    *x = mouse_x_;
    *y = mouse_y_;
}

const ScriptedBackend::Joystick* ScriptedBackend::PresentJoystick(int joy) const {
    if (joy < 0 || joy > JOYSTICK_LAST || !joysticks_[joy].present) return nullptr;
    return &joysticks_[joy];
}

int ScriptedBackend::GetJoystickParam(int joy, int param) {
    const Joystick* stick = PresentJoystick(joy);
    if (!stick) return 0;
    switch (param) {
        case PRESENT: return 1;
        case AXES: return static_cast<int>(stick->axes.size());
        case BUTTONS: return static_cast<int>(stick->buttons.size());
        default: return 0;
    }
}

int ScriptedBackend::GetJoystickPos(int joy, float* pos, int numaxes) {
    const Joystick* stick = PresentJoystick(joy);
    if (!stick) return 0;
    const int n = std::min(numaxes, static_cast<int>(stick->axes.size()));
    std::copy(stick->axes.begin(), stick->axes.begin() + n, pos);
    return n;
}

int ScriptedBackend::GetJoystickButtons(int joy, unsigned char* buttons, int numbuttons) {
    const Joystick* stick = PresentJoystick(joy);
    if (!stick) return 0;
    const int n = std::min(numbuttons, static_cast<int>(stick->buttons.size()));
    std::copy(stick->buttons.begin(), stick->buttons.begin() + n, buttons);
    return n;
}

void ScriptedBackend::Sleep(double seconds) {
    sleeps.push_back(seconds);
    if (seconds > 0) now_ += seconds;
}

void ScriptedBackend::Switch(int token, bool on) {
    if (token == KEY_REPEAT) key_repeat = on;
    if (token == AUTO_POLL_EVENTS) auto_poll_events = on;
    if (token == MOUSE_CURSOR) mouse_cursor = on;
}

}  // namespace glfw2
