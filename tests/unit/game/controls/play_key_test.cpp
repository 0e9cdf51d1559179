// Logical buttons: every source of every button for every kind of player,
// with and without iCade decoding and the stick; the console exceptions; and
// the decoding of iCade letters.
#include <vector>

#include "tests/unit/game/controls/controls_fixture.h"

namespace {

enum class Source { kKey, kLetter, kJoyButton, kStickX, kStickY, kScreen };

struct Press {
    int button;
    Source source;
    int code;           // key code, joystick button or m_buttons index
    float stick = 0;    // stick value for the stick sources
    bool counts = true; // false for a stick exactly on the threshold
};

const std::vector<Press> kPresses = {
    {0, Source::kKey, 38}, {0, Source::kLetter, 87}, {0, Source::kJoyButton, 9}, {0, Source::kScreen, 0},
    {0, Source::kStickY, 0, 0.41f}, {0, Source::kStickY, 0, 0.4f, false},
    {3, Source::kKey, 37}, {3, Source::kLetter, 65}, {3, Source::kJoyButton, 8}, {3, Source::kScreen, 3},
    {3, Source::kStickX, 0, -0.41f}, {3, Source::kStickX, 0, -0.4f, false},
    {5, Source::kKey, 39}, {5, Source::kLetter, 68}, {5, Source::kJoyButton, 10}, {5, Source::kScreen, 5},
    {5, Source::kStickX, 0, 0.41f}, {5, Source::kStickX, 0, 0.4f, false},
    {8, Source::kKey, 40}, {8, Source::kLetter, 83}, {8, Source::kJoyButton, 11}, {8, Source::kScreen, 8},
    {8, Source::kStickY, 0, -0.41f}, {8, Source::kStickY, 0, -0.4f, false},
    {10, Source::kKey, 32}, {10, Source::kKey, 13}, {10, Source::kLetter, 90}, {10, Source::kLetter, 74},
    {10, Source::kJoyButton, 0}, {10, Source::kScreen, 10},
    {11, Source::kKey, 17}, {11, Source::kLetter, 88}, {11, Source::kLetter, 75}, {11, Source::kJoyButton, 1},
    {11, Source::kScreen, 11},
    {12, Source::kKey, 16}, {12, Source::kLetter, 67}, {12, Source::kLetter, 76}, {12, Source::kJoyButton, 2},
    {12, Source::kScreen, 12},
    {13, Source::kLetter, 86}, {13, Source::kLetter, 73}, {13, Source::kJoyButton, 3}, {13, Source::kScreen, 13},
    {14, Source::kLetter, 66}, {14, Source::kLetter, 85}, {14, Source::kJoyButton, 4}, {14, Source::kScreen, 14},
    {15, Source::kLetter, 78}, {15, Source::kLetter, 79}, {15, Source::kJoyButton, 5}, {15, Source::kScreen, 15},
    {99, Source::kKey, 27}, {99, Source::kKey, 46}, {99, Source::kKey, 8}, {99, Source::kLetter, 192},
    {99, Source::kJoyButton, 6}, {99, Source::kJoyButton, 7}, {99, Source::kJoyButton, 14},
    {99, Source::kScreen, 16}, {99, Source::kScreen, 17}, {99, Source::kScreen, 19},
};

const int kButtons[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 99};

class PlayKeyTest : public ControlsTest {
protected:
    // Makes the source active for `player`; joystick sources go to that
    // player's port (port 0 for player -1, where they must not count).
    void Apply(const Press& p, int player) {
        const int port = player < 0 ? 0 : player;
        switch (p.source) {
            case Source::kKey:
            case Source::kLetter: device->p_KeyEvent(kEventKeyDown, p.code); break;
            case Source::kJoyButton:
                device->p_KeyEvent(kEventKeyDown, kKeyJoyBase + kJoyButtons * port + p.code);
                break;
            case Source::kStickX:
                if (port < kJoyPorts) device->m_joyStates[port]->m_joyX[0] = p.stick;
                break;
            case Source::kStickY:
                if (port < kJoyPorts) device->m_joyStates[port]->m_joyY[0] = p.stick;
                break;
            case Source::kScreen: app->m_buttons[p.code] = 1; break;
        }
    }

    static bool Counts(const Press& p, int iCade, int player, int useStick) {
        const bool joystick = player >= 0 && player < 4;
        switch (p.source) {
            case Source::kKey:
            case Source::kScreen: return true;
            case Source::kLetter: return iCade == 0;
            case Source::kJoyButton: return joystick;
            case Source::kStickX:
            case Source::kStickY: return p.counts && joystick && iCade == 0 && useStick == 1;
        }
        return false;
    }
};

// Player 4 would put its joystick buttons on the touch codes; only 0..3 have
// joysticks.
TEST_F(PlayKeyTest, EverySourceOfTheTableCountsForItsButtonAlone) {
    for (const Press& p : kPresses) {
        for (int iCade = 0; iCade <= 1; ++iCade) {
            for (int player = -1; player <= 4; ++player) {
                for (int useStick = 0; useStick <= 1; ++useStick) {
                    ReleaseEverything();
                    kz_Tarvo_iCadeControls = iCade;
                    Apply(p, player);
                    for (int button : kButtons) {
                        const int expected = button == p.button && Counts(p, iCade, player, useStick) ? 1 : 0;
                        EXPECT_EQ(app->p_PlayKey(button, useStick, player), expected)
                            << "button " << button << " from source " << static_cast<int>(p.source) << " code "
                            << p.code << " stick " << p.stick << ", iCade " << iCade << ", player " << player
                            << ", useStick " << useStick;
                    }
                }
            }
        }
    }
}

// Escape and Space are held; m_buttons holds an iCade back (16), an iCade
// action 4 (13) and, where the console reads it, the console's back key (19).
TEST_F(PlayKeyTest, ExceptionsToTheTable) {
    struct Case {
        const char* what;
        int iCade, ouya, button, player, expected;
    };
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
    EXPECT_EQ(app->p_PlayKeyAll(10, 1), 1);
    EXPECT_EQ(app->p_PlayKeyAll(11, 1), 0);
}

// Each press letter holds its button (2) through updates with nothing typed
// until its release letter, in either case; other characters change nothing.
TEST_F(PlayKeyTest, ICadeLettersPressAndReleaseInBothCases) {
    struct Pair {
        char press, release;
        int index;
    };
    const Pair pairs[] = {{'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},
                          {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'Y', 'T', 13},
                          {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16}, {'L', 'V', 17}};
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
    EXPECT_TRUE(host.KeyboardEnabled());
    EXPECT_EQ(kz_Tarvo_iCadeControls, 1);
    app->p_DecodeICade();
    EXPECT_EQ(app->m_buttons[0], 0);

    app->m_buttons[3] = 2;
    app->m_buttons[18] = 1;
    app->m_buttons[19] = 1;
    app->p_iCade(7);
    EXPECT_EQ(kz_Tarvo_iCadeControls, 1);
    EXPECT_EQ(app->m_buttons[3], 2);

    app->p_iCade(0);
    EXPECT_FALSE(host.KeyboardEnabled());
    EXPECT_EQ(kz_Tarvo_iCadeControls, 0);
    EXPECT_EQ(std::vector<int>({app->m_buttons[3], app->m_buttons[18], app->m_buttons[19]}), std::vector<int>({0, 0, 1}));
}

}  // namespace
