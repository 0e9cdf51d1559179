// Once a screen runs, its updates and renders allocate nothing from the
// collector: counted over the events the host forwards.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/headless_driver.h"
#include "tests/unit/devices/png_fixture.h"

namespace {

TEST(ShellSteadyState, TheTitleModeAllocatesNoCollectorBytesPerUpdateOrRender) {
    for (const bool debugLine : {false, true}) {
        SCOPED_TRACE(debugLine ? "with the debug line" : "without the debug line");
        HeadlessDriver driver;
        // Loading an image is counted, so a count of zero below means something.
        std::filesystem::create_directories(driver.DataDir() + "/common");
        ASSERT_TRUE(WritePng(driver.DataDir() + "/common/icons-hd.png", 256, 256, 4,
                             std::vector<unsigned char>(256 * 256 * 4, 255)));
        const long long created = driver.CollectorBytes();
        driver.Update();  // step 1 loads the icons
        ASSERT_NE(driver.App().m_images[97], nullptr);
        EXPECT_GT(driver.CollectorBytes(), created);
        ASSERT_TRUE(driver.FinishLoading());
        if (debugLine) driver.Tap(glfw2::KEY_F1);
        driver.Frames(5);
        ASSERT_EQ(kz_Tarvo_DebugMode, debugLine ? 1 : 0);

        const HeadlessDriver::FrameBytes bytes = driver.CollectorBytesOfFrames(60, [&] { driver.Update(); });
        EXPECT_EQ(bytes.updates, 0);
        EXPECT_EQ(bytes.renders, 0);
    }
}

}  // namespace
