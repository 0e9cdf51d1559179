// The browser's side of host/platform.h, and what the browser's window
// system does differently from the desktop's: the page paces the frames, the
// page's visibility stands for the window's focus, the canvas follows the
// page's size, links open in a new tab and the state file lives in the
// browser's persistent storage (mounted and loaded by web/start.js before
// the program starts).
#include <emscripten.h>
#include <emscripten/html5.h>

#include "host/file_layout.h"
#include "host/glfw3_backend.h"
#include "host/kzglfwgame.h"
#include "host/platform.h"

// The page's side of each difference, in JavaScript.
EM_JS(int, PageVisible, (), { return document.visibilityState === 'visible' ? 1 : 0; });
EM_JS(int, ScreenWidth, (), { return screen.width; });
EM_JS(int, ScreenHeight, (), { return screen.height; });

EM_JS(void, FollowFullscreen, (int fullscreen), {
    if (fullscreen && !document.fullscreenElement) {
        Module['canvas'].requestFullscreen().catch(function(error) {
            console.warn('Tarvolan could not go full screen: ' + error);
        });
    } else if (!fullscreen && document.fullscreenElement) {
        document.exitFullscreen();
    }
});

// The canvas's drawing size takes the size the page shows it at; the window
// system hears of it as a resized window.
EM_JS(void, FollowCanvasSize, (int width, int height), {
    const canvas = Module['canvas'];
    const shownWidth = canvas.clientWidth;
    const shownHeight = canvas.clientHeight;
    if (shownWidth > 0 && shownHeight > 0 && (shownWidth != width || shownHeight != height)) {
        Browser.setCanvasSize(shownWidth, shownHeight);
    }
});

EM_JS(void, SetCanvasSize, (int width, int height), { Browser.setCanvasSize(width, height); });

EM_JS(void, OpenTab, (const char* address), { window.open(UTF8ToString(address), '_blank', 'noopener'); });

EM_JS(void, KeepState, (), {
    FS.syncfs(false, function(error) {
        if (error) console.error('Tarvolan could not keep the saved state: ' + error);
    });
});

EM_JS(void, EndPage, (), { Module['ended'](0); });

namespace {

class WebWindowSystem final : public glfw2::Glfw3 {
public:
    // Full screen is the page's: the canvas asks for it (the player's key
    // press allows that) and leaves it for a window; its size follows.
    int OpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits,
                   int depthbits, int stencilbits, int mode) override {
        FollowFullscreen(mode == glfw2::FULLSCREEN ? 1 : 0);
        return Glfw3::OpenWindow(width, height, redbits, greenbits, bluebits, alphabits, depthbits, stencilbits,
                                 glfw2::WINDOW);
    }

    // The canvas keeps its context: it asks for full screen or leaves it and
    // takes the new size, which the shown size then corrects.
    void SwitchWindowMode(int width, int height, int mode) override {
        if (!window_) return;
        FollowFullscreen(mode == glfw2::FULLSCREEN ? 1 : 0);
        SetCanvasSize(width, height);
    }

    int GetWindowParam(int param) override {
        if (param == glfw2::ACTIVE) return window_ && PageVisible() != 0 ? 1 : 0;
        return Glfw3::GetWindowParam(param);
    }

    // The page shows the canvas at the size its style gives it; the window
    // (and so the game's layout) takes that size in pixels.
    void PollEvents() override {
        Glfw3::PollEvents();
        if (!window_) return;
        int width = 0, height = 0;
        GetWindowSize(&width, &height);
        FollowCanvasSize(width, height);
    }

    // The page cannot block: events arrive between frames.
    void WaitEvents() override { PollEvents(); }

    // The next animation frame is the wait.
    void Sleep(double) override {}

    // The screen at its size in page pixels; the window system knows none.
    void GetDesktopMode(glfw2::VidMode* mode) override {
        *mode = glfw2::VidMode{ScreenWidth(), ScreenHeight(), 8, 8, 8};
    }

    int GetVideoModes(glfw2::VidMode* list, int maxcount) override {
        if (maxcount <= 0) return 0;
        GetDesktopMode(list);
        return 1;
    }
};

void RunOneFrame(void* game) {
    if (static_cast<KzGlfwGame*>(game)->RunFrame()) return;
    emscripten_cancel_main_loop();
    EndPage();
}

// A hidden page suspends the game at once, as a lost focus does; it resumes
// with the first frame after the page shows again.
EM_BOOL OnVisibilityChange(int, const EmscriptenVisibilityChangeEvent*, void* game) {
    static_cast<KzGlfwGame*>(game)->UpdateEvents();
    return EM_FALSE;
}

}  // namespace

namespace glfw2 {

Backend& Glfw3Backend() {
    static WebWindowSystem backend;
    return backend;
}

}  // namespace glfw2

namespace host_platform {

void Prepare() { UseFileLayout(BrowserLayout()); }

void RunFrames(KzGlfwGame& game) {
    emscripten_set_visibilitychange_callback(&game, EM_FALSE, OnVisibilityChange);
    emscripten_set_main_loop_arg(RunOneFrame, &game, 0, 1);
}

void OpenUrl(const std::string& address) {
    OpenTab(address.c_str());
}

void StateSaved() {
    KeepState();
}

}  // namespace host_platform
