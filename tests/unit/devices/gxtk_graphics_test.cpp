// The batching renderer against recorded OpenGL.
#include <cmath>
#include <limits>

#include "tests/unit/devices/device_fixture.h"

namespace {

std::vector<int> Args(const GlCall& call, int n) {
    std::vector<int> args;
    for (int i = 0; i < n; ++i) args.push_back(call.Arg(i));
    return args;
}

}  // namespace

TEST_F(DeviceTest, RectanglesFlushWhenTheVertexArrayIsFullAndAtEndRender) {
    for (int i = 0; i < 2100; ++i) device->DrawRect(i, 0, 1, 1);
    EXPECT_EQ(DrawnCounts(), std::vector<int>{12288}) << "the 2049th rectangle flushes the first 2048";
    device->EndRender();
    EXPECT_EQ(DrawnCounts(), (std::vector<int>{12288, 312}));
    EXPECT_EQ(Args(gl.Calls(GlOp::DrawElements).at(1), 3), (std::vector<int>{GL_TRIANGLES, 312, GL_UNSIGNED_SHORT}));
    const uint16_t first_quad[6] = {0, 1, 2, 0, 2, 3}, last_quad[6] = {8188, 8189, 8190, 8188, 8190, 8191};
    EXPECT_TRUE(std::equal(first_quad, first_quad + 6, device->quadIndices));
    EXPECT_TRUE(std::equal(last_quad, last_quad + 6, device->quadIndices + 12282));
}

TEST_F(DeviceTest, EachChangeOfSurfaceStartsANewBatchWithItsTexture) {
    gxtkSurface* a = BlankSurface(8, 8);
    gxtkSurface* b = BlankSurface(8, 8);
    device->DrawSurface(a, 0, 0);
    device->DrawSurface(b, 0, 0);
    device->DrawSurface(a, 0, 0);
    device->DrawSurface(a, 10, 0);
    device->EndRender();

    EXPECT_EQ(DrawnCounts(), (std::vector<int>{6, 6, 12}));
    std::vector<int> bound_at_draw;
    int bound = 0;
    for (const GlCall& call : gl.calls) {
        if (call.op == GlOp::BindTexture) bound = call.Arg(1);
        if (call.op == GlOp::DrawElements) bound_at_draw.push_back(bound);
    }
    EXPECT_EQ(bound_at_draw, (std::vector<int>{int(a->texture), int(b->texture), int(a->texture)}));
    // Texturing goes on for each textured batch and off after it.
    EXPECT_EQ(std::make_pair(gl.Calls(GlOp::Enable).size(), gl.Calls(GlOp::Disable).size()), std::make_pair(size_t(3), size_t(3)));
}

TEST_F(DeviceTest, ClsDropsTheOpenBatchAndClearsOnlyTheColourBuffer) {
    device->DrawRect(0, 0, 5, 5);
    device->Cls(255, 0, 51);
    device->DrawRect(7, 7, 1, 1);
    device->EndRender();

    EXPECT_EQ(DrawnCounts(), std::vector<int>{6}) << "only the rectangle after Cls is drawn";
    EXPECT_EQ(device->vertices[0].x, 7);
    EXPECT_EQ(gl.Calls(GlOp::Clear).at(0).Arg(0), GL_COLOR_BUFFER_BIT);  // the colour: graphics_gl_test
}

TEST_F(DeviceTest, ScissorUsesBottomUpRowsAndTheWholeWindowSwitchesItOff) {
    device->SetScissor(10, 20, 100, 50);
    device->SetScissor(0, 0, 640, 480);
    device->SetScissor(0, 0, 640, 479);
    ASSERT_EQ(gl.Calls(GlOp::Scissor).size(), 2u);
    EXPECT_EQ(Args(gl.Calls(GlOp::Scissor)[0], 4), (std::vector<int>{10, 410, 100, 50}));
    ASSERT_EQ(gl.Calls(GlOp::Disable).size(), 1u);
    EXPECT_EQ(std::make_pair(gl.Calls(GlOp::Disable)[0].Arg(0), gl.Calls(GlOp::Enable).size()), std::make_pair(int(GL_SCISSOR_TEST), size_t(2)));
}

TEST_F(DeviceTest, BlendModeAndScissorChangesEndTheBatchButColourAlphaAndMatrixDoNot) {
    const struct {
        const char* what;
        void (*change)(gxtkGraphics*);
        int batches;
    } cases[] = {
        {"colour", [](gxtkGraphics* g) { g->SetColor(1, 2, 3); }, 1},
        {"alpha", [](gxtkGraphics* g) { g->SetAlpha(0.5f); }, 1},
        {"matrix", [](gxtkGraphics* g) { g->SetMatrix(2, 0, 0, 2, 1, 1); }, 1},
        {"same blend mode", [](gxtkGraphics* g) { g->SetBlend(0); }, 1},
        {"unknown blend mode counts as alpha", [](gxtkGraphics* g) { g->SetBlend(7); }, 1},
        {"other blend mode", [](gxtkGraphics* g) { g->SetBlend(1); }, 2},
        {"scissor", [](gxtkGraphics* g) { g->SetScissor(1, 1, 5, 5); }, 2},
    };
    for (const auto& c : cases) {
        gl.Clear();
        device->BeginRender();
        device->DrawRect(0, 0, 1, 1);
        c.change(device);
        device->DrawRect(0, 0, 1, 1);
        device->EndRender();
        EXPECT_EQ(gl.draw_calls, c.batches) << c.what;
    }
}

TEST_F(DeviceTest, BeginRenderSetsAYDownPixelProjectionOfTheWindowAndTheAlphaBlendFunction) {
    device->SetBlend(1);
    device->EndRender();
    backend.QueueResize(800, 600);
    backend.PollEvents();
    gl.Clear();
    device->BeginRender();
    EXPECT_EQ(Args(gl.Calls(GlOp::Ortho).at(0), 6), (std::vector<int>{0, 800, 600, 0, -1, 1}));
    ASSERT_EQ(gl.Calls(GlOp::BlendFunc).size(), 1u);
    EXPECT_EQ(Args(gl.Calls(GlOp::BlendFunc)[0], 2), (std::vector<int>{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
    gl.Clear();
    device->SetBlend(1);
    EXPECT_EQ(gl.Calls(GlOp::BlendFunc).size(), 1u) << "additive must be set again in the new frame";

    gl.Clear();
    auto* fresh = new gxtkGraphics(&host);
    fresh->SetBlend(0);
    fresh->SetBlend(0);
    EXPECT_EQ(gl.Calls(GlOp::BlendFunc).size(), 1u) << "a new device knows nothing of OpenGL's state";
}

TEST_F(DeviceTest, ColourIsPackedPremultipliedAndSaturated) {
    const struct {
        float r, g, b, alpha;
        uint32_t packed;
    } cases[] = {
        {255, 128, 0, 0.5f, 0x7f00407fu},
        {255, 255, 255, 1, 0xffffffffu},
        {10, 20, 30, 0, 0x00000000u},
        {300, -5, 0, 1, 0xff0000ffu},  // each byte saturates alone
        {std::numeric_limits<float>::quiet_NaN(), 0, 0, 1, 0xff000000u},
        {255, 255, 255, 2, 0xffffffffu},
        {255, 255, 0, 2, 0xff00ffffu},  // from here one value changes at a time
        {255, 0, 0, 2, 0xff0000ffu},
        {0, 0, 0, 2, 0xff000000u},
        {0, 0, 0, 0.5f, 0x7f000000u},
    };
    for (const auto& c : cases) {
        device->SetColor(c.r, c.g, c.b);
        device->SetAlpha(c.alpha);
        device->DrawPoint(0, 0);
        EXPECT_EQ(device->vertices[device->batchCount - 1].color, c.packed)
            << c.r << "," << c.g << "," << c.b << " a " << c.alpha;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(&device->vertices[0].color);
    EXPECT_EQ(std::vector<int>(bytes, bytes + 2), (std::vector<int>{127, 64})) << "red is the first byte";
}

TEST_F(DeviceTest, OvalSegmentCountFollowsTheOnScreenRadii) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float w, h, a, b, c, d;
        int segments;
    } cases[] = {
        {10, 10, 1, 0, 0, 1, 12},      {100, 100, 1, 0, 0, 1, 100}, {3000, 10, 1, 0, 0, 1, 1024},
        {30, 30, 1, 0, 0, 1, 28},      {-30, -30, 1, 0, 0, 1, 28},  {100, 60, 1, 0, 0, 1, 80},
        {30, 30, 2, 0, 0, 2, 60},      {100, 100, 0, -1, 1, 0, 100},  // turned a quarter
        {nan, 10, 1, 0, 0, 1, 1024},  {inf, inf, 1, 0, 0, 1, 1024},
    };
    for (const auto& c : cases) {
        gl.Clear();
        device->SetMatrix(c.a, c.b, c.c, c.d, 0, 0);
        device->DrawOval(0, 0, c.w, c.h);
        device->EndRender();
        EXPECT_EQ(DrawnCounts(), std::vector<int>{c.segments}) << c.w << "x" << c.h << " a " << c.a;
    }
}

// Ovals turn with the runtime's double-precision sine and cosine, as images
// do; with 64 segments the float functions differ from it at some vertices.
TEST_F(DeviceTest, OvalVerticesUseTheSharedSineAndCosine) {
    device->DrawOval(-32, -32, 64, 64);
    ASSERT_EQ(device->batchCount, 64);
    for (int i = 0; i < 64; ++i) {
        const SinCos turn = SinCosOfRadians(static_cast<float>(i) * 6.2831855f / 64);
        EXPECT_EQ(std::make_pair(device->vertices[i].x, device->vertices[i].y), std::make_pair(turn.cos * 32, -(turn.sin * 32))) << i;
    }
}

TEST_F(DeviceTest, SurfaceTextureCoordinatesUseTheSurfaceScales) {
    gxtkSurface* surface = BlankSurface(100, 50);
    gl.FailNext(GlOp::TexImage2D);  // the texture is padded to 128 x 64
    device->DrawSurface2(surface, 0, 0, 10, 5, 20, 10);
    device->DrawSurface(surface, 0, 0);
    const gxtkGraphics::Vertex* v = device->vertices;
    EXPECT_EQ(std::vector<float>({v[0].u, v[0].v, v[2].u, v[2].v, v[2].x}),
              (std::vector<float>{10.0f / 128, 5.0f / 64, 30.0f / 128, 15.0f / 64, 20}));
    EXPECT_EQ(std::vector<float>({v[6].u, v[6].v, v[6].y}), (std::vector<float>{100.0f / 128, 50.0f / 64, 50}));
}
