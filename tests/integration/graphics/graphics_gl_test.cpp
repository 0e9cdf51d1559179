// The renderer on real OpenGL (Mesa in a window of a private X server), read
// back from the window: blending, scissor, texture upload, and the order and
// packing of read pixels. (What reaches OpenGL: the recorded-GL unit tests.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "devices/gxtk_graphics.h"
#include "host/glfw_facade.h"
#include "host/kzglfwgame.h"
#include "tests/integration/support/xvfb.h"
#include "tests/support/scratch_files.h"
#include "tests/unit/devices/png_fixture.h"

namespace {

constexpr int kSize = 64;

class GraphicsGlTest : public ::testing::Test {
protected:
    // One X server and window-system connection per process. The window
    // system is not shut down: that would unload Mesa before the leak
    // checker could attribute its one-time allocations.
    static void SetUpTestSuite() {
        server_ = new XvfbServer();
        if (!server_->Start()) return;
        glfw2::UseBackend(nullptr);
        initialised_ = glfw2::glfwInit() == 1;
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(initialised_) << server_->Error();
        game_.SetDeviceWindow(kSize, kSize, 0);
        device_ = new gxtkGraphics(&game_);
        BeginFrame();
    }
    void TearDown() override {
        glfw2::glfwCloseWindow();
    }

    // A frame cleared to black with white, opaque, alpha-blended drawing.
    void BeginFrame() {
        device_->BeginRender();
        device_->SetScissor(0, 0, kSize, kSize);
        device_->SetMatrix(1, 0, 0, 1, 0, 0);
        device_->SetColor(255, 255, 255);
        device_->SetAlpha(1);
        device_->Cls(0, 0, 0);
    }

    // Whether the pixel's colour is within `tolerance` of 0xRRGGBB in each
    // channel; the message shows what was there.
    ::testing::AssertionResult Near(int x, int y, uint32_t rgb, int tolerance = 2) {
        Array<int> pixel(1);
        device_->ReadPixels(pixel, x, y, 1, 1, 0, 1);
        const auto seen = static_cast<uint32_t>(pixel[0]);
        for (int shift : {16, 8, 0}) {
            if (std::abs(int(seen >> shift & 0xff) - int(rgb >> shift & 0xff)) > tolerance) {
                return ::testing::AssertionFailure() << std::hex << "(" << x << ", " << y << ") is " << seen;
            }
        }
        return ::testing::AssertionSuccess();
    }

    static inline XvfbServer* server_ = nullptr;
    static inline bool initialised_ = false;
    KzGlfwGame game_;
    gxtkGraphics* device_ = nullptr;
};

TEST_F(GraphicsGlTest, HalfTransparentColourBlendsPremultipliedAndAdditiveBlendingAdds) {
    device_->Cls(0, 0, 255);
    device_->SetColor(255, 0, 0);
    device_->SetAlpha(0.5f);
    device_->DrawRect(0, 0, kSize, kSize);
    device_->EndRender();
    EXPECT_TRUE(Near(32, 32, 0x7f0080));

    BeginFrame();
    device_->Cls(100, 0, 20);
    device_->SetBlend(1);
    device_->SetColor(100, 50, 0);
    device_->DrawRect(0, 0, kSize, kSize);
    device_->SetBlend(0);
    device_->SetColor(0, 0, 255);
    device_->DrawRect(0, 0, 8, 8);  // alpha blending again, opaque: replaces
    device_->EndRender();
    EXPECT_TRUE(Near(32, 32, 0xc83214));
    EXPECT_TRUE(Near(4, 4, 0x0000ff));
}

TEST_F(GraphicsGlTest, ScissorClipsDrawingToItsRectangleCountedFromTheTop) {
    device_->SetScissor(10, 5, 20, 10);
    device_->DrawRect(0, 0, kSize, kSize);
    device_->EndRender();
    const struct { int x, y; bool inside; } points[] = {{10, 5, true}, {29, 14, true}, {9, 5, false}, {10, 4, false},
                  {30, 10, false}, {20, 15, false}, {20, 50, false}};
    for (const auto& p : points) EXPECT_TRUE(Near(p.x, p.y, p.inside ? 0xffffff : 0));
}

TEST_F(GraphicsGlTest, TexturedQuadsShowGreyAndColourTexelsPremultipliedTexelForTexel) {
    ScratchDir dir;
    // 2 x 2 pictures; over black a premultiplied texel shows as its colour
    // times its alpha.
    const struct { int depth; std::vector<unsigned char> pixels; uint32_t shown[4]; } cases[] = {
        {2, {255, 255, 200, 128, 100, 0, 50, 255}, {0xffffff, 0x646464, 0x000000, 0x323232}},
        {4, {255, 0, 0, 255, 200, 100, 50, 128, 0, 0, 255, 0, 40, 80, 120, 255},
         {0xff0000, 0x643219, 0x000000, 0x285078}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth);
        const std::string path = dir.File("d" + std::to_string(c.depth) + ".png");
        ASSERT_TRUE(WritePng(path, 2, 2, c.depth, c.pixels));
        gxtkSurface* surface = device_->LoadSurface(String(path.c_str()));
        ASSERT_NE(surface, nullptr);

        BeginFrame();
        device_->SetMatrix(16, 0, 0, 16, 0, 0);  // each texel 16 x 16 pixels
        device_->DrawSurface(surface, 0, 0);
        device_->EndRender();
        const int centres[4][2] = {{8, 8}, {24, 8}, {8, 24}, {24, 24}};
        for (int i = 0; i < 4; ++i) EXPECT_TRUE(Near(centres[i][0], centres[i][1], c.shown[i], 1)) << i;
        EXPECT_TRUE(Near(40, 8, 0)) << "nothing beyond the picture";
    }
}

}  // namespace

// Where the device says a clear matches an opaque fill of the window, every
// pixel is the same; off whole numbers the clear's rounding differs, which
// is why a fill stays a fill there.
TEST_F(GraphicsGlTest, AClearLeavesTheSamePixelsAsTheOpaqueFillItReplaces) {
    const struct { float r, g, b, alpha; bool clears; } cases[] = {
        {0, 0, 0, 1, true},          {12, 200, 255, 1, true},  {1, 128, 254, 1, true},
        {300, -4, 17, 1, true},      {12.7f, 0, 0, 1, false},  {0, 0, 0, 0.99f, false},
        {std::nanf(""), 0, 0, 1, false},
    };
    const auto window = [&] {
        Array<int> pixels(kSize * kSize);
        device_->ReadPixels(pixels, 0, 0, kSize, kSize, 0, kSize);
        return std::vector<int>(&pixels[0], &pixels[0] + kSize * kSize);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.r << "," << c.g << "," << c.b << " alpha " << c.alpha);
        EXPECT_EQ(gxtkGraphics::ClsMatchesFill(c.r, c.g, c.b, c.alpha), c.clears);
        if (c.alpha != 1 || std::isnan(c.r)) continue;
        device_->Cls(90, 40, 10);
        device_->SetColor(c.r, c.g, c.b);
        device_->SetAlpha(c.alpha);
        device_->DrawRect(-1, -1, kSize + 2, kSize + 2);
        const std::vector<int> filled = window();
        device_->Cls(c.r, c.g, c.b);
        EXPECT_EQ(window() == filled, c.clears);
    }
}
