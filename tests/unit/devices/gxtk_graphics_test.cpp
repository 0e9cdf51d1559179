// The batching renderer against recorded OpenGL: when batches break, what
// each flush draws, colour packing, scissor mapping and oval segments.
#include <cmath>
#include <limits>

#include "tests/unit/devices/device_fixture.h"

namespace {

Array<float> Floats(int n) {
    Array<float> values(n);
    for (int i = 0; i < n; ++i) values[i] = static_cast<float>(i);
    return values;
}

}  // namespace

TEST_F(DeviceTest, RectanglesFlushWhenTheVertexArrayIsFullAndAtEndRender) {
    for (int i = 0; i < 300; ++i) device->DrawRect(i, 0, 1, 1);
    EXPECT_EQ(DrawnCounts(), std::vector<int>{1536}) << "the 257th rectangle flushes the first 256";
    device->EndRender();
    EXPECT_EQ(DrawnCounts(), (std::vector<int>{1536, 264}));
    ASSERT_EQ(gl.Calls(GlOp::DrawElements).size(), 2u);
    EXPECT_EQ(gl.Calls(GlOp::DrawElements)[1].Arg(0), GL_TRIANGLES);
    EXPECT_EQ(gl.Calls(GlOp::DrawElements)[1].Arg(2), GL_UNSIGNED_SHORT);
}

TEST_F(DeviceTest, QuadIndicesMakeTwoTrianglesSharingTheFirstAndThirdCorner) {
    const uint16_t first_quad[6] = {0, 1, 2, 0, 2, 3};
    const uint16_t last_quad[6] = {1020, 1021, 1022, 1020, 1022, 1023};
    EXPECT_TRUE(std::equal(first_quad, first_quad + 6, device->quadIndices));
    EXPECT_TRUE(std::equal(last_quad, last_quad + 6, device->quadIndices + 1530));
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
    std::vector<GLuint> bound_at_draw;
    GLuint bound = 0;
    for (const GlCall& call : gl.calls) {
        if (call.op == GlOp::BindTexture) bound = call.Arg(1);
        if (call.op == GlOp::DrawElements) bound_at_draw.push_back(bound);
    }
    EXPECT_EQ(bound_at_draw, (std::vector<GLuint>{a->texture, b->texture, a->texture}));
    EXPECT_EQ(gl.Calls(GlOp::Enable).size(), 3u) << "texturing is switched on for each textured batch";
    EXPECT_EQ(gl.Calls(GlOp::Disable).size(), 3u) << "and off again after it";
}

TEST_F(DeviceTest, PolygonsOfDifferentSizesAreSeparateBatchesOfFans) {
    device->DrawPoly(Floats(10));
    device->DrawPoly(Floats(10));
    device->DrawPoly(Floats(12));
    device->EndRender();

    const std::vector<GlCall> fans = gl.Calls(GlOp::DrawArrays);
    ASSERT_EQ(fans.size(), 3u);
    const int expected[3][3] = {{GL_TRIANGLE_FAN, 0, 5}, {GL_TRIANGLE_FAN, 5, 5}, {GL_TRIANGLE_FAN, 0, 6}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(fans[i].Arg(0), expected[i][0]) << i;
        EXPECT_EQ(fans[i].Arg(1), expected[i][1]) << i;
        EXPECT_EQ(fans[i].Arg(2), expected[i][2]) << i;
    }
}

TEST_F(DeviceTest, PolygonVertexCountChoosesThePrimitiveAndOutOfRangeCountsDrawNothing) {
    struct Case {
        int floats;
        int drawn_primitive;  // -1: nothing drawn
        int drawn_count;
    };
    const Case cases[] = {
        {0, -1, 0},
        {1, -1, 0},  // half a vertex
        {2, GL_POINTS, 1},
        {4, GL_LINES, 2},
        {7, GL_TRIANGLES, 3},  // the odd float is ignored
        {8, GL_TRIANGLES, 6},  // a quad: 6 indices
        {2048, GL_TRIANGLE_FAN, 1024},
        {2050, -1, 0},  // 1025 vertices
    };
    for (const Case& c : cases) {
        gl.Clear();
        device->DrawPoly(Floats(c.floats));
        device->EndRender();
        if (c.drawn_primitive < 0) {
            EXPECT_EQ(gl.draw_calls, 0) << c.floats << " floats";
            continue;
        }
        ASSERT_EQ(gl.draw_calls, 1) << c.floats << " floats";
        const GlCall draw = gl.calls.back();
        EXPECT_EQ(draw.Arg(0), c.drawn_primitive) << c.floats << " floats";
        EXPECT_EQ(draw.op == GlOp::DrawElements ? draw.Arg(1) : draw.Arg(2), c.drawn_count) << c.floats;
    }
}

TEST_F(DeviceTest, ClsDropsTheOpenBatchAndClearsOnlyTheColourBuffer) {
    device->DrawRect(0, 0, 5, 5);
    device->DrawRect(5, 5, 5, 5);
    device->Cls(255, 0, 51);
    device->DrawRect(7, 7, 1, 1);
    device->EndRender();

    EXPECT_EQ(DrawnCounts(), std::vector<int>{6}) << "only the rectangle after Cls is drawn";
    EXPECT_EQ(device->vertices[0].x, 7);
    const GlCall clear_color = gl.Calls(GlOp::ClearColor).at(0);
    EXPECT_FLOAT_EQ(clear_color.args[0], 1.0f);
    EXPECT_FLOAT_EQ(clear_color.args[2], 0.2f);
    EXPECT_FLOAT_EQ(clear_color.args[3], 1.0f);
    EXPECT_EQ(gl.Calls(GlOp::Clear).at(0).Arg(0), GL_COLOR_BUFFER_BIT);
}

TEST_F(DeviceTest, ScissorUsesBottomUpRowsAndTheWholeWindowSwitchesItOff) {
    device->SetScissor(10, 20, 100, 50);
    device->SetScissor(0, 0, 640, 480);
    device->SetScissor(0, 0, 640, 479);

    ASSERT_EQ(gl.Calls(GlOp::Scissor).size(), 2u);
    const GlCall box = gl.Calls(GlOp::Scissor)[0];
    EXPECT_EQ(std::vector<int>({box.Arg(0), box.Arg(1), box.Arg(2), box.Arg(3)}),
              std::vector<int>({10, 410, 100, 50}));
    const std::vector<GlCall> disables = gl.Calls(GlOp::Disable);
    ASSERT_EQ(disables.size(), 1u);
    EXPECT_EQ(disables[0].Arg(0), GL_SCISSOR_TEST);
    EXPECT_EQ(gl.Calls(GlOp::Enable).size(), 2u);
}

TEST_F(DeviceTest, StateChangesThatEndTheBatch) {
    struct Case {
        const char* what;
        void (*change)(gxtkGraphics*);
        int batches;
    };
    const Case cases[] = {
        {"colour", [](gxtkGraphics* g) { g->SetColor(1, 2, 3); }, 1},
        {"alpha", [](gxtkGraphics* g) { g->SetAlpha(0.5f); }, 1},
        {"matrix", [](gxtkGraphics* g) { g->SetMatrix(2, 0, 0, 2, 1, 1); }, 1},
        {"same blend mode", [](gxtkGraphics* g) { g->SetBlend(0); }, 1},
        {"unknown blend mode counts as alpha", [](gxtkGraphics* g) { g->SetBlend(7); }, 1},
        {"other blend mode", [](gxtkGraphics* g) { g->SetBlend(1); }, 2},
        {"scissor", [](gxtkGraphics* g) { g->SetScissor(1, 1, 5, 5); }, 2},
    };
    for (const Case& c : cases) {
        gl.Clear();
        device->BeginRender();
        device->DrawRect(0, 0, 1, 1);
        c.change(device);
        device->DrawRect(0, 0, 1, 1);
        device->EndRender();
        EXPECT_EQ(gl.draw_calls, c.batches) << c.what;
    }
}

TEST_F(DeviceTest, AlternatingBlendModesSplitBatchesAndSetTheBlendFunctionOncePerChange) {
    for (int i = 0; i < 4; ++i) {
        device->SetBlend(i % 2);
        device->DrawRect(0, 0, 1, 1);
        device->SetBlend(i % 2);
        device->DrawRect(0, 0, 1, 1);
    }
    device->EndRender();

    EXPECT_EQ(DrawnCounts(), (std::vector<int>{12, 12, 12, 12}));
    const std::vector<GlCall> blends = gl.Calls(GlOp::BlendFunc);
    ASSERT_EQ(blends.size(), 3u) << "the frame starts in mode 0, so the first SetBlend(0) changes nothing";
    EXPECT_EQ(blends[0].Arg(1), GL_ONE);
    EXPECT_EQ(blends[1].Arg(1), GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(DeviceTest, BeginRenderReestablishesTheAlphaBlendFunction) {
    device->SetBlend(1);
    device->EndRender();
    gl.Clear();
    device->BeginRender();
    const std::vector<GlCall> blends = gl.Calls(GlOp::BlendFunc);
    ASSERT_EQ(blends.size(), 1u);
    EXPECT_EQ(blends[0].Arg(0), GL_ONE);
    EXPECT_EQ(blends[0].Arg(1), GL_ONE_MINUS_SRC_ALPHA);

    gl.Clear();
    device->SetBlend(1);
    EXPECT_EQ(gl.Calls(GlOp::BlendFunc).size(), 1u) << "additive must be set again in the new frame";
}

TEST_F(DeviceTest, AFreshDeviceSetsEvenTheAlphaModeOnFirstUse) {
    auto* fresh = new gxtkGraphics();
    fresh->SetBlend(0);
    fresh->SetBlend(0);
    EXPECT_EQ(gl.Calls(GlOp::BlendFunc).size(), 1u) << "nothing is known of OpenGL's state before a frame";
}

TEST_F(DeviceTest, BeginRenderSetsUpAPixelProjectionWithYDown) {
    backend.QueueResize(800, 600);
    backend.PollEvents();
    gl.Clear();
    EXPECT_EQ(device->BeginRender(), 1);
    EXPECT_EQ(device->Width(), 800);
    const GlCall ortho = gl.Calls(GlOp::Ortho).at(0);
    EXPECT_EQ(std::vector<double>(ortho.args.begin(), ortho.args.begin() + 6),
              (std::vector<double>{0, 800, 600, 0, -1, 1}));
    EXPECT_EQ(gl.Calls(GlOp::VertexPointer).at(0).Arg(2), 20);
    EXPECT_EQ(gl.Calls(GlOp::EnableClientState).size(), 3u);
}

TEST_F(DeviceTest, ColourIsPackedPremultipliedAndSaturated) {
    struct Case {
        float r, g, b, alpha;
        uint32_t packed;
    };
    const Case cases[] = {
        {255, 128, 0, 0.5f, 0x7f00407fu},
        {255, 255, 255, 1, 0xffffffffu},
        {10, 20, 30, 0, 0x00000000u},
        {300, -5, 0, 1, 0xff0000ffu},  // out of range: each byte saturates alone
        {std::numeric_limits<float>::quiet_NaN(), 0, 0, 1, 0xff000000u},
        {255, 255, 255, 2, 0xffffffffu},
    };
    for (const Case& c : cases) {
        device->SetColor(c.r, c.g, c.b);
        device->SetAlpha(c.alpha);
        device->DrawPoint(0, 0);
        EXPECT_EQ(device->color, c.packed) << c.r << "," << c.g << "," << c.b << " a " << c.alpha;
        EXPECT_EQ(device->vertices[device->batchCount - 1].color, c.packed);
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(&device->vertices[0].color);
    EXPECT_EQ(bytes[0], 127) << "red is the first byte in memory";
    EXPECT_EQ(bytes[1], 64);
}

TEST_F(DeviceTest, VerticesAreTransformedOnTheProcessor) {
    device->SetMatrix(2, 0, 0, 3, 10, 20);
    device->DrawRect(1, 1, 4, 5);
    EXPECT_TRUE(device->transformed);
    EXPECT_EQ(device->vertices[0].x, 12);
    EXPECT_EQ(device->vertices[0].y, 23);
    EXPECT_EQ(device->vertices[2].x, 20);
    EXPECT_EQ(device->vertices[2].y, 38);

    device->SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_FALSE(device->transformed);
}

TEST_F(DeviceTest, OvalSegmentCountFollowsTheOnScreenRadii) {
    struct Case {
        float w, h;
        float a, b, c, d;
        int segments;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {10, 10, 1, 0, 0, 1, 12},
        {100, 100, 1, 0, 0, 1, 100},
        {3000, 10, 1, 0, 0, 1, 1024},
        {30, 30, 1, 0, 0, 1, 28},
        {-30, -30, 1, 0, 0, 1, 28},  // radii count by size
        {30, 30, 2, 0, 0, 2, 60},
        {100, 100, 0, -1, 1, 0, 100},  // turned a quarter
        {100, 100, 0.1f, 0, 0, 0.1f, 12},
        {nan, 10, 1, 0, 0, 1, 1024},  // bad sizes still get a defined shape
        {inf, inf, 1, 0, 0, 1, 1024},
    };
    for (const Case& c : cases) {
        gl.Clear();
        device->SetMatrix(c.a, c.b, c.c, c.d, 0, 0);
        device->DrawOval(0, 0, c.w, c.h);
        device->EndRender();
        ASSERT_EQ(gl.Calls(GlOp::DrawArrays).size(), 1u) << c.w << "x" << c.h;
        EXPECT_EQ(gl.Calls(GlOp::DrawArrays)[0].Arg(2), c.segments) << c.w << "x" << c.h << " a " << c.a;
    }
}

TEST_F(DeviceTest, OvalVerticesRunAnticlockwiseOnScreenFromTheRightmostPoint) {
    device->DrawOval(10, 20, 100, 60);
    ASSERT_EQ(device->batchCount, 80) << "radii 50 + 30";
    EXPECT_FLOAT_EQ(device->vertices[0].x, 110);
    EXPECT_FLOAT_EQ(device->vertices[0].y, 50);
    EXPECT_NEAR(device->vertices[20].x, 60, 1e-3);
    EXPECT_NEAR(device->vertices[20].y, 20, 1e-3) << "a quarter turn is the top, y down";
}

TEST_F(DeviceTest, SurfaceTextureCoordinatesUseTheSurfaceScales) {
    gxtkSurface* surface = BlankSurface(100, 50);
    gl.FailNext(GlOp::TexImage2D);  // a driver without odd-sized textures
    device->DrawSurface2(surface, 0, 0, 10, 5, 20, 10);
    EXPECT_FLOAT_EQ(device->vertices[0].u, 10.0f / 128);
    EXPECT_FLOAT_EQ(device->vertices[0].v, 5.0f / 64);
    EXPECT_FLOAT_EQ(device->vertices[2].u, 30.0f / 128);
    EXPECT_FLOAT_EQ(device->vertices[2].v, 15.0f / 64);
    EXPECT_FLOAT_EQ(device->vertices[2].x, 20);

    device->DrawSurface(surface, 0, 0);
    EXPECT_FLOAT_EQ(device->vertices[6].u, 100.0f / 128);
    EXPECT_FLOAT_EQ(device->vertices[6].v, 50.0f / 64);
    EXPECT_FLOAT_EQ(device->vertices[6].y, 50);
}

TEST_F(DeviceTest, NullSurfacesDrawNothing) {
    device->DrawSurface(nullptr, 0, 0);
    device->DrawSurface2(nullptr, 0, 0, 0, 0, 1, 1);
    device->DrawPoly2(Floats(16), nullptr, 0, 0);
    device->EndRender();
    EXPECT_EQ(gl.draw_calls, 0);
}

TEST_F(DeviceTest, ReadPixelsReadsBottomUpRowsAndRefusesRectanglesPastTheArray) {
    Array<int> pixels(100);
    device->DrawRect(0, 0, 1, 1);
    device->ReadPixels(pixels, 10, 20, 5, 4, 0, 10);
    EXPECT_EQ(gl.draw_calls, 1) << "reading flushes the batch first";
    ASSERT_EQ(gl.Calls(GlOp::ReadPixels).size(), 1u);
    const GlCall read = gl.Calls(GlOp::ReadPixels)[0];
    EXPECT_EQ(std::vector<int>({read.Arg(0), read.Arg(1), read.Arg(2), read.Arg(3), read.Arg(4)}),
              std::vector<int>({10, 480 - 20 - 4, 5, 4, GL_BGRA}));

    const int bad[][4] = {{5, 4, 70, 10}, {5, 11, 0, 10}, {11, 1, 90, 10}, {5, 4, -1, 10}, {-1, 4, 0, 10},
                          {5, -4, 0, 10}, {5, 4, 0, -10}};
    for (const auto& b : bad) {
        device->ReadPixels(pixels, 0, 0, b[0], b[1], b[2], b[3]);
    }
    EXPECT_EQ(gl.Calls(GlOp::ReadPixels).size(), 1u);
}
