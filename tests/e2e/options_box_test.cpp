// The options box in the real program, driven by the keyboard: opened from
// the title, and the switch to full screen and back.
#include <functional>

#include "tests/e2e/program_fixture.h"

namespace {

using std::chrono::milliseconds;

// Colours at points of a 640 x 480 window: the title's ground and its start
// button (shown while a game type is highlighted), the options panel over the
// ground, and the highlight of the selected row.
constexpr std::uint32_t kTitleGround = 0x654f3b;
constexpr std::uint32_t kStartButton = 0x2e6b4b;
constexpr std::uint32_t kOptionsPanel = 0x8e4b09;
constexpr std::uint32_t kSelectedRow = 0x407a85;
constexpr int kRowX = 90;
constexpr int kFirstRowY = 140;
constexpr int kRowSpacing = 40;

class OptionsBoxTest : public ProgramTest {
protected:
    // Keys go to the focused window through the X server's test extension,
    // so a release still arrives after the window has been replaced.
    static void Key(const char* action, const char* key) { RunCommand({"xdotool", action, key}); }

    // Presses `key` until `done` holds: each press is held until it does (or
    // for 600 ms) and released, and the game acts once per press, only after
    // it has seen the last key released.
    static bool PressUntil(const char* key, const std::function<bool()>& done) {
        for (int press = 0; press < 8; ++press) {
            Key("keydown", key);
            const bool held = WaitUntil(done, milliseconds(600), kPoll);
            Key("keyup", key);
            if (held || WaitUntil(done, milliseconds(150), kPoll)) return true;
        }
        return false;
    }

    static bool Shows(const std::string& id, int x, int y, std::uint32_t rgb) {
        return Screenshot::Of(id).Near(x, y, rgb);
    }
    static bool RowSelected(const std::string& id, int row) {
        return Shows(id, kRowX, kFirstRowY + kRowSpacing * (row - 1), kSelectedRow);
    }

    // The title, once loading is over and its artwork has slid into place.
    std::string Title() {
        const std::string id = FocusedWindow();
        EXPECT_TRUE(WaitUntil([&] { return Shows(id, 60, 470, kTitleGround) && Shows(id, 570, 432, kStartButton); },
                              kBound, kPoll))
            << Output();
        return id;
    }

    // Right moves the carousel to the options item, which has no start
    // button; Enter opens the box.
    void OpenOptions(const std::string& id) {
        ASSERT_TRUE(PressUntil("Right", [&] { return !Shows(id, 570, 432, kStartButton); }));
        ASSERT_TRUE(PressUntil("Return", [&] { return Shows(id, 60, 470, kOptionsPanel); }));
    }

    // The game's window with this size: a full-screen window has no title.
    static std::string WindowOfSize(int width, int height) {
        const CommandResult r = RunCommand({"xdotool", "search", "--onlyvisible", "--classname", "glfw-application"});
        for (size_t at = 0, end; (end = r.out.find('\n', at)) != std::string::npos; at = end + 1) {
            const std::string id = r.out.substr(at, end - at);
            const WindowPixels pixels = ReadWindowPixels(id);
            if (pixels.width == width && pixels.height == height) return id;
        }
        return "";
    }
};

// The desktop of the test server is 1280 x 1024. In full screen the virtual
// screen is drawn twice as large, so the panel's lower left is at (200, 1000).
TEST_F(OptionsBoxTest, TheDisplayRowSwitchesTheWindowToFullScreenAndBackAndTheGameDrawsAtEachSize) {
    Start();
    const std::string id = Title();
    OpenOptions(id);
    ASSERT_TRUE(PressUntil("Down", [&] { return RowSelected(id, 3); }));

    std::string full;
    ASSERT_TRUE(PressUntil("Return", [&] { return !(full = WindowOfSize(1280, 1024)).empty(); })) << Output();
    RunCommand({"xdotool", "windowfocus", "--sync", full});
    EXPECT_TRUE(WaitUntil([&] { return Shows(full, 200, 1000, kOptionsPanel); }, kBound, kPoll));

    std::string window;
    ASSERT_TRUE(PressUntil("Return", [&] { return !(window = WindowOfSize(640, 480)).empty(); })) << Output();
    RunCommand({"xdotool", "windowfocus", "--sync", window});
    EXPECT_TRUE(WaitUntil([&] { return Shows(window, 60, 470, kOptionsPanel); }, kBound, kPoll));
    EXPECT_EQ(EndWithF4(window), 0) << Output();
}

}  // namespace
