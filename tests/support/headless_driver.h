// The game without a window system: c_MyApp runs through the real
// c_GameDelegate and the host's event gate on the scripted windowing backend,
// with OpenGL recorded and OpenAL on its null backend. A test feeds input and
// clock steps per update, then reads the game's fields, its display list, the
// OpenGL calls and the files the game asked for.
//
// One driver at a time per process. It works in a scratch directory of its
// own (the state file lands there); a test that wants assets writes them under
// DataDir(). Ending the program (F4, the close box) ends the process, so such
// tests run the driver in a child process.
#pragma once

#include <string>
#include <vector>

#include "devices/gl_recorder.h"
#include "game/myapp.h"
#include "host/glfw_facade.h"
#include "host/kzglfwgame.h"
#include "host/scripted_backend.h"
#include "tests/support/scratch_files.h"

// One display-list record, read back by field.
struct DrawRecord {
    float kind = 0;  // image id, kNoValue (rectangle) or kOvalRecord
    float x = 0, y = 0;
    float rotation = 0;
    float sizeX = 0, sizeY = 0;  // scale, width or radius
    float frame = 0;
    float alpha = 0;
    float red = 0, green = 0, blue = 0;
    float blend = 0;

    bool IsRect() const { return kind == kNoValue; }
    bool IsOval() const { return kind == kOvalRecord; }
};

// One drawing call the graphics device received, with the device's state at
// that moment.
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

// A file the game asked the host for, as the host received its name.
struct FileRequest {
    enum Kind { kImage, kSound } kind;
    std::string path;
};

class HeadlessDriver {
public:
    // Opens a window of the given size and starts the game (p_OnCreate runs);
    // no update has run yet.
    explicit HeadlessDriver(int width = 640, int height = 480);
    ~HeadlessDriver();
    HeadlessDriver(const HeadlessDriver&) = delete;
    HeadlessDriver& operator=(const HeadlessDriver&) = delete;

    // --- running ---
    // One update: the clock moves on by one update period, queued events are
    // delivered, focus is followed, and the update runs unless suspended.
    void Update();
    void Updates(int count);
    // One rendered frame, through the gate, then the buffer swap.
    void Render();
    // An update followed by a render, as the host loop alternates them.
    void Frame();
    void Frames(int count);
    // Updates until loading is over (at most `bound`); whether it finished.
    bool FinishLoading(int bound = 64);

    // --- input, delivered at the next update ---
    // A press and release within one update: one hit.
    void Tap(int glfwKey);
    void Press(int glfwKey);
    void Release(int glfwKey);
    void CloseBox();
    void Focus(bool focused);
    void Iconify(bool iconified);
    void Resize(int width, int height);
    void MoveMouse(int x, int y);
    void Click(int button, bool down);

    // --- what there is to see ---
    c_MyApp& App() const;
    glfw2::ScriptedBackend& Backend() { return backend_; }
    GlRecorder& Gl() { return gl_; }
    KzGlfwGame& Host() const;
    const std::vector<FileRequest>& Requests() const;
    void ClearRequests();
    // The file names asked for, in order, without the data folder's prefix.
    std::vector<std::string> RequestedFiles(FileRequest::Kind kind) const;
    std::vector<DrawRecord> DisplayList() const;
    // What the graphics device was asked to draw since the last clear; noted
    // only while watching (the default).
    const std::vector<DeviceDraw>& Draws() const;
    void ClearDraws();
    void WatchDraws(bool on);
    // Collector bytes allocated by the events the host forwarded so far.
    long long CollectorBytes() const;
    // Where the game looks for its assets (created empty).
    std::string DataDir() const { return scratch_.File("data"); }
    std::string StateFile() const { return scratch_.File(".zarnikstate"); }

private:
    std::string previous_dir_;
    ScratchDir scratch_;
    glfw2::ScriptedBackend backend_;
    GlRecorder gl_;
};
