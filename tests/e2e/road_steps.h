// The road of a game in the real program, in steps a test strings together:
// pictures that tell the screens apart, input held until the window shows
// that the game acted on it, and the saved score tables.
//
// Keys are held down until the window shows that the game acted on them: the
// game reads held keys once per update, so a press and a release sent at once
// could both arrive before the next update.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/program_fixture.h"

// The title's clear colour shows in the top left corner.
inline bool OnTitle(const Screenshot& shot) { return shot.Near(5, 5, 0x000050); }

// The title once the game-over overlay has folded away. Its last frames dim
// the corner by a shade or two and still lock the keys, and a key held down
// while they lock it is never acted on.
inline bool TitleTakesKeys(const Screenshot& shot) { return shot.Near(5, 5, 0x000050, 0); }

inline bool InGame(const Screenshot& shot) { return shot.Reaches(5, 5) && !OnTitle(shot); }

// "Ready!" under the level's title, late in the start countdown.
inline bool ReadyShows(const Screenshot& shot) { return shot.LightPixels(240, 288, 400, 320) > 200; }

// The orange body of the pause panel, left and right of its buttons.
inline bool PausePanelShows(const Screenshot& shot) {
    const auto orange = [](int r, int g, int b) { return r > 150 && g > 80 && g < 160 && b < 60; };
    return shot.Count(196, 266, 204, 274, orange) == 64 && shot.Count(436, 266, 444, 274, orange) == 64;
}

// The yellow bar of the game-over overlay sliding in from the left.
inline bool GameOverShows(const Screenshot& shot) {
    return shot.Count(0, 212, 16, 220, [](int r, int g, int b) { return r > 100 && g > 100 && b < 60; }) == 128;
}

// Where the score line's green digits are (stars are white, sparkles cyan).
inline std::vector<bool> ScoreDigits(const Screenshot& shot) {
    std::vector<bool> digits;
    if (!shot.Reaches(420, 40)) return digits;
    for (int y = 16; y < 40; ++y) {
        for (int x = 220; x < 420; ++x) {
            const std::uint32_t p = shot.pixels.At(x, y);
            digits.push_back((p >> 8 & 0xff) > 180 && (p >> 16 & 0xff) < 160 && (p & 0xff) < 160);
        }
    }
    return digits;
}

// The top of the best list's row `row` (1 is the best score) at 640 x 480.
inline int PanelRowTop(int row) { return 83 + 15 * row; }

inline bool IsPanelText(int r, int g, int b) { return r > 200 && g > 150 && b < 140; }

// Where the text of the best list's row `row` starts
// in the score panel; scores are right-aligned, so more digits start further
// left. 640 for an empty row.
inline int PanelRowStart(const Screenshot& shot, int row) {
    const int top = PanelRowTop(row);
    for (int x = 500; x < 640; ++x) {
        if (shot.Count(x, top, x + 1, top + 13, IsPanelText) > 0)
            return x;
    }
    return 640;
}

// The text pixels of the best list's row `row` in the score panel.
inline std::vector<bool> PanelRow(const Screenshot& shot, int row) {
    std::vector<bool> text;
    const int top = PanelRowTop(row);
    for (int y = top; y < top + 13; ++y) {
        for (int x = 500; x < 640; ++x) text.push_back(shot.Count(x, y, x + 1, y + 1, IsPanelText) > 0);
    }
    return text;
}

// The title with a best score in the panel: its row reads otherwise than the
// empty entry below it (even a one-digit score differs from "0").
inline bool ShowsASavedBest(const Screenshot& shot) {
    return OnTitle(shot) && PanelRowStart(shot, 2) < 640 && PanelRow(shot, 1) != PanelRow(shot, 2);
}

inline std::vector<int> SavedValues(const std::string& path) {
    const std::vector<unsigned char> bytes = ReadFileBytes(path);
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::vector<int> values;
    for (std::string value; std::getline(text, value, '|');) values.push_back(std::atoi(value.c_str()));
    return values;
}

constexpr int kSavedBestOfFirstType = 35;  // the save text's first table, rank 0: best, then last
constexpr int kSavedLastOfFirstType = 36;
constexpr int kResumeX = 320, kResumeY = 248;  // the pause panel's buttons once it has slid in
constexpr int kQuitX = 180, kQuitY = 184;

// Input held until the window shows that the game acted on it. The game acts
// on a held key only once all keys were up for an update, so the steps below
// wait for a sign of such an update before the next key (or use the pointer,
// whose lock is a separate one).
class RoadTest : public ProgramTest {
protected:
    template <class Condition>
    bool HoldKeyUntil(const std::string& id, const char* key, Condition acted) {
        RunCommand({"xdotool", "keydown", "--window", id, key});
        const bool done = WaitUntil([&] { return acted(Screenshot::Of(id)); }, kBound, kPoll);
        RunCommand({"xdotool", "keyup", "--window", id, key});
        return done;
    }
    template <class Condition>
    bool HoldPointerUntil(const std::string& id, int x, int y, Condition acted) {
        RunCommand({"xdotool", "mousemove", "--window", id, std::to_string(x), std::to_string(y)});
        RunCommand({"xdotool", "mousedown", "--window", id, "1"});
        const bool done = WaitUntil([&] { return acted(Screenshot::Of(id)); }, kBound, kPoll);
        RunCommand({"xdotool", "mouseup", "--window", id, "1"});
        return done;
    }
    // Holds Run until the score line shows another number: a changed digit
    // moves far more pixels than a star or a sparkle passing.
    bool RunScores(const std::string& id) {
        const std::vector<bool> before = ScoreDigits(Screenshot::Of(id));
        return HoldKeyUntil(id, "l", [&](const Screenshot& s) {
            const std::vector<bool> now = ScoreDigits(s);
            if (now.size() != before.size()) return false;
            int changed = 0;
            for (size_t i = 0; i < now.size(); ++i) changed += now[i] != before[i];
            return changed > 40;
        });
    }
    // From the title: a game started with Space, at play with Run held.
    bool StartAGame(const std::string& id) {
        return HoldKeyUntil(id, "space", InGame) && ReadyShows(WaitForPicture(id, ReadyShows)) && RunScores(id);
    }
    // From a game: paused and quit, through the game-over overlay to the title.
    bool QuitThroughThePause(const std::string& id) {
        return HoldKeyUntil(id, "Escape", PausePanelShows) && HoldPointerUntil(id, kQuitX, kQuitY, GameOverShows) &&
               TitleTakesKeys(WaitForPicture(id, TitleTakesKeys));
    }
};
