// The road of a game in the real program: the title with the debug line
// turned on and off, a game started from the keyboard, Run held, pause and
// resume, quitting from the pause panel, the game-over overlay, the title
// again with the score saved, and the score in the panel after a restart.
#include "tests/e2e/road_steps.h"

namespace {

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

    ASSERT_TRUE(StartAGame(id));
    const std::uint32_t corner = Screenshot::Of(id).pixels.At(5, 5);

    ASSERT_TRUE(HoldKeyUntil(id, "Escape", PausePanelShows));
    ASSERT_TRUE(HoldPointerUntil(id, kResumeX, kResumeY, [](const Screenshot& s) { return !PausePanelShows(s); }));
    // The panel has slid away and the picture is no longer dimmed.
    ASSERT_TRUE(WaitForPicture(id, [&](const Screenshot& s) { return s.Near(5, 5, corner); }).Near(5, 5, corner));
    EXPECT_TRUE(RunScores(id)) << "the game goes on";

    ASSERT_TRUE(QuitThroughThePause(id));
    const std::vector<int> saved = SavedValues(folder_.File(".zarnikstate"));
    ASSERT_EQ(saved.size(), 203u);
    EXPECT_GT(saved[kSavedBestOfFirstType], 0);
    EXPECT_EQ(saved[kSavedBestOfFirstType], saved[kSavedLastOfFirstType]);
    EXPECT_EQ(EndWithF4(id), 0) << Output();

    Start();
    id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    EXPECT_TRUE(ShowsASavedBest(WaitForPicture(id, ShowsASavedBest))) << "score " << saved[kSavedBestOfFirstType];
    EXPECT_NE(Output().find("Highscore 0 Loaded\n"), std::string::npos) << Output();
    EXPECT_EQ(EndWithF4(id), 0) << Output();
}

}  // namespace
