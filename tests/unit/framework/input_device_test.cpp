#include "framework/input.h"
#include "tests/unit/host/host_support.h"

namespace {

class InputDeviceTest : public ScriptedHostTest {
protected:
    void SetUp() override {
        ScriptedHostTest::SetUp();
        device = (new c_InputDevice())->m_new();
        kz_input_SetInputDevice(device);
    }
    void TearDown() override {
        kz_input_SetInputDevice(nullptr);
        ScriptedHostTest::TearDown();
    }

    void PressPad(int port, std::vector<int> pressed) {
        glfw2::ScriptedBackend::Joystick& pad = backend.JoystickAt(port);
        pad.present = true;
        pad.buttons.assign(4, glfw2::RELEASE);
        for (int b : pressed) pad.buttons[b] = glfw2::PRESS;
    }

    c_InputDevice* device = nullptr;
};

TEST_F(InputDeviceTest, EachPressIsAHitInItsUpdateAndRepeatsAreNot) {
    device->p_KeyEvent(1, 65);
    device->p_KeyEvent(1, 65);  // key repeat
    device->p_KeyEvent(1, 32);
    device->p_KeyEvent(2, 32);
    device->p_KeyEvent(1, 32);
    device->p_KeyEvent(2, 32);
    EXPECT_EQ(std::vector<int>({kz_input_KeyHit(65), kz_input_KeyHit(32), kz_input_KeyDown(32)}), std::vector<int>({1, 2, 0}));
    device->p_EndUpdate();
    device->p_KeyEvent(1, 65);
    EXPECT_EQ(std::vector<int>({kz_input_KeyHit(65), kz_input_KeyDown(65)}), std::vector<int>({0, 1}));
    device->p_KeyEvent(2, 65);
    EXPECT_EQ(kz_input_KeyDown(65), 0);
}

TEST_F(InputDeviceTest, HitsBeyondThirtyThreeAreDroppedButKeysStillGoDown) {
    for (int key = 100; key < 140; ++key) device->p_KeyEvent(1, key);
    int hits = 0;
    for (int key = 100; key < 140; ++key) hits += kz_input_KeyHit(key);
    EXPECT_EQ(std::vector<int>({hits, kz_input_KeyHit(132), kz_input_KeyDown(139)}), std::vector<int>({33, 1, 1}));
    device->p_EndUpdate();
    for (int key = 100; key < 140; ++key) EXPECT_EQ(kz_input_KeyHit(key), 0) << key;
    device->p_KeyEvent(1, 200);
    EXPECT_EQ(kz_input_KeyHit(200), 1);  // the queue is free again
}

TEST_F(InputDeviceTest, ThirtyTwoCharactersAreKeptInOrderPerUpdate) {
    for (int i = 0; i < 40; ++i) device->p_KeyEvent(3, 1000 + i);
    std::vector<int> got, expected;
    while (const int c = kz_input_GetChar()) got.push_back(c);
    for (int i = 0; i < 32; ++i) expected.push_back(1000 + i);
    EXPECT_EQ(got, expected);

    device->p_KeyEvent(3, 'z');
    device->p_EndUpdate();  // unread characters are dropped
    EXPECT_EQ(kz_input_GetChar(), 0);
    device->p_KeyEvent(3, 'q');
    EXPECT_EQ(kz_input_GetChar(), 'q');
}

TEST_F(InputDeviceTest, TheLeftMouseButtonAndTheFirstTouchAreOneInput) {
    device->p_MouseEvent(4, 0, 10, 20);
    device->p_MouseEvent(5, 0, 99, 99);
    EXPECT_EQ(std::vector<int>({kz_input_MouseHit(0), kz_input_KeyHit(384), kz_input_TouchDown(0), kz_input_MouseDown(0)}),
              std::vector<int>({1, 1, 0, 0}));
    // The release does not move the pointer.
    EXPECT_EQ(std::vector<float>({kz_input_MouseX(), kz_input_TouchY(0)}), std::vector<float>({10, 20}));

    device->p_EndUpdate();
    device->p_TouchEvent(7, 0, 5, 6);
    EXPECT_EQ(std::vector<float>({float(kz_input_MouseDown(0)), float(kz_input_MouseHit(0)), kz_input_MouseX()}),
              std::vector<float>({1, 1, 5}));
    device->p_TouchEvent(8, 0, 0, 0);
    EXPECT_EQ(kz_input_MouseDown(0), 0);

    device->p_MouseEvent(4, 2, 1, 1);  // middle button: key 3, no touch
    EXPECT_EQ(std::vector<int>({kz_input_KeyDown(3), kz_input_TouchDown(0)}), std::vector<int>({1, 0}));
}

TEST_F(InputDeviceTest, OtherFingersAndMotionMoveOnlyTheirOwnState) {
    device->p_MouseEvent(6, -1, 1, 2);
    device->p_TouchEvent(7, 3, 30, 40);
    device->p_TouchEvent(9, 3, 31, 41);
    device->p_MotionEvent(10, 0, 0.5f, -0.5f, 1);
    device->p_MotionEvent(6, 0, 9, 9, 9);  // not an acceleration event
    EXPECT_EQ(kz_input_TouchDown(3), 1);
    const float got[] = {kz_input_TouchX(3), kz_input_TouchY(3), kz_input_MouseX(), kz_input_MouseY(),
                         kz_input_AccelX(), kz_input_AccelY()};
    EXPECT_EQ(std::vector<float>(got, got + 6), std::vector<float>({31, 41, 1, 2, 0.5f, -0.5f}));
}

TEST_F(InputDeviceTest, OutOfRangeQueriesAndEventsGiveZeroAndChangeNothing) {
    device->p_TouchEvent(7, 32, 1, 1);  // no such finger
    device->p_TouchEvent(7, -1, 1, 1);
    device->p_KeyEvent(1, 512);
    device->p_KeyEvent(1, -3);
    device->p_KeyEvent(1, 0);
    const std::pair<const char*, int> queries[] = {
        {"KeyDown(0)", kz_input_KeyDown(0)},          {"KeyDown(512)", kz_input_KeyDown(512)},
        {"KeyHit(-1)", kz_input_KeyHit(-1)},          {"MouseDown(-1)", kz_input_MouseDown(-1)},
        {"MouseHit(511)", kz_input_MouseHit(511)},    {"TouchDown(-384)", kz_input_TouchDown(-384)},
        {"TouchDown(128)", kz_input_TouchDown(128)},  {"JoyDown(-1, 0)", kz_input_JoyDown(-1, 0)},
        {"JoyHit(0, 16)", kz_input_JoyHit(0, 16)},    {"hits queued", device->m_keyHitCount},
    };
    for (const auto& [what, result] : queries) EXPECT_EQ(result, 0) << what;
    EXPECT_FLOAT_EQ(kz_input_TouchX(32), 0);
    EXPECT_FLOAT_EQ(kz_input_JoyX(2, 0), 0);
    EXPECT_FLOAT_EQ(kz_input_JoyY(0, 4), 0);
}

TEST_F(InputDeviceTest, JoystickButtonsAreKeysSetAndClearedByThePoll) {
    PressPad(0, {3});
    PressPad(1, {3});
    backend.JoystickAt(1).axes = {0.25f, -0.5f};
    device->p_BeginUpdate();
    // Key 291 is 256 + 32 + 3.
    EXPECT_EQ(std::vector<float>({float(kz_input_JoyDown(3, 0)), float(kz_input_KeyDown(291)), float(kz_input_JoyHit(3, 1)),
                                  kz_input_JoyX(0, 1), kz_input_JoyY(0, 1)}),
              std::vector<float>({1, 1, 1, 0.25f, -0.5f}));
    device->p_EndUpdate();
    device->p_BeginUpdate();  // still held: no new hit
    EXPECT_EQ(std::vector<int>({kz_input_JoyHit(3, 1), kz_input_JoyDown(3, 1)}), std::vector<int>({0, 1}));
    PressPad(1, {});
    device->p_BeginUpdate();
    EXPECT_EQ(kz_input_JoyDown(3, 1), 0);
}

}  // namespace
