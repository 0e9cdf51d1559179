// Frame presentation through the headless driver: the layout of the virtual
// screen, the clear, the replay of each kind of record, and an iconified
// window.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/headless_driver.h"
#include "tests/unit/devices/png_fixture.h"

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979;

std::vector<DeviceDraw> OfKind(const std::vector<DeviceDraw>& draws, DeviceDraw::Kind kind) {
    std::vector<DeviceDraw> out;
    for (const DeviceDraw& d : draws) {
        if (d.kind == kind) out.push_back(d);
    }
    return out;
}

TEST(ShellLayout, OneAxisKeepsItsDesignedLengthAndTheOtherFollowsTheWindow) {
    struct Case {
        int width, height;
        float overscan;
        int fitAxis;
        float scale, jscrw, jscrh;
        int landscape;
        float originX, originY;  // where virtual (0, 0) lands
    };
    const Case cases[] = {
        {640, 480, 0, 1, 1.0f, 640, 480, 1, 0, 0},
        {1280, 720, 0, 1, 2.0f, 640, 360, 1, 0, 0},
        {480, 640, 0, 2, 640.0f / 480, 360, 480, 0, 0, 0},
        {800, 800, 0, 2, 800.0f / 480, 480, 480, 1, 0, 0},
        {640, 480, 64, 1, 0.8f, 640, 480, 1, 64, 48},
        {480, 640, 32, 2, 576.0f / 480, 360, 480, 0, 32, 32 * 640.0f / 480},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " overscan " +
                     std::to_string(c.overscan));
        HeadlessDriver driver(c.width, c.height);
        kz_Tarvo_overscan = c.overscan;
        c_MyApp& app = driver.App();
        app.p_CLS2D(0, 0, 0, 1);
        app.p_Rect(0, 0, 10, 10);
        driver.Render();

        EXPECT_EQ(std::vector<float>({float(app.m_fitAxis), app.m_scaleX, app.m_scaleY, kz_Tarvo_jscrw, kz_Tarvo_jscrh,
                                      float(app.m_landscape)}),
                  std::vector<float>({float(c.fitAxis), c.scale, c.scale, c.jscrw, c.jscrh, float(c.landscape)}));

        // The opaque background is a clear of the whole window, not a rectangle.
        EXPECT_EQ(driver.Gl().Calls(GlOp::Clear).size(), 1u);
        const std::vector<DeviceDraw> rects = OfKind(driver.Draws(), DeviceDraw::kRect);
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(std::vector<float>({rects[0].x, rects[0].y, rects[0].w}), std::vector<float>({c.originX, c.originY, 10 * c.scale}));
    }
}

class ShellReplayTest : public ::testing::Test {
protected:
    // A 1280 x 720 window: scale 2, art at four times the virtual size. Image
    // slot 5 holds two 8 x 8 frames (32 x 32 pixels in the file).
    void SetUp() override {
        ASSERT_TRUE(WritePng(driver.DataDir() + "/probe-hd2.png", 64, 32, 4,
                             std::vector<unsigned char>(64 * 32 * 4, 255)));
        app.p_LoadImg(5, String("probe"), 8, 8, 2, 1);
        ASSERT_NE(app.m_images[5], nullptr);
        driver.Render();  // lays the screen out
        app.p_CLS2D(10, 20, 30, 0.75f);
        driver.ClearDraws();
    }

    HeadlessDriver driver{1280, 720};
    c_MyApp& app = driver.App();
};

TEST_F(ShellReplayTest, ImagesScaleByTheLayoutAndTheArtResolutionAndTurn) {
    app.p_SetSize(1.5f, 3);
    app.p_DrawImg(5, 100, 50, 1);
    app.p_SetRot(-30);  // stored negated: the record holds 30
    app.p_DrawImg(5, 10, 20, 0);
    driver.Render();

    const std::vector<DeviceDraw> images = OfKind(driver.Draws(), DeviceDraw::kImage);
    ASSERT_EQ(images.size(), 2u);
    const DeviceDraw& plain = images[0];
    // Frame 1, at the set size times the layout's 2 over the art's 4.
    EXPECT_EQ(std::vector<float>({plain.w, plain.h, float(plain.srcX), plain.a, plain.d, plain.b}),
              std::vector<float>({32, 32, 32, 1.5f * 2 * 0.25f, 3.0f * 2 * 0.25f, 0}));
    // The frame's centre (its handle) lands on the record's position.
    EXPECT_FLOAT_EQ(plain.MapX(plain.x + 16, plain.y + 16), 200);
    EXPECT_FLOAT_EQ(plain.MapY(plain.x + 16, plain.y + 16), 100);

    const DeviceDraw& turned = images[1];
    EXPECT_EQ(turned.srcX, 0);
    EXPECT_NEAR(std::atan2(std::fabs(turned.b), turned.a) * kDegrees, 30, 1e-3);
    EXPECT_NEAR(turned.MapX(turned.x + 16, turned.y + 16), 20, 1e-3);
    EXPECT_NEAR(turned.MapY(turned.x + 16, turned.y + 16), 40, 1e-3);
}

TEST_F(ShellReplayTest, RectanglesIgnoreRotationAndOvalsAreCentredOnTheirPoint) {
    app.p_SetRot(45);
    app.p_Rect(10, 20, 30, 40);
    app.p_Oval(200, 100, 8, 4);
    driver.Render();

    const std::vector<DeviceDraw> rects = OfKind(driver.Draws(), DeviceDraw::kRect);
    ASSERT_EQ(rects.size(), 2u);  // the clear and the record
    const DeviceDraw& rect = rects[1];
    EXPECT_EQ(std::vector<float>({rect.x, rect.y, rect.w, rect.h}), std::vector<float>({20, 40, 60, 80}));
    EXPECT_EQ(std::vector<float>({rect.a, rect.b, rect.c, rect.d}), std::vector<float>({1, 0, 0, 1}));

    const std::vector<DeviceDraw> ovals = OfKind(driver.Draws(), DeviceDraw::kOval);
    ASSERT_EQ(ovals.size(), 1u);
    EXPECT_EQ(std::vector<float>({ovals[0].x, ovals[0].y, ovals[0].w, ovals[0].h}),
              std::vector<float>({400 - 16, 200 - 8, 32, 16}));
}

TEST_F(ShellReplayTest, TheClearAndEachRecordCarryTheirColourAlphaAndBlend) {
    struct Case { float red, green, blue, alpha; int blendCode; int deviceBlend; };
    // Blend code 3 is additive; every other code is alpha blending.
    const Case cases[] = {{255, 128, 0, 0.5f, 1, 0}, {0, 64, 255, 1.0f, 3, 1}, {1, 2, 3, 0.125f, 2, 0}};
    for (const Case& c : cases) {
        app.p_SetCol(c.red, c.green, c.blue, c.alpha);
        app.m_blend = c.blendCode;
        app.p_Rect(0, 0, 1, 1);
    }
    driver.Render();

    std::vector<DeviceDraw> rects = OfKind(driver.Draws(), DeviceDraw::kRect);
    ASSERT_EQ(rects.size(), 1 + std::size(cases));
    EXPECT_EQ(std::vector<float>({rects[0].red, rects[0].green, rects[0].blue, rects[0].alpha}),
              std::vector<float>({10, 20, 30, 0.75f}));
    // A translucent background is painted over the whole window, margins included.
    EXPECT_EQ(std::vector<float>({rects[0].x, rects[0].y, rects[0].w, rects[0].h}),
              std::vector<float>({-1, -1, 1282, 722}));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const DeviceDraw& d = rects[i + 1];
        EXPECT_EQ(std::vector<float>({d.red, d.green, d.blue, d.alpha}),
                  std::vector<float>({cases[i].red, cases[i].green, cases[i].blue, cases[i].alpha}));
        EXPECT_EQ(d.blend, cases[i].deviceBlend);
    }
}

TEST_F(ShellReplayTest, RecordsNamingNoImageDrawNothing) {
    const float kinds[] = {7, -5, 100, 150, 1e9f, -3718};  // an empty slot, then ids no slot has
    for (float kind : kinds) {
        app.p_DrawImg(5, 0, 0, 0);
        app.m_drawList[app.m_drawCount - 15] = kind;
    }
    app.p_DrawImg(5, 0, 0, 2);     // a frame the image does not have
    app.p_DrawImg(5, 0, 0, 1e9f);  // nor this one
    app.p_DrawImg(5, 0, 0, 0);
    driver.Render();
    std::vector<size_t> counts;
    for (auto kind : {DeviceDraw::kImage, DeviceDraw::kRect, DeviceDraw::kOval}) counts.push_back(OfKind(driver.Draws(), kind).size());
    EXPECT_EQ(counts, std::vector<size_t>({1, 1, 0}));
}

TEST(ShellResize, AnIconifiedWindowKeepsTheLayoutAndTheRestoreReloadsNothing) {
    HeadlessDriver driver(1280, 720);
    ASSERT_TRUE(driver.FinishLoading());
    c_MyApp& app = driver.App();
    kz_Tarvo_overscan = 16;
    driver.Render();
    const float scale = app.m_scaleX, jscrw = kz_Tarvo_jscrw, jscrh = kz_Tarvo_jscrh;
    const int fitAxis = app.m_fitAxis;

    // Iconified, the window system reports no area at all.
    driver.Iconify(true);
    driver.Resize(0, 0);
    driver.Frames(3);
    ASSERT_EQ(kz_app_DeviceWidth(), 0);
    EXPECT_EQ(app.m_loadStep, 0);
    EXPECT_EQ(std::vector<int>({app.m_lastDevWidth, app.m_lastDevHeight}), std::vector<int>({1280, 720}));
    EXPECT_EQ(std::vector<float>({app.m_scaleX, app.m_scaleY, kz_Tarvo_jscrw, kz_Tarvo_jscrh}),
              std::vector<float>({scale, scale, jscrw, jscrh}));
    EXPECT_EQ(app.m_fitAxis, fitAxis);

    driver.Resize(1280, 720);
    driver.Iconify(false);
    driver.Frames(3);
    EXPECT_EQ(app.m_loadStep, 0);

    // One side of zero is as empty as both.
    driver.Resize(1280, 0);
    driver.Frame();
    EXPECT_EQ(app.m_loadStep, 0);
    EXPECT_FALSE(std::isnan(kz_Tarvo_jscrh));
}

}  // namespace
