// A player for tests and soak runs. It starts a game as the title menu does
// and plays it through the headless driver, never steering, only choosing
// the speed: it holds the run key while no bullet is close to a walking
// walker, and lets the party stand otherwise.
#pragma once

#include "tests/support/headless_driver.h"

class PlayBot {
public:
    // Bullets within `caution` world pixels of a walking walker make the
    // party stand.
    explicit PlayBot(HeadlessDriver& driver, float caution = 40);

    // The title menu's choice of a game type on the keyboard layout, then the
    // update that builds level 1. Loading must be over.
    void StartGame(int difficulty);
    // One update with the run key held or released as the policy says.
    void Step();
    void Steps(int count);
    // Plays on until the fifth walker is lost, for at most `bound` updates;
    // whether the game ended. The run key is released at the end.
    bool PlayToEnd(int bound);
    // The pause menu opened with Escape, left open for `updates` updates and
    // closed with Escape again.
    void Pause(int updates);
    // The pause menu's quit: Escape, Left onto the quit button, Enter.
    void Quit();
    // The updates the bot has run so far.
    int Updates() const { return updates_; }

private:
    bool BulletNearParty() const;
    void Hold(bool run);
    void Update();
    void Key(int glfwKey);

    HeadlessDriver& driver_;
    float caution_;
    bool holding_ = false;
    int updates_ = 0;
};
