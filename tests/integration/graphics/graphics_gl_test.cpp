// The renderer on real OpenGL (Mesa in a window of a private X server), read
// back from the window: blending, scissor, textures of every pixel depth,
// ovals, and the order and packing of read pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
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

struct Rgb {
    int r, g, b;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

class GraphicsGlTest : public ::testing::Test {
protected:
    // One X server and one window-system connection for all the tests of a
    // process. The window system is not shut down: that would unload Mesa
    // before the leak checker could attribute its one-time allocations.
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
        OpenWindow();
        device_ = new gxtkGraphics();
        BeginFrame();
    }

    void TearDown() override {
        glfw2::glfwCloseWindow();
        KzGlfwGame::_glfwGame = nullptr;
    }

    void OpenWindow() {
        const int seq = glfwGraphicsSeq;
        game_.SetDeviceWindow(kSize, kSize, 0);
        ASSERT_EQ(glfwGraphicsSeq, seq + 1) << "a window with a new context";
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

    // The window's pixels, top row first, as 0xAARRGGBB.
    std::vector<uint32_t> ReadWindow() {
        Array<int> pixels(kSize * kSize);
        device_->ReadPixels(pixels, 0, 0, kSize, kSize, 0, kSize);
        return std::vector<uint32_t>(pixels.begin(), pixels.end());
    }

    Rgb At(int x, int y) {
        Array<int> pixel(1);
        device_->ReadPixels(pixel, x, y, 1, 1, 0, 1);
        const auto p = static_cast<uint32_t>(pixel[0]);
        return {int(p >> 16 & 0xff), int(p >> 8 & 0xff), int(p & 0xff)};
    }

    static bool Near(const Rgb& a, const Rgb& b, int tolerance = 2) {
        return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
               std::abs(a.b - b.b) <= tolerance;
    }

    static inline XvfbServer* server_ = nullptr;
    static inline bool initialised_ = false;
    KzGlfwGame game_;
    gxtkGraphics* device_ = nullptr;
};

TEST_F(GraphicsGlTest, HalfTransparentColourBlendsPremultipliedOverTheBackground) {
    device_->Cls(0, 0, 255);
    device_->SetColor(255, 0, 0);
    device_->SetAlpha(0.5f);
    device_->DrawRect(0, 0, kSize, kSize);
    device_->EndRender();
    const Rgb seen = At(32, 32);
    EXPECT_TRUE(Near(seen, {127, 0, 128})) << seen;
}

TEST_F(GraphicsGlTest, AdditiveBlendingAddsTheColour) {
    device_->Cls(100, 0, 20);
    device_->SetBlend(1);
    device_->SetColor(100, 50, 0);
    device_->DrawRect(0, 0, kSize, kSize);
    device_->SetBlend(0);
    device_->SetColor(0, 0, 255);
    device_->DrawRect(0, 0, 8, 8);  // alpha blending again, opaque: replaces
    device_->EndRender();
    EXPECT_TRUE(Near(At(32, 32), {200, 50, 20})) << At(32, 32);
    EXPECT_TRUE(Near(At(4, 4), {0, 0, 255})) << At(4, 4);
}

TEST_F(GraphicsGlTest, ScissorClipsDrawingToItsRectangleCountedFromTheTop) {
    device_->SetScissor(10, 5, 20, 10);
    device_->DrawRect(0, 0, kSize, kSize);
    device_->EndRender();
    const struct {
        int x, y;
        bool inside;
    } points[] = {{10, 5, true}, {29, 14, true}, {9, 5, false}, {10, 4, false}, {30, 10, false},
                  {20, 15, false}, {20, 50, false}};
    for (const auto& p : points) {
        const Rgb expected = p.inside ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
        EXPECT_TRUE(Near(At(p.x, p.y), expected)) << p.x << "," << p.y << " " << At(p.x, p.y);
    }
}

TEST_F(GraphicsGlTest, TexturedQuadsShowEveryDepthPremultipliedTexelForTexel) {
    ScratchDir dir;
    // 2 x 2 pictures; over black, a premultiplied texel shows as its colour
    // times its alpha.
    const struct {
        int depth;
        std::vector<unsigned char> pixels;
        Rgb shown[4];
    } cases[] = {
        {1, {0, 80, 160, 255}, {{0, 0, 0}, {80, 80, 80}, {160, 160, 160}, {255, 255, 255}}},
        {2, {255, 255, 200, 128, 100, 0, 50, 255}, {{255, 255, 255}, {100, 100, 100}, {0, 0, 0}, {50, 50, 50}}},
        {3, {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30}, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}}},
        {4,
         {255, 0, 0, 255, 200, 100, 50, 128, 0, 0, 255, 0, 40, 80, 120, 255},
         {{255, 0, 0}, {100, 50, 25}, {0, 0, 0}, {40, 80, 120}}},
    };
    for (const auto& c : cases) {
        const std::string path = dir.File("d" + std::to_string(c.depth) + ".png");
        ASSERT_TRUE(WritePng(path, 2, 2, c.depth, c.pixels));
        gxtkSurface* surface = device_->LoadSurface(String(path.c_str()));
        ASSERT_NE(surface, nullptr) << c.depth;

        BeginFrame();
        device_->SetMatrix(16, 0, 0, 16, 0, 0);  // each texel 16 x 16 pixels
        device_->DrawSurface(surface, 0, 0);
        device_->EndRender();
        const int centres[4][2] = {{8, 8}, {24, 8}, {8, 24}, {24, 24}};
        for (int i = 0; i < 4; ++i) {
            const Rgb seen = At(centres[i][0], centres[i][1]);
            EXPECT_TRUE(Near(seen, c.shown[i], 1)) << "depth " << c.depth << " texel " << i << " " << seen;
        }
        EXPECT_TRUE(Near(At(40, 8), {0, 0, 0})) << "nothing beyond the picture";
    }
}

TEST_F(GraphicsGlTest, SubRectangleOfASurfaceAndItsTextureAfterANewWindow) {
    ScratchDir dir;
    const std::string path = dir.File("sheet.png");
    std::vector<unsigned char> pixels(4 * 1 * 3);
    for (int i = 0; i < 4; ++i) pixels[i * 3] = static_cast<unsigned char>(60 * (i + 1));
    ASSERT_TRUE(WritePng(path, 4, 1, 3, pixels));
    gxtkSurface* surface = device_->LoadSurface(String(path.c_str()));
    ASSERT_NE(surface, nullptr);

    OpenWindow();  // the old context and its textures are gone
    BeginFrame();
    device_->SetMatrix(8, 0, 0, 8, 0, 0);
    device_->DrawSurface2(surface, 0, 0, 2, 0, 1, 1);  // the third texel only
    device_->EndRender();
    EXPECT_TRUE(Near(At(4, 4), {180, 0, 0}, 1)) << At(4, 4);
    EXPECT_TRUE(Near(At(12, 4), {0, 0, 0})) << At(12, 4);
    EXPECT_EQ(surface->contextSeq, glfwGraphicsSeq);
}

TEST_F(GraphicsGlTest, OvalCoversTheInscribedEllipse) {
    device_->DrawOval(8, 16, 48, 32);  // radii 24 and 16 about (32, 32)
    device_->EndRender();
    const std::vector<uint32_t> window = ReadWindow();
    int covered = 0;
    for (uint32_t p : window) covered += (p & 0xffffff) == 0xffffff;
    const double area = M_PI * 24 * 16;
    EXPECT_NEAR(covered, area, area * 0.03);
    const struct {
        int x, y;
        bool inside;
    } points[] = {{32, 32, true}, {9, 32, true}, {54, 32, true}, {32, 17, true}, {32, 46, true},
                  {10, 18, false}, {54, 46, false}, {6, 32, false}, {32, 14, false}};
    for (const auto& p : points) {
        const bool white = Near(At(p.x, p.y), {255, 255, 255});
        EXPECT_EQ(white, p.inside) << p.x << "," << p.y;
    }
}

TEST_F(GraphicsGlTest, ReadPixelsGivesTopRowFirstAsAlphaRedGreenBlue) {
    device_->SetColor(255, 0, 0);
    device_->DrawRect(0, 0, kSize, 1);
    device_->SetColor(0, 0, 255);
    device_->DrawRect(0, kSize - 1, kSize, 1);
    device_->SetColor(0, 255, 0);
    device_->DrawRect(1, 1, 1, 1);
    device_->EndRender();

    const std::vector<uint32_t> window = ReadWindow();
    EXPECT_EQ(window[0], 0xFFFF0000u) << std::hex << window[0];
    EXPECT_EQ(window[kSize * (kSize - 1)], 0xFF0000FFu) << std::hex << window[kSize * (kSize - 1)];
    EXPECT_EQ(window[kSize + 1], 0xFF00FF00u) << std::hex << window[kSize + 1];

    // A 2 x 2 corner into an array with an offset and a wider pitch.
    Array<int> part(8);
    device_->ReadPixels(part, 0, 0, 2, 2, 1, 3);
    const std::vector<uint32_t> expected = {0, 0xFFFF0000u, 0xFFFF0000u, 0, 0xFF000000u, 0xFF00FF00u, 0, 0};
    EXPECT_EQ(std::vector<uint32_t>(part.begin(), part.end()), expected);
}

}  // namespace
