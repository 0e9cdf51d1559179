// The road of a game in the real program: the title with the debug line
// turned on and off, a game started from the keyboard, Run held, pause and
// resume, quitting from the pause panel, the game-over overlay, the title
// again with the score saved, and the score in the panel after a restart.
//
// Keys are held down until the window shows that the game acted on them: the
// game reads held keys once per update, so a press and a release sent at once
// could both arrive before the next update.
#include <sstream>
#include <vector>

#include "tests/e2e/program_fixture.h"

namespace {

// The title's clear colour shows in the top left corner.
bool OnTitle(const Screenshot& shot) { return shot.Near(5, 5, 0x000050); }

bool InGame(const Screenshot& shot) { return shot.Reaches(5, 5) && !OnTitle(shot); }

// "Ready!" under the level's title, late in the start countdown.
bool ReadyShows(const Screenshot& shot) { return shot.LightPixels(240, 288, 400, 320) > 200; }

// The orange body of the pause panel, left and right of its buttons.
bool PausePanelShows(const Screenshot& shot) {
    const auto orange = [](int r, int g, int b) { return r > 150 && g > 80 && g < 160 && b < 60; };
    return shot.Count(196, 266, 204, 274, orange) == 64 && shot.Count(436, 266, 444, 274, orange) == 64;
}

// The yellow bar of the game-over overlay sliding in from the left.
bool GameOverShows(const Screenshot& shot) {
    return shot.Count(0, 212, 16, 220, [](int r, int g, int b) { return r > 100 && g > 100 && b < 60; }) == 128;
}

// Where the score line's green digits are (stars are white, sparkles cyan).
std::vector<bool> ScoreDigits(const Screenshot& shot) {
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

// Where the text of the best list's row `row` (1 is the best score) starts
// in the score panel; scores are right-aligned, so more digits start further
// left. 640 for an empty row.
int PanelRowStart(const Screenshot& shot, int row) {
    const int top = 61 + 15 * row;
    for (int x = 500; x < 640; ++x) {
        if (shot.Count(x, top, x + 1, top + 13, [](int r, int g, int b) { return r > 200 && g > 150 && b < 140; }) > 0)
            return x;
    }
    return 640;
}

std::vector<int> SavedValues(const std::string& path) {
    const std::vector<unsigned char> bytes = ReadFileBytes(path);
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::vector<int> values;
    for (std::string value; std::getline(text, value, '|');) values.push_back(std::atoi(value.c_str()));
    return values;
}

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
};

constexpr int kSavedBestOfFirstType = 35;  // the save text's first table, rank 0: best, then last
constexpr int kSavedLastOfFirstType = 36;
constexpr int kResumeX = 320, kResumeY = 248;  // the pause panel's buttons once it has slid in
constexpr int kQuitX = 180, kQuitY = 184;

TEST_F(RoadTest, AGameFromTheKeyboardPausedResumedAndQuitEntersItsScoreWhichTheNextStartShows) {
    Start();
    std::string id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    ASSERT_TRUE(OnTitle(WaitForPicture(id, OnTitle))) << Output();
    // F1 shows the debug line at the bottom left, over plain ground on the
    // title, and F1 again hides it.
    const auto lineShows = [](const Screenshot& s) { return s.LightPixels(16, 456, 240, 480) > 20; };
    EXPECT_FALSE(lineShows(Screenshot::Of(id)));
    ASSERT_EQ(RunCommand({"xdotool", "key", "--window", id, "F1"}).status, 0);
    EXPECT_TRUE(lineShows(WaitForPicture(id, lineShows)));
    ASSERT_EQ(RunCommand({"xdotool", "key", "--window", id, "F1"}).status, 0);
    EXPECT_FALSE(lineShows(WaitForPicture(id, [&](const Screenshot& s) { return s.Reaches(5, 5) && !lineShows(s); })));

    ASSERT_TRUE(HoldKeyUntil(id, "space", InGame));
    ASSERT_TRUE(ReadyShows(WaitForPicture(id, ReadyShows)));
    ASSERT_TRUE(RunScores(id));
    const std::uint32_t corner = Screenshot::Of(id).pixels.At(5, 5);

    ASSERT_TRUE(HoldKeyUntil(id, "Escape", PausePanelShows));
    ASSERT_TRUE(HoldPointerUntil(id, kResumeX, kResumeY, [](const Screenshot& s) { return !PausePanelShows(s); }));
    // The panel has slid away and the picture is no longer dimmed.
    ASSERT_TRUE(WaitForPicture(id, [&](const Screenshot& s) { return s.Near(5, 5, corner); }).Near(5, 5, corner));
    EXPECT_TRUE(RunScores(id)) << "the game goes on";

    ASSERT_TRUE(HoldKeyUntil(id, "Escape", PausePanelShows));
    ASSERT_TRUE(HoldPointerUntil(id, kQuitX, kQuitY, GameOverShows));
    ASSERT_TRUE(OnTitle(WaitForPicture(id, OnTitle)));
    const std::vector<int> saved = SavedValues(folder_.File(".zarnikstate"));
    ASSERT_EQ(saved.size(), 203u);
    EXPECT_GT(saved[kSavedBestOfFirstType], 0);
    EXPECT_EQ(saved[kSavedBestOfFirstType], saved[kSavedLastOfFirstType]);
    EXPECT_EQ(EndWithF4(id), 0) << Output();

    Start();
    id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    // The best score has more digits than the empty entry below it.
    EXPECT_TRUE(OnTitle(WaitForPicture(id, [](const Screenshot& s) {
        return OnTitle(s) && PanelRowStart(s, 2) < 640 && PanelRowStart(s, 1) < PanelRowStart(s, 2) - 4;
    }))) << "score " << saved[kSavedBestOfFirstType];
    EXPECT_NE(Output().find("Highscore 0 Loaded\n"), std::string::npos) << Output();
    EXPECT_EQ(EndWithF4(id), 0) << Output();
}

}  // namespace
