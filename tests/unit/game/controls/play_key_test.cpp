// Logical buttons: the rules that gate each kind of source, the console
// exceptions, and the decoding of iCade letters.
#include <functional>
#include <vector>

#include "tests/unit/game/controls/controls_fixture.h"

namespace {

using PlayKeyTest = ControlsTest;

// Left (button 3) from one source of each kind. A key and an on-screen button
// always count; a letter only while iCade decoding is off (an iCade types
// letters); a joystick button only for players 0 to 3, on their own port; the
// stick only past 0.4, for such a player, with the stick in use and no iCade.
TEST_F(PlayKeyTest, EachKindOfSourceCountsOnlyWhereItsRuleAllowsAndForItsButtonAlone) {
    enum Rule { kAlways, kNoICade, kJoystick, kStick, kNever };
    const struct {
        const char* what;
        Rule rule;
        std::function<void(c_InputDevice*, c_MyApp*, int port)> press;
    } sources[] = {
        {"key", kAlways, [](c_InputDevice* d, c_MyApp*, int) { d->p_KeyEvent(kEventKeyDown, 37); }},
        {"letter", kNoICade, [](c_InputDevice* d, c_MyApp*, int) { d->p_KeyEvent(kEventKeyDown, 65); }},
        {"joystick button", kJoystick,
         [](c_InputDevice* d, c_MyApp*, int port) { d->p_KeyEvent(kEventKeyDown, kKeyJoyBase + kJoyButtons * port + 8); }},
        {"stick", kStick, [](c_InputDevice* d, c_MyApp*, int port) { d->m_joyStates[port]->m_joyX[0] = -0.41f; }},
        {"stick on the threshold", kNever,
         [](c_InputDevice* d, c_MyApp*, int port) { d->m_joyStates[port]->m_joyX[0] = -0.4f; }},
        {"on-screen button", kAlways, [](c_InputDevice*, c_MyApp* app, int) { app->m_buttons[3] = 1; }},
    };
    for (const auto& source : sources) {
        for (int iCade = 0; iCade <= 1; ++iCade) {
            for (int player = -1; player <= 4; ++player) {
                for (int useStick = 0; useStick <= 1; ++useStick) {
                    ReleaseEverything();
                    kz_Tarvo_iCadeControls = iCade;
                    // Player -1 and 4 have no port of their own; port 0 holds the press.
                    source.press(device, app, player >= 0 && player < kJoyPorts ? player : 0);
                    const bool joystick = player >= 0 && player < 4;
                    const bool counts = source.rule == kAlways || (source.rule == kNoICade && iCade == 0) ||
                                        (source.rule == kJoystick && joystick) ||
                                        (source.rule == kStick && joystick && iCade == 0 && useStick == 1);
                    SCOPED_TRACE(testing::Message() << source.what << ", iCade " << iCade << ", player " << player
                                                    << ", useStick " << useStick);
                    EXPECT_EQ(app->p_PlayKey(3, useStick, player), counts ? 1 : 0);
                    EXPECT_EQ(app->p_PlayKey(5, useStick, player), 0) << "right";
                }
            }
        }
    }
}

// Up is a positive Y, as the joystick reports it.
TEST_F(PlayKeyTest, EachStickDirectionIsItsOwnButton) {
    const int directions[] = {button_id::kUp, button_id::kLeft, button_id::kRight, button_id::kDown};
    const struct { float x, y; int button; } pushes[] = {
        {0, 0.5f, button_id::kUp}, {-0.5f, 0, button_id::kLeft}, {0.5f, 0, button_id::kRight}, {0, -0.5f, button_id::kDown}};
    for (const auto& push : pushes) {
        ReleaseEverything();
        device->m_joyStates[1]->m_joyX[0] = push.x;
        device->m_joyStates[1]->m_joyY[0] = push.y;
        for (const int button : directions)
            EXPECT_EQ(app->p_PlayKey(button, 1, 1), button == push.button ? 1 : 0)
                << "stick at (" << push.x << ", " << push.y << "), button " << button;
    }
}

// Escape and Space are held; m_buttons holds an iCade back (16), an iCade
// action 4 (13) and, where the console reads it, the console's back key (19).
TEST_F(PlayKeyTest, ExceptionsToTheTable) {
    struct Case { const char* what; int iCade, ouya, button, player, expected; };
    const Case cases[] = {
        {"an unknown button", 0, 0, 1, 0, 0},
        {"a player below -1", 0, 0, 10, -2, 0},
        {"an unknown iCade state", 2, 0, 10, 0, 0},
        {"console back is its key alone", 0, 1, 99, 0, 1},
        {"an unknown console state has no back", 0, 2, 99, 0, 0},
        {"console back with iCade uses the row", 1, 1, 99, 0, 1},
        {"iCade keyboard player reads the stored hold", 1, 0, 13, -1, 2},
        {"iCade joystick player reads it as pressed", 1, 0, 13, 0, 1},
    };
    for (const Case& c : cases) {
        ReleaseEverything();
        device->p_KeyEvent(kEventKeyDown, 27);
        device->p_KeyEvent(kEventKeyDown, 32);
        app->m_buttons[16] = 2;
        app->m_buttons[19] = c.ouya == 1 && c.iCade == 0 ? 1 : 0;
        app->m_buttons[13] = 2;
        kz_Tarvo_iCadeControls = c.iCade;
        kz_Tarvo_isOuya = c.ouya;
        EXPECT_EQ(app->p_PlayKey(c.button, 1, c.player), c.expected) << c.what;
        if (c.ouya == 1 && c.iCade == 0) {
            app->m_buttons[19] = 0;
            EXPECT_EQ(app->p_PlayKey(c.button, 1, c.player), 0) << c.what << ": Escape does not count";
        }
    }
}

TEST_F(PlayKeyTest, AllPlayersSumAKeyboardPressOncePerPlayer) {
    device->p_KeyEvent(kEventKeyDown, 32);
    EXPECT_EQ(app->p_PlayKeyAll(10, 1), 4);
    ReleaseEverything();
    device->p_KeyEvent(kEventKeyDown, kKeyJoyBase + kJoyButtons * 2 + 0);
    EXPECT_EQ(std::vector<int>({app->p_PlayKeyAll(10, 1), app->p_PlayKeyAll(11, 1)}), std::vector<int>({1, 0}));
}

// Each press letter holds its button (2) through updates with nothing typed
// until its release letter, in either case; other characters change nothing.
TEST_F(PlayKeyTest, ICadeLettersPressAndReleaseInBothCases) {
    struct Pair { char press, release; int index; };
    const Pair pairs[] = {{'W', 'E', 0}, {'L', 'V', 17}};
    for (const Pair& pair : pairs) {
        for (const int lower : {0, 'a' - 'A'}) {
            ReleaseEverything();
            const char press[] = {static_cast<char>(pair.press + lower), 'B', 'b', '1', 0};
            Type(press);
            app->p_DecodeICade();
            device->p_EndUpdate();
            app->p_DecodeICade();
            for (int i = 0; i < app->m_buttons.Length(); ++i)
                EXPECT_EQ(app->m_buttons[i], i == pair.index ? 2 : 0) << pair.press << " lower " << lower << ", " << i;

            const char release[] = {static_cast<char>(pair.release + lower), 0};
            Type(release);
            app->p_DecodeICade();
            device->p_EndUpdate();
            EXPECT_EQ(app->m_buttons[pair.index], 0) << pair.release << " lower " << lower;
        }
    }
}

TEST_F(PlayKeyTest, SwitchingICadeDropsStaleLettersAndReleasesEverythingButTheBackKey) {
    Type("W");
    app->p_iCade(1);
    app->p_DecodeICade();
    EXPECT_EQ(std::vector<int>({host.KeyboardEnabled(), kz_Tarvo_iCadeControls, app->m_buttons[0]}), std::vector<int>({1, 1, 0}));
    app->m_buttons[3] = 2;
    app->m_buttons[18] = app->m_buttons[19] = 1;
    app->p_iCade(7);
    EXPECT_EQ(std::vector<int>({kz_Tarvo_iCadeControls, app->m_buttons[3]}), std::vector<int>({1, 2}));
    app->p_iCade(0);
    EXPECT_EQ(std::vector<int>({host.KeyboardEnabled(), kz_Tarvo_iCadeControls, app->m_buttons[3], app->m_buttons[18],
                                app->m_buttons[19]}),
              std::vector<int>({0, 0, 0, 0, 1}));
}

}  // namespace
