// The graphics module over a device with recorded OpenGL: image frames and
// flags, the transform and its stack, and what reaches the device.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/app.h"
#include "framework/graphics.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"
#include "tests/unit/devices/device_fixture.h"
#include "tests/unit/devices/png_fixture.h"

namespace {

using Points = std::vector<std::pair<int, int>>;

class GraphicsModuleTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        kz_app__devWidth = 640;
        kz_app__devHeight = 480;
        kz_graphics_InitGlobals();
        kz_graphics_SetGraphicsDevice(device);
        kz_graphics_BeginRender();
        gl.Clear();
    }
    void TearDown() override {
        kz_graphics_EndRender();
        DeviceTest::TearDown();
    }

    static c_Image* Grid(int surface_w, int surface_h, int frame_w, int frame_h, int count, int flags = 0) {
        return (new c_Image())->m_new()->p_Init2(BlankSurface(surface_w, surface_h), 0, 0, frame_w, frame_h, count,
                                                 flags, nullptr, 0, 0, surface_w, surface_h);
    }
    static c_Image* Row(int surface_w, int surface_h, int count, int flags = 0) {
        return (new c_Image())->m_new()->p_Init(BlankSurface(surface_w, surface_h), count, flags);
    }
    static Points Corners(const c_Image* image) {
        Points corners;
        for (const c_Frame* frame : image->m_frames) corners.emplace_back(frame->m_x, frame->m_y);
        return corners;
    }

    // Where the device's transform puts a point.
    std::pair<float, float> DeviceMaps(float x, float y) const {
        return {device->a * x + device->c * y + device->tx, device->b * x + device->d * y + device->ty};
    }

    c_GraphicsContext& context() { return *kz_graphics_context; }
};

}  // namespace

TEST_F(GraphicsModuleTest, GridFramesFillRowsOfTheSurfaceAndFramesThatDoNotFitEndTheProgram) {
    EXPECT_EQ(Corners(Grid(128, 96, 32, 32, 10)), (Points{{0, 0}, {32, 0}, {64, 0}, {96, 0}, {0, 32}, {32, 32},
                                                          {64, 32}, {96, 32}, {0, 64}, {32, 64}}));
    EXPECT_EQ(Grid(128, 96, 32, 32, 12)->m_frames.Length(), 12) << "exactly fills the surface";
    for (const std::pair<int, int>& c : {std::pair{128, 13}, std::pair{16, 1}}) {  // surface width, frames
        const int surface_w = c.first, count = c.second;
        const ChildResult result = RunInChild([&] { Grid(surface_w, 96, 32, 32, count); });
        EXPECT_NE(result.exit_status, 0) << count << " frames";
        EXPECT_NE(result.out.find("Image frame outside surface"), std::string::npos) << result.out;
    }
}

// Padding across only (a row of frames) is checked on the default font below.
TEST_F(GraphicsModuleTest, PaddingMovesFramesInsideTheirBorders) {
    c_Image* both = Grid(64, 32, 32, 32, 2, kImagePadX | kImagePadY);
    EXPECT_EQ(Corners(both), (Points{{1, 1}, {33, 1}}));
    EXPECT_EQ(std::vector<int>({both->m_width, both->m_height}), (std::vector<int>{30, 30}));
}

TEST_F(GraphicsModuleTest, OnlyAnImageThatIsItsWholeSurfaceIsDrawnAsOne) {
    const struct { const char* what; c_Image* image; bool whole; } cases[] = {
        {"one frame covering the surface", Row(40, 30, 1), true},
        {"one grid frame covering the surface", Grid(40, 30, 40, 30, 1), true},
        {"padded", Row(40, 30, 1, kImagePadX), false},
        {"two frames", Row(40, 30, 2), false},
        {"smaller frame", Grid(40, 30, 20, 30, 1), false},
    };
    for (const auto& c : cases) EXPECT_EQ((c.image->m_flags & kImageWholeSurface) != 0, c.whole) << c.what;

    kz_graphics_DrawImage(cases[0].image, 5, 5, 0);
    EXPECT_FLOAT_EQ(device->vertices[2].u, 1.0f) << "the whole texture";
    kz_graphics_DrawImage(cases[2].image, 5, 5, 0);
    EXPECT_FLOAT_EQ(device->vertices[0].u, 1.0f / 40) << "from the frame inside its border (a new batch)";
}

TEST_F(GraphicsModuleTest, ImagesWithoutFramesAndMissingImagesOrFramesDrawNothing) {
    for (int count : {0, -3}) {
        c_Image* image = Row(64, 16, count);
        EXPECT_EQ(image->m_frames.Length(), 0) << count;
        kz_graphics_DrawImage(image, 0, 0, 0);
        kz_graphics_DrawImage2(image, 0, 0, 0, 1, 1, 0);
    }
    c_Image* image = Row(64, 16, 4);
    kz_graphics_DrawImage(nullptr, 0, 0, 0);
    kz_graphics_DrawImage(image, 0, 0, 4);
    kz_graphics_DrawImage(image, 0, 0, -1);
    kz_graphics_DrawImage2(nullptr, 0, 0, 0, 1, 1, 0);
    kz_graphics_DrawImage2(image, 0, 0, 0, 1, 1, 99);
    EXPECT_EQ(context().m_matrixSp, 0);
    device->EndRender();
    EXPECT_EQ(gl.draw_calls, 0);
}

TEST_F(GraphicsModuleTest, DrawImage2TurnsAndScalesAboutTheCentreHandle) {
    c_Image* image = Grid(32, 16, 16, 16, 2, kImageCenterHandle);
    EXPECT_EQ(std::vector<float>({image->m_handleX, image->m_handleY}), (std::vector<float>{8, 8}));
    EXPECT_EQ(image->m_flags & kImageCenterHandle, 0) << "applied once";
    kz_graphics_Translate(1000, 1000);
    kz_graphics_DrawImage2(image, 100, 50, 90, 2, 3, 1);

    ASSERT_EQ(device->batchCount, 4);
    const gxtkGraphics::Vertex* v = device->vertices;
    // The frame's top-left corner, (-8, -8) from the handle, scaled to
    // (-16, -24), turned a quarter to (-24, 16); the opposite one to (24, -16).
    EXPECT_NEAR(v[0].x, 1100 - 24, 1e-3);
    EXPECT_NEAR(v[0].y, 1050 + 16, 1e-3);
    EXPECT_NEAR(v[2].x, 1100 + 24, 1e-3);
    EXPECT_NEAR(v[2].y, 1050 - 16, 1e-3);
    EXPECT_FLOAT_EQ(v[0].u, 16.0f / 32) << "frame 1";
    EXPECT_EQ(context().m_matrixSp, 0);
    EXPECT_EQ(context().m_tx, 1000) << "the caller's transform is back";
}

// A sprite's vertices, bit for bit, are those of the documented steps: push,
// translate to the position, rotate, scale, translate by the handle, draw the
// frame at the origin, pop. Varied under a turned and scaled outer transform,
// with angles repeated as a line of text repeats them, tinted and faded.
TEST_F(GraphicsModuleTest, DrawImage2WritesTheVerticesOfTheDocumentedMatrixSteps) {
    c_Image* images[] = {Grid(128, 64, 16, 16, 32), Row(64, 32, 1)};
    ASSERT_NE(images[1]->m_flags & kImageWholeSurface, 0);
    std::srand(7);
    const auto random = [](float low, float high) {
        return low + (high - low) * static_cast<float>(std::rand()) / static_cast<float>(RAND_MAX);
    };
    const auto lastQuad = [&] {
        std::vector<gxtkGraphics::Vertex> quad(device->vertices + device->batchCount - 4,
                                               device->vertices + device->batchCount);
        return quad;
    };
    int differing = 0;
    float angle = 0;
    for (int i = 0; i < 4000; ++i) {
        if (i % 500 == 0) {
            kz_graphics_SetMatrix(random(-2, 2), random(-2, 2), random(-2, 2), random(-2, 2), random(-900, 900),
                                  random(-900, 900));
        }
        c_Image* image = images[i % 7 == 0];
        image->p_SetHandle(i % 3 == 0 ? 0 : random(-20, 20), random(-20, 20));
        if (i % 4 == 0) angle = random(-720, 720);
        const float x = random(-700, 700), y = random(-700, 700), sx = random(-3, 3), sy = random(-3, 3);
        const int frame = std::rand() % 32;
        kz_graphics_SetColor(random(0, 255), random(0, 255), random(0, 255));
        kz_graphics_SetAlpha(i % 5 == 0 ? 1 : random(0, 1));

        kz_graphics_DrawImage2(image, x, y, angle, sx, sy, frame);
        const std::vector<gxtkGraphics::Vertex> drawn = lastQuad();
        kz_graphics_PushMatrix();
        kz_graphics_Translate(x, y);
        kz_graphics_Rotate(angle);
        kz_graphics_Scale(sx, sy);
        kz_graphics_Translate(-image->m_handleX, -image->m_handleY);
        kz_graphics_DrawImage(image, image->m_handleX, image->m_handleY, frame);
        kz_graphics_PopMatrix();
        const std::vector<gxtkGraphics::Vertex> reference = lastQuad();
        differing += std::memcmp(drawn.data(), reference.data(), sizeof(gxtkGraphics::Vertex) * 4) != 0;
        // Each corner where the device's transform takes it, one vertex at a time.
        const float w = static_cast<float>(image->m_width), h = static_cast<float>(image->m_height);
        const std::pair<float, float> corners[] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
        for (int k = 0; k < 4; ++k) {
            const std::pair<float, float> at = DeviceMaps(corners[k].first, corners[k].second);
            differing += std::memcmp(&drawn[k].x, &at.first, sizeof(float)) != 0 ||
                         std::memcmp(&drawn[k].y, &at.second, sizeof(float)) != 0;
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(GraphicsModuleTest, BeginRenderResetsTheFrameStateAndTheScissorToTheApplicationsSize) {
    kz_graphics_SetColor(1, 2, 3);
    kz_graphics_SetAlpha(0.25f);
    kz_graphics_SetBlend(1);
    kz_graphics_Translate(5, 5);
    kz_graphics_PushMatrix();
    kz_graphics_EndRender();
    EXPECT_EQ(kz_graphics_renderDevice, nullptr);

    gl.Clear();
    device->BeginRender();
    kz_graphics_BeginRender();
    EXPECT_EQ(kz_graphics_renderDevice, device);
    EXPECT_EQ(std::vector<float>({float(context().m_matrixSp), context().m_tx, float(context().m_scissorWidth)}),
              (std::vector<float>{0, 0, 640}));
    EXPECT_EQ(std::vector<long long>({device->color, device->blendInForce, gl.Calls(GlOp::Disable).back().Arg(0)}),
              std::vector<long long>({0xffffffffLL, 0, GL_SCISSOR_TEST}));
}

TEST_F(GraphicsModuleTest, ImagesAndTheDefaultFontLoadFromTheDataFolderAndMissingOnesAreNull) {
    ScratchWorkingDir dir;
    std::filesystem::create_directory("data");
    ASSERT_TRUE(WritePng("data/sheet.png", 64, 32, 4, std::vector<unsigned char>(64 * 32 * 4, 200)));
    c_Image* sheet = kz_graphics_LoadImage2(String("sheet.png"), 16, 16, 8, 0);
    const ChildResult tooMany = RunInChild([] { kz_graphics_LoadImage2(String("sheet.png"), 16, 16, 9, 0); });
    EXPECT_EQ(tooMany.out, "Zarnik Runtime Error : Image frame outside surface\n\n") << "as without a name";
    EXPECT_EQ(tooMany.err.rfind("Image frame outside surface: sheet.png\n", 0), 0u) << tooMany.err;
    EXPECT_EQ(kz_graphics_LoadImage2(String("nothing.png"), 16, 16, 1, 0), nullptr);
    kz_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(context().m_font, nullptr) << "no vyro_font.png yet";

    ASSERT_TRUE(WritePng("data/vyro_font.png", 960, 12, 2, std::vector<unsigned char>(960 * 12 * 2, 255)));
    kz_graphics_SetFont(nullptr, 0);
    c_Image* font = context().m_font;
    std::filesystem::remove("data/vyro_font.png");
    kz_graphics_SetFont(nullptr, 0);

    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(Corners(sheet).back(), (std::pair<int, int>{48, 16}));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(context().m_font, font) << "kept, not loaded again";
    EXPECT_EQ(std::vector<int>({font->m_frames.Length(), font->m_width, font->m_frames[1]->m_x, context().m_firstChar}),
              (std::vector<int>{96, 8, 11, 32}));
}
