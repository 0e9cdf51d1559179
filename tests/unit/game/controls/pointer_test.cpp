// Pointer and touch sampling, the consumption locks, the hit tests of
// on-screen buttons, and the clamping of the on-screen pad's saved layout.
// (The pad and the tilt indicator are off on this platform.)
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/unit/game/controls/controls_fixture.h"

namespace {

constexpr int kPad = 94;

class PointerTest : public ControlsTest {
protected:
    void SampleAndLock() {
        app->p_SampleInput();
        app->p_UpdateLocks();
    }
};

TEST_F(PointerTest, ThePointerAndFingersAreReadInVirtualUnitsPastTheOverscan) {
    kz_app__devWidth = 800;
    kz_app__devHeight = 600;
    kz_Tarvo_overscan = 10;  // 7.5 vertically
    app->m_scaleX = app->m_scaleY = 2;
    device->p_MouseEvent(kEventMouseMove, 0, 110, 67.5f);
    Touch(3, 30, 27.5f);
    app->p_SampleInput();
    EXPECT_EQ(std::vector<int>({app->m_mouseX, app->m_mouseY, app->m_mouseHits, app->m_touching}),
              std::vector<int>({50, 30, 0, 1}));
    EXPECT_EQ(std::vector<int>({app->m_touchDown[3], app->m_touchX[3], app->m_touchY[3]}), std::vector<int>({1, 10, 10}));
    EXPECT_EQ(std::vector<int>({app->m_touchX[2], app->m_touchY[2]}), std::vector<int>({-3717, -3717})) << "no finger 2";

    // An iconified window (no size) before any layout (scale 0): no NaN or
    // out-of-range value is converted; the positions saturate.
    kz_app__devWidth = kz_app__devHeight = 0;
    app->m_scaleX = app->m_scaleY = 0;
    device->p_MouseEvent(kEventMouseMove, 0, 15, 0);
    app->p_SampleInput();
    EXPECT_EQ(std::vector<int>({app->m_mouseX, app->m_mouseY}), std::vector<int>({std::numeric_limits<int>::max(), 0}));
}

TEST_F(PointerTest, ANewClickStartsWithoutMovementAndADragKeepsThePreviousPosition) {
    device->p_MouseEvent(kEventMouseMove, 0, 10, 10);
    app->p_SampleInput();
    device->p_MouseEvent(kEventMouseDown, 0, 40, 50);
    app->p_SampleInput();
    EXPECT_EQ(std::vector<int>({app->m_prevMouseX, app->m_prevMouseY, app->m_mouseHits}), std::vector<int>({40, 50, 1}));
    EXPECT_EQ(app->m_touchDown[0], 1) << "the click is finger 0";

    device->p_EndUpdate();
    device->p_MouseEvent(kEventMouseMove, 0, 45, 55);
    app->p_SampleInput();
    EXPECT_EQ(std::vector<int>({app->m_prevMouseX, app->m_mouseX, app->m_mouseHits}), std::vector<int>({40, 45, 0}));
}

TEST_F(PointerTest, BothLocksClearInTheUpdateWhenNothingIsPressedOrTouched) {
    app->m_keyLock = 1;
    app->m_touchLock = 1;
    device->p_KeyEvent(kEventKeyDown, 32);
    Touch(1, 5, 5);
    SampleAndLock();
    EXPECT_EQ(std::vector<int>({app->m_keyLock, app->m_touchLock}), std::vector<int>({1, 1}));
    device->p_KeyEvent(kEventKeyUp, 32);
    SampleAndLock();
    EXPECT_EQ(std::vector<int>({app->m_keyLock, app->m_touchLock}), std::vector<int>({0, 1}));
    app->m_keyLock = 1;
    Lift(1);
    SampleAndLock();
    EXPECT_EQ(std::vector<int>({app->m_keyLock, app->m_touchLock}), std::vector<int>({0, 0}));
}

// Back is held in each case; an open options box holds both locks and closes
// only itself.
TEST_F(PointerTest, BackOnTheTitleClosesCreditsAndBadgesButNotOptions) {
    struct Case { int mode, credits, badges, options, keyLock; bool closes, locked; };
    const Case cases[] = {
        {1, 1, 1, 0, 0, true, true},    {1, 1, 0, 0, 0, true, true},   {10, 1, 1, 0, 0, false, false},
        {1, 1, 1, 0, 1, false, false},  {1, 0, 0, 0, 0, false, false}, {1, 0, 0, 1, 0, false, true},
        {10, 0, 0, 1, 0, false, true},
    };
    for (const Case& c : cases) {
        ReleaseEverything();
        device->p_KeyEvent(kEventKeyDown, 27);
        app->m_mode = c.mode;
        app->m_creditsOpen = c.credits;
        app->m_badgesOpen = c.badges;
        app->m_optionsOpen = c.options;
        app->m_keyLock = c.keyLock;
        app->m_touchLock = 0;
        SampleAndLock();
        EXPECT_EQ(std::vector<int>({app->m_creditsOpen, app->m_badgesOpen, app->m_optionsOpen, app->m_touchLock}),
                  std::vector<int>({c.closes ? 0 : c.credits, c.closes ? 0 : c.badges, c.options, c.locked ? 1 : 0}))
            << &c - cases;
    }
}

// A frame of 32 x 32 loaded at twice the resolution and drawn at scale 2:
// a box of 32 x 32 at (100, 100), strictly inside 84 .. 116 on each axis.
TEST_F(PointerTest, HitTestsAreStrictOnTheEdge) {
    app->m_imageInfo[kPad * 3] = 32;
    app->m_imageInfo[kPad * 3 + 1] = 32;
    app->m_hdScale = 0.5f;
    app->p_SetSize(2, 2);
    struct Case { float x, y; bool button, touch, centred; };
    // p_Touch(90, 90, 20, 20): 84 < x < 122; p_MouseIn_Centered(100, 100, 40, 20): 80 < x < 120, 90 < y < 110.
    const Case cases[] = {
        {100, 100, true, true, true},  {84, 100, false, false, true},  {85, 100, true, true, true},
        {116, 100, false, true, true}, {115, 100, true, true, true},   {100, 84, false, false, false},
        {100, 116, false, true, false}, {121, 121, false, true, false}, {122, 100, false, false, false},
        {80, 100, false, false, false},
    };
    for (const Case& c : cases) {
        ReleaseEverything();
        Touch(2, c.x, c.y);
        app->p_SampleInput();
        const int button = app->p_Button(kPad, 100, 100, 0);
        EXPECT_EQ(std::vector<int>({button, app->m_buttonHit, app->p_Touch(90, 90, 20, 20),
                                    app->p_MouseIn_Centered(100, 100, 40, 20)}),
                  std::vector<int>({c.button, c.button, c.touch, c.centred}))
            << c.x << "," << c.y;
        EXPECT_EQ(app->p_Button0(kPad, 100, 100, 0), 0) << "finger 2 is not finger 0";
        EXPECT_EQ(app->p_Button(-1, c.x, c.y, 0), 0) << "an image id outside the slots has no box";
    }
    Touch(0, 115, 115);
    app->p_SampleInput();
    EXPECT_EQ(app->p_Button0(kPad, 100, 100, 0), 1);
}

TEST_F(PointerTest, TheOnScreenPadsSavedLayoutIsClampedToTheScreen) {
    app->m_imageInfo[kPad * 3] = 20;
    app->m_imageInfo[kPad * 3 + 1] = 20;
    struct Case { int x, height, size; int clampedX, clampedHeight, clampedSize; };
    const Case cases[] = {
        {0, 0, 0, 32, 32, 8},
        {1000, 1000, 99, 608, 448, 25},
        {-2147483647 - 1, 2147483647, -5, 32, 448, 8},
        {100, 200, 12, 100, 200, 12},
    };
    for (const Case& c : cases) {
        std::tie(app->m_settings[10], app->m_settings[11], app->m_settings[12]) = std::tie(c.x, c.height, c.size);
        app->p_SampleInput();
        app->p_CLS2D(kNoValue, 0, 0, 0);
        app->p_OnScreenControls();
        EXPECT_EQ(std::vector<int>({app->m_settings[10], app->m_settings[11], app->m_settings[12], app->m_padX, app->m_padY}),
                  std::vector<int>({c.clampedX, c.clampedHeight, c.clampedSize, c.clampedX, 480 - c.clampedHeight}));
        EXPECT_FLOAT_EQ(app->m_padScale, c.clampedSize / 10.0f);
    }
}

}  // namespace
