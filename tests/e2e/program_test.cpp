// The real program in a private X server with the generated data folder: its
// window, the loading screen as the server shows it, and the ways it ends.
// (Running on without a sound device: wave_output_test; the debug line:
// road_test.)
#include "tests/e2e/program_fixture.h"

namespace {

// The window at its size, with the loading screen's background, its orange
// band and its yellow disc, at points clear of the logo and the spinner.
bool ShowsTheLoadingScreen(const Screenshot& shot) {
    return shot.pixels.width == 640 && shot.pixels.height == 480 && shot.Near(5, 5, 0x282850) &&
           shot.Near(20, 240, 0xbb7c42) && shot.Near(320, 99, 0xd4d410);
}

// The window is found by its exact title; the picture shows its size.
TEST_F(ProgramTest, ItShowsTheLoadingScreenAndF4EndsWithStatusZero) {
    Start();
    const std::string id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    const Screenshot shot = WaitForPicture(id, ShowsTheLoadingScreen);
    ASSERT_TRUE(ShowsTheLoadingScreen(shot))
        << "size, corner, band and disc: " << (shot.pixels.width == 0 ? "no picture" : "other colours");
    EXPECT_EQ(EndWithF4(id), 0) << Output();
    EXPECT_EQ(Output().find("not closed"), std::string::npos) << Output();
}

TEST_F(ProgramTest, TheCloseBoxEndsWithStatusZero) {
    Start();
    const std::string id = Window();
    ASSERT_FALSE(id.empty()) << Output();
    ClickCloseBox(id);
    EXPECT_EQ(ExitStatus(), 0) << Output();
    EXPECT_EQ(Output().find("not closed"), std::string::npos) << Output();
}

}  // namespace
