// The desktop host's window, loop and platform services.
#include "host/kzglfwgame.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/glfw_facade.h"
#include "host/platform.h"

int glfwGraphicsSeq = 0;

KzGlfwGame* KzGlfwGame::_glfwGame = nullptr;

namespace {

constexpr int kMaxVideoModes = 1024;
constexpr int kMaxCatchUpUpdates = 4;
constexpr int kWindowRefreshRate = 60;
const char kWindowTitle[] = "Tarvolan";

std::vector<glfw2::VidMode> VideoModes() {
    std::vector<glfw2::VidMode> modes(kMaxVideoModes);
    modes.resize(glfw2::glfwGetVideoModes(modes.data(), kMaxVideoModes));
    return modes;
}

KzDisplayMode* NewDisplayMode(const glfw2::VidMode& mode) {
    auto* display = new KzDisplayMode();
    display->width = mode.Width;
    display->height = mode.Height;
    return display;
}

KzGlfwVideoMode* NewVideoMode(const glfw2::VidMode& mode) {
    auto* video = new KzGlfwVideoMode();
    video->width = mode.Width;
    video->height = mode.Height;
    video->red = mode.RedBits;
    video->green = mode.GreenBits;
    video->blue = mode.BlueBits;
    return video;
}

// A new array holds white objects only, so filling it needs no barrier.
template <class T>
Array<T*> ModesArray(T* (*make)(const glfw2::VidMode&)) {
    const std::vector<glfw2::VidMode> modes = VideoModes();
    Array<T*> result(static_cast<int>(modes.size()));
    for (int i = 0; i < result.Length(); ++i) result[i] = make(modes[i]);
    return result;
}

}  // namespace

KzGlfwGame::KzGlfwGame() { _glfwGame = this; }

KzGlfwGame::~KzGlfwGame() {
    if (_glfwGame == this) _glfwGame = nullptr;
}

void KzGlfwGame::SetUpdateRate(int hertz) {
    _updateRate = hertz;
    if (hertz != 0) _updatePeriod = 1.0 / hertz;
    _nextUpdate = 0;
}

int KzGlfwGame::Millisecs() { return static_cast<int>(glfw2::glfwGetTime() * 1000.0); }

// Only an address that is one safe argument is shown: an argument starting
// with "-" would be read as an option.
void KzGlfwGame::OpenUrl(String url) {
    std::string address;
    url.AppendUtf8(address);
    if (address.empty() || address.find('\0') != std::string::npos) return;
    if (address[0] == '-') return;
    host_platform::OpenUrl(address);
}

int KzGlfwGame::SaveState(String state) {
    const int result = KzGame::SaveState(state);
    if (result == 0) host_platform::StateSaved();
    return result;
}

void KzGlfwGame::SetMouseVisible(bool visible) {
    if (visible) {
        glfw2::glfwEnable(glfw2::MOUSE_CURSOR);
    } else {
        glfw2::glfwDisable(glfw2::MOUSE_CURSOR);
    }
}

int KzGlfwGame::GetDeviceWidth() {
    int width = 0, height = 0;
    glfw2::glfwGetWindowSize(&width, &height);
    return width;
}

int KzGlfwGame::GetDeviceHeight() {
    int width = 0, height = 0;
    glfw2::glfwGetWindowSize(&width, &height);
    return height;
}

void KzGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

Array<KzDisplayMode*> KzGlfwGame::GetDisplayModes() { return ModesArray<KzDisplayMode>(NewDisplayMode); }

KzDisplayMode* KzGlfwGame::GetDesktopMode() {
    glfw2::VidMode desktop;
    glfw2::glfwGetDesktopMode(&desktop);
    return NewDisplayMode(desktop);
}

void KzGlfwGame::SetSwapInterval(int interval) {
    _swapInterval = interval;
    if (interval >= 0) glfw2::glfwSwapInterval(interval);
}

KzGlfwVideoMode* KzGlfwGame::GetGlfwDesktopMode() {
    glfw2::VidMode desktop;
    glfw2::glfwGetDesktopMode(&desktop);
    return NewVideoMode(desktop);
}

Array<KzGlfwVideoMode*> KzGlfwGame::GetGlfwVideoModes() { return ModesArray<KzGlfwVideoMode>(NewVideoMode); }

// Without a window the program has nothing to run: it says why, with the
// window system's reason, and ends as a failed start does.
void KzGlfwGame::EndWithoutWindow(int width, int height) {
    String message = String("could not open a ") + String(width) + String(" x ") + String(height) +
                     String(" OpenGL window");
    const std::string reason = glfw2::glfwLastFailure();
    if (!reason.empty()) message = message + String(": ") + String(reason.c_str());
    kzPrint(message);
    // Standard output may go nowhere when started from a desktop menu.
    std::string line;
    message.AppendUtf8(line);
    std::fprintf(stderr, "%s\n", line.c_str());
    glfw2::glfwTerminate();
    std::exit(-1);
}

// The game sees a key-up for every key held while the window changes.
void KzGlfwGame::ReleaseHeldKeys() {
    for (int glfwKey = 0; glfwKey <= glfw2::KEY_LAST; ++glfwKey) {
        const int key = TransKey(glfwKey);
        if (key != 0 && glfw2::glfwGetKey(glfwKey) == glfw2::PRESS) KeyEvent(kEventKeyUp, key);
    }
}

void KzGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen) {
    ReleaseHeldKeys();

    glfw2::VidMode desktop;
    glfw2::glfwGetDesktopMode(&desktop);

    // An open window moves to or from full screen and keeps its OpenGL
    // context, so every texture stays; only the first window is opened.
    glfw2::glfwOpenWindowHint(glfw2::REFRESH_RATE, kWindowRefreshRate);
    glfw2::glfwOpenWindowHint(glfw2::WINDOW_NO_RESIZE, 0);
    const int mode = fullscreen ? glfw2::FULLSCREEN : glfw2::WINDOW;
    if (glfw2::glfwGetWindowParam(glfw2::OPENED)) {
        glfw2::glfwSwitchWindowMode(width, height, mode);
    } else {
        if (!glfw2::glfwOpenWindow(width, height, red, green, blue, alpha, depth, stencil, mode)) {
            EndWithoutWindow(width, height);
        }
        ++glfwGraphicsSeq;
    }
    if (!fullscreen) {
        glfw2::glfwSetWindowPos((desktop.Width - width) / 2, (desktop.Height - height) / 2);
        glfw2::glfwSetWindowTitle(kWindowTitle);
    }

    if (_swapInterval >= 0) glfw2::glfwSwapInterval(_swapInterval);

    glfw2::glfwEnable(glfw2::KEY_REPEAT);
    glfw2::glfwDisable(glfw2::AUTO_POLL_EVENTS);

    glfw2::glfwSetKeyCallback(OnKey);
    glfw2::glfwSetCharCallback(OnChar);
    glfw2::glfwSetMouseButtonCallback(OnMouseButton);
    glfw2::glfwSetMousePosCallback(OnMousePos);
    glfw2::glfwSetWindowCloseCallback(OnWindowClose);
}

// Closing is the application's decision: it hears the close key and the
// window stays open.
int KzGlfwGame::OnWindowClose() {
    _game->KeyEvent(kEventKeyDown, kKeyClose);
    _game->KeyEvent(kEventKeyUp, kKeyClose);
    return 0;
}

void KzGlfwGame::UpdateEvents() {
    if (_suspended) {
        glfw2::glfwWaitEvents();
    } else {
        glfw2::glfwPollEvents();
    }

    const bool active = glfw2::glfwGetWindowParam(glfw2::ACTIVE) != 0;
    if (!active && !_suspended) {
        SuspendGame();
        _nextUpdate = 0;
    } else if (active && _suspended) {
        ResumeGame();
        _nextUpdate = 0;
    }
}

// Due updates at the fixed rate, at most four per frame. A longer backlog is
// dropped and timing restarts from the next frame, so a stall never causes a
// burst.
void KzGlfwGame::RunUpdates() {
    if (_updateRate == 0) {
        UpdateGame();
        return;
    }
    if (_nextUpdate == 0) _nextUpdate = glfw2::glfwGetTime();
    for (int i = 0; i < kMaxCatchUpUpdates; ++i) {
        UpdateGame();
        if (_nextUpdate == 0) return;  // the update changed the rate or suspended
        _nextUpdate += _updatePeriod;
        if (_nextUpdate > glfw2::glfwGetTime()) return;
    }
    _nextUpdate = 0;
}

void KzGlfwGame::Run() {
    SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    StartGame();
    host_platform::RunFrames(*this);
}

bool KzGlfwGame::RunFrame() {
    if (!glfw2::glfwGetWindowParam(glfw2::OPENED)) return false;
    RenderGame();
    glfw2::glfwSwapBuffers();

    if (_nextUpdate != 0) {
        const double delay = _nextUpdate - glfw2::glfwGetTime();
        if (delay > 0) glfw2::glfwSleep(delay);
    }

    UpdateEvents();
    if (!_suspended) RunUpdates();
    return true;
}
