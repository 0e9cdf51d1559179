// A host on the scripted backend with a delegate that records what reaches it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/glfw_facade.h"
#include "host/kzglfwgame.h"
#include "host/scripted_backend.h"

// One forwarded event as the delegate saw it, and the scripted time it arrived.
struct Seen {
    std::string what;  // "start", "suspend", "resume", "update", "render", "key", "mouse", ...
    int event = 0;
    int data = 0;
    float x = 0, y = 0;
    double at = 0;

    bool operator==(const Seen& o) const {
        return what == o.what && event == o.event && data == o.data && x == o.x && y == o.y;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Seen& s) {
    return out << s.what << "(" << s.event << ", " << s.data << ", " << s.x << ", " << s.y << ")";
}

inline Seen Key(int event, int data) { return Seen{"key", event, data}; }
inline Seen Mouse(int event, int data, float x, float y) { return Seen{"mouse", event, data, x, y}; }

class RecordingDelegate : public KzGameDelegate {
public:
    std::vector<Seen> seen;
    std::function<void()> on_start, on_update, on_render;

    void StartGame() override { Note("start", on_start); }
    void SuspendGame() override { Note("suspend"); }
    void ResumeGame() override { Note("resume"); }
    void UpdateGame() override { Note("update", on_update); }
    void RenderGame() override { Note("render", on_render); }
    void DiscardGraphics() override { Note("discard"); }
    void KeyEvent(int event, int data) override { Note("key", {}, event, data); }
    void MouseEvent(int event, int data, float x, float y) override { Note("mouse", {}, event, data, x, y); }
    void TouchEvent(int event, int data, float x, float y) override { Note("touch", {}, event, data, x, y); }
    void MotionEvent(int event, int data, float x, float y, float) override { Note("motion", {}, event, data, x, y); }

    int Count(const std::string& what) const { return static_cast<int>(Only(what).size()); }
    std::vector<Seen> Only(const std::string& what) const {
        std::vector<Seen> out;
        for (const Seen& s : seen) {
            if (s.what == what) out.push_back(s);
        }
        return out;
    }

private:
    void Note(const char* what, const std::function<void()>& then = {}, int event = 0, int data = 0, float x = 0,
              float y = 0) {
        seen.push_back(Seen{what, event, data, x, y, glfw2::glfwGetTime()});
        if (then) then();
    }
};

// Counts the collection steps the gate runs.
class CountingGame : public KzGlfwGame {
public:
    int collections = 0;
    void gc_collect() override {
        ++collections;
        KzGlfwGame::gc_collect();
    }
};

class ScriptedHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        glfw2::UseBackend(&backend);
        backend.Advance(1.0);  // the loop reads a time of 0 as "timing not started"
        delegate = new RecordingDelegate();
        game.SetDelegate(delegate);
    }
    void TearDown() override {
        game.SetDelegate(nullptr);
        glfw2::UseBackend(nullptr);
    }

    // Ends the loop in the render of the given frame (which then suspends:
    // no window reads as not active).
    void StopAtFrame(int frame) {
        delegate->on_render = [this, frame] {
            if (delegate->Count("render") == frame) glfw2::glfwCloseWindow();
        };
    }

    glfw2::ScriptedBackend backend;
    CountingGame game;
    RecordingDelegate* delegate = nullptr;
};
