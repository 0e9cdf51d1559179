// The host loop's timing, suspension and window rules, and the event gate,
// on the scripted backend.
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "tests/support/child_process.h"
#include "tests/unit/host/host_support.h"

namespace {

constexpr double kPeriod60 = 1.0 / 60;

class HostLoopTest : public ScriptedHostTest {
protected:
    // Updates per rendered frame (frame k's updates follow its render),
    // leaving out the last frame, which closed the window.
    std::vector<int> UpdatesPerFrame() const {
        std::vector<int> counts;
        for (const Seen& s : delegate->seen) {
            if (s.what == "render") counts.push_back(0);
            if (s.what == "update" && !counts.empty()) ++counts.back();
        }
        counts.pop_back();
        return counts;
    }

    std::vector<std::string> Order(const std::vector<Seen>& seen) const {
        std::vector<std::string> out;
        for (const Seen& s : seen) out.push_back(s.what);
        return out;
    }
};

TEST_F(HostLoopTest, AFrameOf200msRunsFourUpdatesThenRestartsTimingWithoutABurst) {
    delegate->on_start = [this] { game.SetUpdateRate(60); };
    delegate->on_render = [this] {
        const int frame = delegate->Count("render");
        backend.Advance(frame == 5 ? 0.2 : 0.001);
        if (frame == 9) glfw2::glfwCloseWindow();
    };
    game.Run();

    EXPECT_EQ(UpdatesPerFrame(), std::vector<int>({1, 1, 1, 1, 4, 1, 1, 1}));
    // Frames 5 and 6 do not sleep: the stall left nothing to wait for, and
    // frame 6 restarts timing at its own time, a period before frame 7's.
    EXPECT_EQ(backend.sleeps.size(), 6u);
    const std::vector<Seen> updates = delegate->Only("update");
    EXPECT_NEAR(updates[8].at - updates[7].at, 0.001, 1e-9);
    EXPECT_NEAR(updates[9].at - updates[8].at, kPeriod60, 1e-9);
}

TEST_F(HostLoopTest, ARateChangeInsideAnUpdateEndsTheCatchUp) {
    delegate->on_start = [this] { game.SetUpdateRate(60); };
    delegate->on_update = [this] {
        if (delegate->Count("update") == 4) game.SetUpdateRate(30);
    };
    delegate->on_render = [this] {
        const int frame = delegate->Count("render");
        if (frame == 3) backend.Advance(0.2);  // four updates would be due
        if (frame == 7) glfw2::glfwCloseWindow();
    };
    game.Run();

    // Update 4 is the second of frame 3's catch-up; the change stops it there.
    EXPECT_EQ(UpdatesPerFrame(), std::vector<int>({1, 1, 2, 1, 1, 1}));
    const std::vector<Seen> updates = delegate->Only("update");
    EXPECT_NEAR(updates[5].at - updates[4].at, 1.0 / 30, 1e-9);
}

TEST_F(HostLoopTest, LosingFocusSuspendsOnceAndRegainingItResumesOnce) {
    delegate->on_start = [this] { game.SetUpdateRate(60); };
    const double t0 = backend.Now();
    backend.QueueFocus(false, t0 + 0.1);
    backend.QueueMouseMove(10, 10, t0 + 0.5);  // wake-ups while unfocused
    backend.QueueIconify(true, t0 + 0.7);
    backend.QueueIconify(false, t0 + 0.8);
    backend.QueueFocus(true, t0 + 1.0);
    delegate->on_render = [this, t0] {
        if (glfw2::glfwGetTime() > t0 + 1.2) glfw2::glfwCloseWindow();
    };
    game.Run();

    // From the suspension to the first update after it.
    std::vector<std::string> from_suspend;
    double first_update = 0;
    for (const Seen& s : delegate->seen) {
        if (s.what == "suspend" || !from_suspend.empty()) from_suspend.push_back(s.what);
        if (s.what == "update" && !from_suspend.empty()) {
            first_update = s.at;
            break;
        }
    }
    // One render after each wake-up of the wait, never an update, one resume.
    EXPECT_EQ(from_suspend, std::vector<std::string>({"suspend", "render", "mouse", "render", "render", "render",
                                                      "resume", "update"}));
    EXPECT_EQ(backend.waits, 4);
    EXPECT_DOUBLE_EQ(first_update, t0 + 1.0) << "resuming restarts timing from the moment of the resume";
    EXPECT_EQ(delegate->Count("resume"), 1);
    EXPECT_EQ(delegate->Count("suspend"), 2) << "the frame that closes the window suspends too";
}

TEST_F(HostLoopTest, TheCloseBoxSendsTheCloseKeyAndTheWindowStaysOpen) {
    backend.QueueCloseRequest();
    StopAtFrame(10);
    game.Run();
    EXPECT_EQ(delegate->Only("key"), std::vector<Seen>({Key(1, kKeyClose), Key(2, kKeyClose)}));
    // The loop went on; the only close is the test's own.
    EXPECT_EQ(std::vector<int>({delegate->Count("render"), backend.closes}), std::vector<int>({10, 1}));
}

TEST_F(HostLoopTest, SwapIntervalMinusOneNeverReachesTheWindow) {
    StopAtFrame(2);
    game.Run();
    game.SetSwapInterval(-1);
    game.SetDeviceWindow(320, 200, 0);
    EXPECT_TRUE(backend.swap_intervals.empty());
    game.SetSwapInterval(1);
    game.SetDeviceWindow(320, 200, 0);
    EXPECT_EQ(backend.swap_intervals, std::vector<int>({1, 1}));  // now and for the new window
}

TEST_F(HostLoopTest, TheGateForwardsNothingBeforeStartAndOnlyRendersAndInputWhileSuspended) {
    game.KeyEvent(1, 65);
    game.MouseEvent(4, 0, 1, 2);
    game.TouchEvent(7, 0, 1, 2);
    game.MotionEvent(10, 0, 1, 2, 3);
    game.UpdateGame();
    game.RenderGame();
    game.SuspendGame();
    game.ResumeGame();
    game.DiscardGraphics();
    EXPECT_TRUE(delegate->seen.empty());
    EXPECT_EQ(game.collections, 0) << "no collection step before the start";
    EXPECT_FALSE(game.Suspended());

    game.StartGame();
    game.StartGame();  // only once
    game.KeyEvent(1, 65);
    EXPECT_EQ(game.collections, 2);
    game.SuspendGame();
    game.SuspendGame();
    game.UpdateGame();
    game.RenderGame();
    game.KeyEvent(1, 66);
    game.ResumeGame();
    game.ResumeGame();
    game.UpdateGame();
    EXPECT_EQ(Order(delegate->seen),
              std::vector<std::string>({"start", "key", "suspend", "render", "key", "resume", "update"}));
}

TEST_F(HostLoopTest, AnExceptionEscapingAnEventEndsTheProgramWithStatus255) {
    const ChildResult r = RunInChild([this] {
        game.StartGame();
        delegate->on_update = [] { throw new ThrowableObject(); };
        game.UpdateGame();
        std::puts("not reached");
    });
    EXPECT_EQ(r.exit_status, 255);
    EXPECT_EQ(r.out, "Zarnik Runtime Error : Uncaught Zarnik Exception\n");
}

TEST_F(HostLoopTest, SetGlfwWindowReleasesHeldKeysBumpsTheSequenceCentresAndTitles) {
    game.StartGame();
    backend.SetKeyState(glfw2::KEY_LEFT, glfw2::PRESS);
    backend.SetKeyState('A', glfw2::PRESS);
    backend.SetKeyState(glfw2::KEY_LALT, glfw2::PRESS);  // not a key of the game
    backend.SetKeyState(glfw2::KEY_RSHIFT, glfw2::PRESS);
    backend.SetDesktopMode({1000, 700, 8, 8, 8});
    const int seq = glfwGraphicsSeq;
    game.SetDeviceWindow(1281, 601, 0);

    EXPECT_EQ(delegate->Only("key"), std::vector<Seen>({Key(2, 65), Key(2, 37), Key(2, 16)}));
    EXPECT_EQ(glfwGraphicsSeq, seq + 1);
    ASSERT_EQ(backend.positions.size(), 1u);
    EXPECT_EQ(std::make_pair(backend.positions[0].x, backend.positions[0].y), std::make_pair(-140, 49))
        << "halves round toward zero";
    EXPECT_EQ(backend.titles, std::vector<std::string>({"Tarvolan"}));
    EXPECT_TRUE(backend.key_repeat && !backend.auto_poll_events);
    EXPECT_EQ(std::make_pair(game.GetDeviceWidth(), game.GetDeviceHeight()), std::make_pair(1281, 601));
}

// The switch keeps the window, and with it the OpenGL context and every
// texture: nothing is opened, the sequence stays.
TEST_F(HostLoopTest, AnOpenWindowMovesToFullScreenAndBackWithoutANewContext) {
    game.StartGame();
    backend.SetDesktopMode({1000, 700, 8, 8, 8});
    game.SetDeviceWindow(640, 480, 0);
    const int seq = glfwGraphicsSeq;
    backend.SetKeyState('A', glfw2::PRESS);
    game.SetDeviceWindow(1000, 700, 1);
    EXPECT_EQ(std::make_pair(game.GetDeviceWidth(), game.GetDeviceHeight()), std::make_pair(1000, 700));
    game.SetDeviceWindow(640, 480, 0);

    EXPECT_EQ(std::make_pair(backend.openings.size(), glfwGraphicsSeq), std::make_pair(size_t{1}, seq));
    std::vector<int> switches;
    for (const auto& s : backend.mode_switches) switches.insert(switches.end(), {s.mode, s.width, s.height, s.refresh_rate_hint});
    EXPECT_EQ(switches, std::vector<int>({glfw2::FULLSCREEN, 1000, 700, 60, glfw2::WINDOW, 640, 480, 60}));
    EXPECT_EQ(backend.titles.size(), 2u) << "full screen has no title";
    ASSERT_EQ(backend.positions.size(), 2u) << "nor a position";
    EXPECT_EQ(std::make_pair(backend.positions[1].x, backend.positions[1].y), std::make_pair(180, 110));
    EXPECT_EQ(delegate->Only("key"), std::vector<Seen>({Key(2, 65), Key(2, 65)})) << "each switch releases held keys";
    EXPECT_EQ(std::make_pair(game.GetDeviceWidth(), game.GetDeviceHeight()), std::make_pair(640, 480));
}

TEST_F(HostLoopTest, TheDeviceSizeFollowsTheWindowAndTheClockTruncatesToMilliseconds) {
    EXPECT_EQ(game.GetDeviceWidth(), 0);  // no window yet
    game.SetDeviceWindow(640, 480, 0);
    backend.QueueResize(800, 500);
    glfw2::glfwPollEvents();
    EXPECT_EQ(std::make_pair(game.GetDeviceWidth(), game.GetDeviceHeight()), std::make_pair(800, 500));
    backend.Advance(0.2349);
    EXPECT_EQ(game.Millisecs(), 1234);
}

// A scripted minute at 60 updates per second with uneven frame times (1 to
// 30 ms): update k never runs before its slot and at most one frame after it.
TEST_F(HostLoopTest, UpdatesKeepSixtyPerSecondOverAScriptedMinute) {
    delegate->on_start = [this] { game.SetUpdateRate(60); };
    unsigned state = 12345;
    delegate->on_render = [&] {
        state = state * 1103515245u + 12345u;
        backend.Advance(0.001 + (state >> 16) % 30 / 1000.0);
        if (glfw2::glfwGetTime() >= 61.0) glfw2::glfwCloseWindow();
    };
    game.Run();
    const std::vector<Seen> updates = delegate->Only("update");
    double earliest = 0, latest = 0;
    for (size_t k = 0; k < updates.size(); ++k) {
        const double lag = updates[k].at - updates[0].at - static_cast<double>(k) * kPeriod60;
        earliest = std::min(earliest, lag);
        latest = std::max(latest, lag);
    }
    std::printf("%zu updates, %.2f to %.2f ms behind their slots\n", updates.size(), earliest * 1e3, latest * 1e3);
    EXPECT_GE(earliest, -1e-9);
    EXPECT_LE(latest, 0.031);
    EXPECT_GE(updates.size(), 3590u);
}

}  // namespace
