// Start-up loading through the headless driver: the loader's steps, the
// resolution the window picks, the logo jingle, and the loading screen.
#include <gtest/gtest.h>

#include <cstring>
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

// Loading takes 29 updates, the first one included, and asks for the same
// files at every resolution, the images with its suffix; the longer side
// past 630 picks the 2x art, past 1230 the 4x art.
TEST(ShellLoading, TakesTwentyNineUpdatesAndAsksForEveryFileAtTheResolutionTheWindowPicks) {
    struct Case {
        int width, height;
        int level;
        const char* suffix;
    };
    const Case cases[] = {
        {630, 630, 1, ""}, {631, 1, 2, "-hd"}, {1, 631, 2, "-hd"}, {1230, 1230, 2, "-hd"}, {1231, 1, 4, "-hd2"},
    };
    std::vector<std::string> images, sounds;  // at 1x, without the suffix
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        HeadlessDriver driver(c.width, c.height);
        const c_MyApp& app = driver.App();
        driver.Updates(28);
        EXPECT_EQ(app.m_loadStep, 29);
        driver.Update();
        ASSERT_EQ(app.m_loadStep, 0);
        EXPECT_EQ(app.m_hdLevel, c.level);
        EXPECT_FLOAT_EQ(app.m_hdScale, 1.0f / c.level);
        std::vector<std::string> bare;
        for (const std::string& name : GameImages(driver)) {
            ASSERT_EQ(name.substr(name.size() - 4 - std::strlen(c.suffix)), std::string(c.suffix) + ".png") << name;
            bare.push_back(name.substr(0, name.size() - 4 - std::strlen(c.suffix)));
        }
        if (images.empty()) images = bare, sounds = driver.RequestedFiles(FileRequest::kSound);
        EXPECT_EQ(bare, images);
        EXPECT_EQ(driver.RequestedFiles(FileRequest::kSound), sounds);
        // Frame sizes in loaded pixels; the font keeps its advance and line.
        EXPECT_EQ(app.m_imageInfo[1 * 3], 32 * c.level);
        EXPECT_EQ(std::vector<int>({app.m_imageInfo[90 * 3], app.m_imageInfo[90 * 3 + 1], app.m_fontImage}),
                  std::vector<int>({7, 10, 90}));
    }
    EXPECT_EQ(sounds.size(), 18u);
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
    EXPECT_EQ(app.m_sfxChannel, 1);
    EXPECT_EQ(app.m_logoJinglePlayed, 1);
    EXPECT_EQ(kz_audio_device->ChannelState(1), kChannelPlaying);
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

TEST(ShellLoading, TheLoadingScreenTurnsSixteenDegreesAnUpdate) {
    HeadlessDriver driver;
    driver.Frame();
    const std::vector<DrawRecord> list = driver.DisplayList();
    // Eleven light dots fading in, the disc, the band and the logo (their
    // colours as the window shows them: tests/e2e), eleven dark dots.
    ASSERT_EQ(list.size(), 25u);
    EXPECT_EQ(std::vector<float>({list[0].alpha, list[10].alpha, list[14].red}), std::vector<float>({0, 1, 50}));

    // The dark ring's first dot sits at the spinner angle: 16 degrees after
    // one update, 32 after two, on a circle of a quarter of the short side.
    const auto angleOf = [](const DrawRecord& dot) {
        return std::atan2(dot.x - 320, -(dot.y - 240)) * 180 / std::acos(-1.0);
    };
    EXPECT_NEAR(angleOf(list[14]), 16, 1e-3);
    EXPECT_NEAR(std::hypot(list[14].x - 320, list[14].y - 240), 120, 1e-3);
    EXPECT_NEAR(angleOf(list[0]), 16 + 180 - 360, 1e-3);
    driver.Frame();
    EXPECT_NEAR(angleOf(driver.DisplayList()[14]), 32, 1e-3);
}

}  // namespace
