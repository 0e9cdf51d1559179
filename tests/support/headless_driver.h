// The game without a window system: c_MyApp through the real c_GameDelegate
// and the host's event gate on the scripted windowing backend, OpenGL
// recorded, OpenAL on its null backend.
//
// One driver at a time per process, working in its own scratch directory
// (assets go under DataDir()). Ending the program ends the process, so such
// tests run the driver in a child process.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "devices/gl_recorder.h"
#include "game/myapp.h"
#include "host/glfw_facade.h"
#include "host/kzglfwgame.h"
#include "host/scripted_backend.h"
#include "tests/support/scratch_files.h"

struct DrawRecord {
    float kind = 0;  // image id, kNoValue (rectangle) or kOvalRecord
    float x = 0, y = 0, rotation = 0, sizeX = 0, sizeY = 0, frame = 0;  // sizes: scale, width or radius
    float alpha = 0, red = 0, green = 0, blue = 0, blend = 0;

    bool IsRect() const { return kind == kNoValue; }
    bool IsOval() const { return kind == kOvalRecord; }
};

// A drawing call the graphics device received, with its state at that moment.
struct DeviceDraw {
    enum Kind { kRect, kOval, kImage } kind;
    float x = 0, y = 0;  // position given to the device
    float w = 0, h = 0;  // rectangle and oval size; an image's frame size
    int srcX = 0, srcY = 0;  // an image frame's corner in its surface
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;  // the device's transform
    float red = 0, green = 0, blue = 0, alpha = 0;
    int blend = 0;  // 0 premultiplied alpha, 1 additive

    // Where the transform takes a point given to the device.
    float MapX(float px, float py) const { return a * px + c * py + tx; }
    float MapY(float px, float py) const { return b * px + d * py + ty; }
};

struct FileRequest {
    enum Kind { kImage, kSound } kind;
    std::string path;
};

class HeadlessDriver {
public:
    // Opens the window and runs p_OnCreate; no update has run yet. With a
    // `dataFolder`, the scratch data folder is a link to it.
    explicit HeadlessDriver(int width = 640, int height = 480, const std::string& dataFolder = "");
    ~HeadlessDriver();
    HeadlessDriver(const HeadlessDriver&) = delete;
    HeadlessDriver& operator=(const HeadlessDriver&) = delete;

    // The clock moves on one update period, queued events are delivered and
    // the update runs unless suspended.
    void Update();
    void Updates(int count);
    void Render();
    void Frame();  // an update, then a render
    void Frames(int count);
    // Frames until loading is over (at most `bound`); whether it finished.
    bool FinishLoading(int bound = 64);

    // Input, delivered at the next update. A tap is one hit.
    void Tap(int glfwKey);
    void Press(int glfwKey);
    void Release(int glfwKey);
    void Focus(bool focused);
    void Iconify(bool iconified);
    void Resize(int width, int height);

    c_MyApp& App() const;
    glfw2::ScriptedBackend& Backend() { return backend_; }
    GlRecorder& Gl() { return gl_; }
    KzGlfwGame& Host() const;
    void ClearRequests();
    // The files asked for, in order, without the data folder's prefix.
    std::vector<std::string> RequestedFiles(FileRequest::Kind kind) const;
    std::vector<DrawRecord> DisplayList() const;
    // The device's drawing calls since the last clear, while watching (the
    // default).
    const std::vector<DeviceDraw>& Draws() const;
    void ClearDraws();
    void WatchDraws(bool on);
    // Collector bytes allocated over `frames` frames by their updates (each
    // run by `update`) and by the renders after them, counted per forwarded
    // event.
    struct FrameBytes { long long updates = 0, renders = 0; };
    FrameBytes CollectorBytesOfFrames(int frames, const std::function<void()>& update);
    std::string DataDir() const { return scratch_.File("data"); }
    std::string StateFile() const { return scratch_.File(".zarnikstate"); }

private:
    ScratchWorkingDir scratch_;
    glfw2::ScriptedBackend backend_;
    GlRecorder gl_;
};
