// Start-up loading through the headless driver: the slots filled, the logo
// jingle, and the reload after a resize.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/audio_fixtures.h"
#include "tests/support/headless_driver.h"
#include "tests/unit/devices/png_fixture.h"

namespace {

// The game's own requests, without the framework's default font.
std::vector<std::string> GameImages(const HeadlessDriver& driver) {
    std::vector<std::string> names;
    for (const std::string& name : driver.RequestedFiles(FileRequest::kImage)) {
        if (name.find("vyro_font") == std::string::npos) names.push_back(name);
    }
    return names;
}

TEST(ShellLoading, FilesThatExistFillTheirSlotsAndMissingOnesLeaveThemEmpty) {
    HeadlessDriver driver;
    std::filesystem::create_directories(driver.DataDir() + "/sfx");
    ASSERT_TRUE(audio_fixtures::WriteToneWav(driver.DataDir() + "/sfx/007.wav", 440.0, 441));
    driver.Updates(29);
    const c_MyApp& app = driver.App();
    EXPECT_EQ(app.m_loadStep, 0);
    EXPECT_NE(app.m_sounds[7], nullptr);
    EXPECT_EQ(app.m_sounds[8], nullptr);
    EXPECT_EQ(app.m_images[1], nullptr);
}

// The title's pictures are in their slots when loading ends, so the very
// first title frame draws the three layers of menu art and the logo (the
// 640 x 480 window takes the 2x art).
TEST(ShellLoading, TheFirstTitleFrameAfterLoadingShowsTheTitlePictures) {
    HeadlessDriver driver;
    const auto opaque = [](int w, int h) { return std::vector<unsigned char>(w * h * 4, 255); };
    ASSERT_TRUE(WritePng(driver.DataDir() + "/menu-hd.png", 2048, 512, 4, opaque(2048, 512)));
    ASSERT_TRUE(WritePng(driver.DataDir() + "/logo-hd.png", 512, 256, 4, opaque(512, 256)));
    ASSERT_TRUE(driver.FinishLoading());
    driver.ClearDraws();
    driver.Frame();
    std::vector<int> menuFrames;
    int logos = 0;
    for (const DeviceDraw& d : driver.Draws()) {
        if (d.kind != DeviceDraw::kImage) continue;
        if (d.w == 512 && d.h == 512) menuFrames.push_back(d.srcX / 512);
        if (d.w == 512 && d.h == 256) ++logos;
    }
    EXPECT_EQ(menuFrames, std::vector<int>({0, 1, 2}));
    EXPECT_EQ(logos, 1);
}

// A resize restarts the loader once, at the new size's resolution, without
// the jingle.
TEST(ShellLoading, TheLogoJinglePlaysOnceAndNotAgainWhenAResizeReloads) {
    HeadlessDriver driver;
    std::filesystem::create_directories(driver.DataDir() + "/sfx");
    ASSERT_TRUE(audio_fixtures::WriteToneWav(driver.DataDir() + "/sfx/096.wav", 660.0, 44100));
    c_MyApp& app = driver.App();

    driver.Updates(3);
    EXPECT_EQ(app.m_sfxChannel, 0) << "nothing plays before step 4";
    driver.Update();
    EXPECT_EQ(std::vector<int>({app.m_sfxChannel, app.m_logoJinglePlayed, kz_audio_device->ChannelState(1)}),
              std::vector<int>({1, 1, kChannelPlaying}));
    ASSERT_TRUE(driver.FinishLoading());

    driver.Resize(1280, 720);
    driver.Frame();  // the render sees the new size
    EXPECT_EQ(app.m_loadStep, 1);
    driver.ClearRequests();
    ASSERT_TRUE(driver.FinishLoading());
    driver.Frames(3);
    EXPECT_EQ(app.m_loadStep, 0);
    EXPECT_EQ(app.m_sfxChannel, 1) << "the reload played an effect";
    EXPECT_EQ(GameImages(driver).back(), "gfxb-hd2.png");
}

}  // namespace
