// The desktop host: the window, the host loop, display modes, files, and the
// translation of window-system input, all through the windowing facade.
#pragma once

#include "host/kzgame.h"
#include "host/audio_data.h"
#include "host/picture_decoder.h"

// Bumped each time a window, and with it a new OpenGL context, is opened (a
// switch to or from full screen keeps both); a surface's texture belongs to
// the context current when it was made.
extern int glfwGraphicsSeq;

class KzGlfwVideoMode : public Object {
public:
    int width = 0;
    int height = 0;
    int red = 0;
    int green = 0;
    int blue = 0;
};

class KzGlfwGame : public KzGame {
public:
    KzGlfwGame();
    ~KzGlfwGame() override;

    void SetUpdateRate(int hertz) override;
    int Millisecs() override;
    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                      Array<bool> buttons) override;
    void OpenUrl(String url) override;
    int SaveState(String state) override;
    void SetMouseVisible(bool visible) override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    void SetDeviceWindow(int width, int height, int flags) override;
    Array<KzDisplayMode*> GetDisplayModes() override;
    KzDisplayMode* GetDesktopMode() override;
    void SetSwapInterval(int interval) override;
    String PathToFilePath(String path) override;
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
    void DecodeImagesAhead(Array<String> paths) override;
    void DecodeSoundsAhead(Array<String> paths) override;
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override;

    virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                               int depth, int stencil, bool fullscreen);
    virtual KzGlfwVideoMode* GetGlfwDesktopMode();
    virtual Array<KzGlfwVideoMode*> GetGlfwVideoModes();
    // Opens the first window, starts the game and runs frames until the
    // window closes (in the browser: until the page ends the program).
    virtual void Run();
    // One frame: render, wait for the next update, events, due updates.
    // False once the window is closed.
    bool RunFrame();

    // The event and focus handling of one loop pass.
    void UpdateEvents();

    // Keyboard translation: the program's key code for a facade key code (0
    // for keys the program ignores), and the character an editing key types.
    static int TransKey(int glfwKey);
    static int KeyToChar(int key);

    // The facade's callbacks.
    static void OnKey(int key, int action);
    static void OnChar(int character, int action);
    static void OnMouseButton(int button, int action);
    static void OnMousePos(int x, int y);
    static int OnWindowClose();

    static KzGlfwGame* _glfwGame;

protected:
    double _updatePeriod = 0.0;
    double _nextUpdate = 0.0;
    int _swapInterval = -1;

private:
    void RunUpdates();
    void ReleaseHeldKeys();

    // On a worker thread where the build has threads (TARVOLAN_DECODE_THREAD).
    PictureDecoder _pictures{TARVOLAN_DECODE_THREAD != 0};
    SoundDecoder _sounds{TARVOLAN_DECODE_THREAD != 0};
    [[noreturn]] static void EndWithoutWindow(int width, int height);
};

// What the program layer supplies to Main: the module initialiser and the
// creation of the application object (which installs its delegate).
struct KzProgram {
    void (*initModules)() = nullptr;
    void (*createApplication)() = nullptr;
};

class KzZarnikGame : public KzGlfwGame {
public:
    // The program: starts the window system and the runtime, builds the
    // application through `program`, runs the loop. Returns 0; fatal paths
    // end the process instead.
    static int Main(int argc, const char** argv, const KzProgram& program);
};
