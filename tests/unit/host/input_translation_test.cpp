// Keys, characters, mouse buttons and joysticks from the window system into
// the program's codes and events.
#include <GLFW/glfw3.h>

#include "host/glfw3_keys.h"
#include "tests/unit/host/host_support.h"

namespace {

using glfw2::PRESS;
using glfw2::RELEASE;

struct KeyCase {
    int glfwKey;
    int key;
};

// The edges of the ranges passed through and of the table, keys that two
// system keys share, and keys outside both.
TEST(TransKeyTest, TranslatesTheListedKeysAndIgnoresTheRest) {
    const KeyCase cases[] = {
        {'0', 48}, {'9', 57}, {'A', 65}, {'Z', 90}, {' ', 32}, {'"', 222}, {'\'', 222}, {'~', 192},
        {glfw2::KEY_F1 + 11, 123}, {glfw2::KEY_LSHIFT, 16}, {glfw2::KEY_RSHIFT, 16}, {glfw2::KEY_KP_DECIMAL, 110},
        {glfw2::KEY_F1 + 12, 0}, {glfw2::KEY_LALT, 0}, {glfw2::KEY_KP_ENTER, 0}, {'a', 0}, {'!', 0},
        {glfw2::KEY_SPECIAL, 0}, {31, 0}, {-1, 0}, {326, 0}, {100000, 0},
    };
    for (const KeyCase& c : cases) EXPECT_EQ(KzGlfwGame::TransKey(c.glfwKey), c.key) << "key " << c.glfwKey;
}

// Every classic key that has a system key maps back to itself.
TEST(Glfw3KeysTest, MapsSystemKeysToTheClassicCodesAndBack) {
    const KeyCase cases[] = {{GLFW_KEY_A, 'A'}, {GLFW_KEY_F13, glfw2::KEY_F1 + 12}, {GLFW_KEY_KP_9, glfw2::KEY_KP_0 + 9}};
    for (const KeyCase& c : cases) EXPECT_EQ(glfw2::KeyFromGlfw3(c.glfwKey), c.key) << "system key " << c.glfwKey;
    EXPECT_EQ(std::vector<int>({glfw2::KeyFromGlfw3(GLFW_KEY_PRINT_SCREEN), glfw2::KeyFromGlfw3(GLFW_KEY_WORLD_1),
                                glfw2::KeyToGlfw3(glfw2::KEY_SPECIAL)}),
              std::vector<int>({glfw2::KEY_UNKNOWN, glfw2::KEY_UNKNOWN, GLFW_KEY_UNKNOWN}));
    for (int classic = 0; classic <= glfw2::KEY_LAST; ++classic) {
        const int system_key = glfw2::KeyToGlfw3(classic);
        if (system_key != GLFW_KEY_UNKNOWN) {
            EXPECT_EQ(glfw2::KeyFromGlfw3(system_key), classic) << classic;
        }
    }
}

class InputCallbackTest : public ScriptedHostTest {
protected:
    void SetUp() override {
        ScriptedHostTest::SetUp();
        game.SetDeviceWindow(640, 480, 0);  // installs the callbacks
        game.StartGame();
        delegate->seen.clear();
    }
    std::vector<Seen> Deliver() {
        glfw2::glfwPollEvents();
        std::vector<Seen> seen = delegate->seen;
        delegate->seen.clear();
        return seen;
    }
};

TEST_F(InputCallbackTest, KeysGiveKeyEventsAndEditingKeysAlsoACharacter) {
    const struct { int glfwKey, action; std::vector<Seen> events; } cases[] = {
        {'A', PRESS, {Key(1, 65)}}, {'A', RELEASE, {Key(2, 65)}}, {glfw2::KEY_RSHIFT, RELEASE, {Key(2, 16)}},
        {glfw2::KEY_LEFT, PRESS, {Key(1, 37), Key(3, 65573)}}, {glfw2::KEY_DEL, PRESS, {Key(1, 46), Key(3, 127)}},
        {glfw2::KEY_KP_ENTER, PRESS, {}}, {'A', 2, {}},  // an action that is neither press nor release
    };
    for (const auto& c : cases) {
        backend.QueueKey(c.glfwKey, c.action);
        EXPECT_EQ(Deliver(), c.events) << "key " << c.glfwKey << " action " << c.action;
    }
}

TEST_F(InputCallbackTest, CharactersArriveOnPressOnly) {
    for (const auto& [c, action] : {std::pair<int, int>{'a', PRESS}, {0xE9, PRESS}, {'b', RELEASE}}) backend.QueueChar(c, action);
    EXPECT_EQ(Deliver(), std::vector<Seen>({Key(3, 'a'), Key(3, 0xE9)}));
}

TEST_F(InputCallbackTest, MouseButtonsUpToTheMiddleOneCarryTheCursorPosition) {
    backend.QueueMouseMove(12, 34);
    for (const auto& [button, action] : {std::pair<int, int>{0, PRESS}, {2, RELEASE}, {1, PRESS}, {3, PRESS}, {7, RELEASE}})
        backend.QueueMouseButton(button, action);
    EXPECT_EQ(Deliver(), std::vector<Seen>({Mouse(6, -1, 12, 34), Mouse(4, 0, 12, 34), Mouse(5, 2, 12, 34),
                                            Mouse(4, 1, 12, 34)}));
}

// PollJoystick over pads of several sizes.
class JoystickTest : public ScriptedHostTest {
protected:
    struct Read {
        bool present;
        std::vector<float> sticks;  // x, y, z of stick 0, then of stick 1
        std::vector<int> pressed;   // program buttons that are true
    };

    Read Poll(int n_buttons, std::vector<float> axes, int pressed_button = -1) {
        glfw2::ScriptedBackend::Joystick& pad = backend.JoystickAt(0);
        pad.present = true;
        pad.axes = std::move(axes);
        pad.buttons.assign(n_buttons, RELEASE);
        if (pressed_button >= 0) pad.buttons[pressed_button] = PRESS;
        Array<float> x(2), y(2), z(2);
        Array<bool> buttons(32);
        Read r{game.PollJoystick(0, x, y, z, buttons), {x[0], y[0], z[0], x[1], y[1], z[1]}, {}};
        for (int b = 0; b < 32; ++b) if (buttons[b]) r.pressed.push_back(b);
        return r;
    }

    // The program button lit by each device button pressed alone.
    std::vector<int> ButtonMap(int n_buttons) {
        std::vector<int> map;
        for (int d = 0; d < n_buttons; ++d) {
            const Read r = Poll(n_buttons, {}, d);
            map.push_back(r.pressed.size() == 1 ? r.pressed[0] : -1);
        }
        return map;
    }
};

TEST_F(JoystickTest, ButtonsBeyondTwelveMoveTheLastFourToEightToEleven) {
    EXPECT_EQ(ButtonMap(4), std::vector<int>({0, 1, 2, 3}));
    EXPECT_EQ(ButtonMap(12), std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(ButtonMap(14), std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 8, 9, 10, 11}));
    EXPECT_EQ(ButtonMap(16), std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 14, 15, 8, 9, 10, 11}));
    EXPECT_EQ(ButtonMap(18), std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 14, 15, 16, 17, 8, 9, 10, 11}));
}

TEST_F(JoystickTest, AxesFillBothSticksWithCorrectionsForTwoKnownPads) {
    const struct {
        int n_buttons;
        std::vector<float> axes, sticks;
    } cases[] = {
        {4, {.1f, .2f, .3f, .4f, .5f, .6f}, {.1f, .2f, .3f, .4f, .5f, .6f}},
        {4, {.1f, .2f}, {.1f, .2f, 0, 0, 0, 0}},                               // missing axes read 0
        {14, {.1f, .2f, .3f, .4f, .5f}, {.1f, .2f, .3f, .5f, -.4f, 0}},        // 14 buttons, 5 axes
        {14, {.1f, .2f, .3f, .4f, .5f, .6f}, {.1f, .2f, .3f, .4f, .5f, .6f}},  // 6 axes: as is
        {18, {.1f, .2f, .3f, .4f}, {.1f, .2f, .3f, .4f, -.3f, 0}},             // 18 buttons, 4 axes
        {16, {.1f, .2f, .3f, .4f}, {.1f, .2f, .3f, .4f, 0, 0}},
    };
    for (const auto& c : cases) {
        const Read r = Poll(c.n_buttons, c.axes);
        EXPECT_TRUE(r.present);
        EXPECT_EQ(r.sticks, c.sticks) << c.n_buttons << " buttons, " << c.axes.size() << " axes";
    }
}

TEST_F(JoystickTest, AbsentPadsAndShortArraysAreRefusedAndButtonsPastTheCountLeftAlone) {
    Array<float> x(2), y(2), z(2);
    Array<bool> buttons(32);
    for (bool& b : buttons) b = true;
    x[0] = 0.7f;
    EXPECT_FALSE(game.PollJoystick(1, x, y, z, buttons));
    EXPECT_TRUE(x[0] == 0.7f && buttons[3]) << "an absent pad leaves the arrays alone";

    glfw2::ScriptedBackend::Joystick& pad = backend.JoystickAt(0);
    pad.present = true;
    pad.buttons.assign(4, RELEASE);
    EXPECT_FALSE(game.PollJoystick(0, Array<float>(1), y, z, buttons)) << "too short for a stick pair";
    EXPECT_FALSE(game.PollJoystick(0, x, y, z, Array<bool>(4)));
    ASSERT_TRUE(game.PollJoystick(0, x, y, z, buttons));
    for (int b = 0; b < 32; ++b) EXPECT_EQ(buttons[b], b >= 4) << b;
}

}  // namespace
