// Surfaces: premultiplication, lazy textures per OpenGL context with the
// power-of-two retry, the pixels freed once uploaded, partial updates, and
// release.
#include <algorithm>

#include "tests/unit/devices/device_fixture.h"

namespace {

std::vector<unsigned char> Bytes(const gxtkSurface* surface) {
    return std::vector<unsigned char>(surface->pixels,
                                      surface->pixels + size_t(surface->width) * surface->height * surface->depth);
}

// Arguments first_arg and first_arg + 1 of each call, in order.
std::vector<int> Sizes(GlOp op, const GlRecorder& gl, int first_arg) {
    std::vector<int> sizes;
    for (const GlCall& call : gl.Calls(op)) sizes.insert(sizes.end(), {call.Arg(first_arg), call.Arg(first_arg + 1)});
    return sizes;
}

}  // namespace

TEST_F(DeviceTest, SetDataPremultipliesEveryDepthByItsAlphaWithoutTouchingOpenGL) {
    const struct {
        int depth;
        GLenum format;
        std::vector<unsigned char> in, stored;
    } cases[] = {
        {1, GL_LUMINANCE, {0, 77, 255}, {0, 77, 255}},
        {2, GL_LUMINANCE_ALPHA, {255, 0, 200, 128, 255, 255}, {0, 0, 100, 128, 255, 255}},
        {3, GL_RGB, {200, 100, 50, 1, 2, 3, 9, 9, 9}, {200, 100, 50, 1, 2, 3, 9, 9, 9}},
        {4, GL_RGBA, {200, 100, 50, 128, 255, 255, 255, 0, 9, 8, 7, 255}, {100, 50, 25, 128, 0, 0, 0, 0, 9, 8, 7, 255}},
    };
    for (const auto& c : cases) {
        gxtkSurface* surface = SurfaceWith(3, 1, c.depth, c.in);
        EXPECT_EQ(surface->format, static_cast<int>(c.format)) << "depth " << c.depth;
        EXPECT_EQ(Bytes(surface), c.stored) << "depth " << c.depth;
    }
    EXPECT_TRUE(gl.calls.empty());
}

TEST_F(DeviceTest, TextureIsExactSizeOrWhenRefusedRetriedAtPowerOfTwoSizes) {
    const struct {
        bool refused, stale_error;  // an error left by an earlier call is not a refusal
        int width, height, texture_width, texture_height;
    } cases[] = {{false, false, 100, 50, 100, 50}, {false, true, 100, 50, 100, 50}, {true, false, 100, 50, 128, 64},
                 {true, false, 1, 1, 1, 1},        {true, false, 128, 3, 128, 4},   {true, false, 0, 5, 1, 8}};
    for (const auto& c : cases) {
        if (c.stale_error) {
            gl.FailNext(GlOp::Scissor, GL_INVALID_VALUE);
            device->SetScissor(0, 0, -1, -1);
        }
        gl.Clear();
        gxtkSurface* surface = BlankSurface(c.width, c.height);
        if (c.refused) gl.FailNext(GlOp::TexImage2D);
        surface->Bind();
        std::vector<int> tried = {c.width, c.height};
        if (c.refused) tried.insert(tried.end(), {c.texture_width, c.texture_height});
        EXPECT_EQ(Sizes(GlOp::TexImage2D, gl, 3), tried);
        EXPECT_FLOAT_EQ(surface->uScale, 1.0f / c.texture_width) << c.width;
        EXPECT_FLOAT_EQ(surface->vScale, 1.0f / c.texture_height) << c.height;
        EXPECT_EQ(Sizes(GlOp::TexSubImage2D, gl, 4), (std::vector<int>{c.width, c.height}))
            << "the picture goes into the top-left corner";
    }
}

// Past 2^30 an int holds no power of two: the refused size is not retried
// (doubling would overflow and never reach it).
TEST_F(DeviceTest, TextureWiderThanTheLargestPowerOfTwoIsNotRetried) {
    auto* surface = new gxtkSurface();
    surface->SetData(nullptr, (1 << 30) + 1, 1, 4);
    gl.FailNext(GlOp::TexImage2D);
    surface->Bind();
    EXPECT_EQ(Sizes(GlOp::TexImage2D, gl, 3), (std::vector<int>{(1 << 30) + 1, 1}));
}

TEST_F(DeviceTest, TextureIsMadeOnceFromThePixelsWhichItFreesAndNotBeforeAnyWindow) {
    gxtkSurface* surface = SurfaceWith(2, 1, 4, {200, 100, 50, 128, 1, 2, 3, 255});
    glfwGraphicsSeq = 0;
    surface->Bind();
    EXPECT_TRUE(gl.calls.empty() && surface->contextSeq == -1 && surface->pixels != nullptr);

    glfwGraphicsSeq = 1;
    surface->Bind();
    surface->Bind();
    auto counts = [&] {
        return std::vector<size_t>({gl.Calls(GlOp::GenTextures).size(), gl.Calls(GlOp::TexSubImage2D).size(),
                                    gl.Calls(GlOp::DeleteTextures).size()});
    };
    EXPECT_EQ(counts(), (std::vector<size_t>{1, 1, 0}));
    EXPECT_EQ(gl.last_upload, (std::vector<unsigned char>{100, 50, 25, 128, 1, 2, 3, 255}));
    EXPECT_EQ(surface->pixels, nullptr) << "the texture holds the picture now";

    glfwGraphicsSeq = 2;  // a window opened after this one closed
    gl.Clear();
    device->DrawSurface(surface, 0, 0);
    device->EndRender();
    EXPECT_EQ(counts(), (std::vector<size_t>{1, 0, 0})) << "a new texture; the old one died with its context";
    EXPECT_EQ(surface->contextSeq, 2);
}

TEST_F(DeviceTest, PixelWritesGoStraightIntoATextureOrWaitForTheFirstBind) {
    EXPECT_EQ(device->CreateSurface(-5, -5)->Width(), 0) << "a negative size is an empty surface";
    gl.Clear();
    gxtkSurface* surface = device->CreateSurface(4, 3);
    EXPECT_TRUE(surface->format == GL_RGBA && surface->pixels == nullptr);
    EXPECT_EQ(Sizes(GlOp::TexImage2D, gl, 3), (std::vector<int>{4, 3}));
    EXPECT_TRUE(gl.Calls(GlOp::TexSubImage2D).empty());

    const unsigned src[] = {0x80C86432u, 0xFF010203u, 0u, 0u, 0x00FFFFFFu, 0xFFFFFFFFu};
    const std::vector<unsigned char> premultiplied = {100, 50, 25, 128, 1, 2, 3, 255,
                                                      0,   0,  0,  0,   255, 255, 255, 255};
    gl.Clear();
    surface->SetSubData(1, 1, 2, 2, src, 4);
    EXPECT_EQ(Sizes(GlOp::TexSubImage2D, gl, 2), (std::vector<int>{1, 1})) << "one upload of the rectangle";
    EXPECT_EQ(Sizes(GlOp::TexSubImage2D, gl, 4), (std::vector<int>{2, 2}));
    EXPECT_EQ(gl.last_upload, premultiplied) << "rows packed, premultiplied";
    EXPECT_EQ(surface->pixels, nullptr) << "no copy is kept beside the texture";

    glfwGraphicsSeq = 0;  // no window yet
    gxtkSurface* waiting = device->CreateSurface(4, 3);
    waiting->SetSubData(1, 1, 2, 2, src, 4);
    ASSERT_NE(waiting->pixels, nullptr);
    std::vector<unsigned char> expected(4 * 3 * 4, 0);
    std::copy(premultiplied.begin(), premultiplied.begin() + 8, expected.begin() + (1 * 4 + 1) * 4);
    std::copy(premultiplied.begin() + 8, premultiplied.end(), expected.begin() + (2 * 4 + 1) * 4);
    EXPECT_EQ(Bytes(waiting), expected) << "pixels never written are transparent";
    glfwGraphicsSeq = 1;
    gl.Clear();
    waiting->Bind();
    EXPECT_EQ(gl.last_upload, expected) << "the first texture is made from them";
    EXPECT_EQ(waiting->pixels, nullptr);
}

TEST_F(DeviceTest, PixelWritesIgnoreOtherFormatsAndRectanglesOutsideTheSurfaceOrTheSource) {
    const unsigned src[64] = {};
    gxtkSurface* grey = SurfaceWith(2, 2, 1, {1, 2, 3, 4});
    grey->SetSubData(0, 0, 1, 1, src, 1);
    EXPECT_EQ(Bytes(grey), (std::vector<unsigned char>{1, 2, 3, 4}));

    gxtkSurface* rgba = BlankSurface(4, 4);
    const int outside[][4] = {{-1, 0, 2, 2}, {0, -1, 2, 2}, {3, 0, 2, 1}, {0, 3, 1, 2},
                              {0, 0, -1, 1}, {0, 0, 1, -1}, {2147483647, 0, 2, 1}};
    for (const auto& r : outside) rgba->SetSubData(r[0], r[1], r[2], r[3], src, 4);
    Array<int> pixels(8);
    device->WritePixels2(rgba, pixels, 0, 0, 4, 3, 0, 4);  // 12 pixels from an array of 8
    EXPECT_EQ(Bytes(rgba), std::vector<unsigned char>(64, 255));

    device->WritePixels2(rgba, pixels, 0, 0, 4, 2, 0, 4);
    EXPECT_EQ(std::vector<int>({rgba->pixels[0], rgba->pixels[4 * 4 * 2]}), std::vector<int>({0, 255})) << "the third row is untouched";
    device->WritePixels2(nullptr, pixels, 0, 0, 1, 1, 0, 1);
}

TEST_F(DeviceTest, DiscardReleasesTheTextureAndThePixelsAndMayRepeat) {
    gxtkSurface* surface = BlankSurface(4, 4);
    surface->Bind();
    const GLuint texture = surface->texture;
    EXPECT_EQ(surface->Discard(), 0);
    surface->Discard();
    ASSERT_EQ(gl.Calls(GlOp::DeleteTextures).size(), 1u);
    EXPECT_EQ(static_cast<GLuint>(gl.Calls(GlOp::DeleteTextures)[0].Arg(1)), texture);
    EXPECT_EQ(surface->contextSeq, -1);
    gxtkSurface* unbound = BlankSurface(4, 4);
    unbound->Discard();
    EXPECT_EQ(unbound->pixels, nullptr);

    gxtkSurface* stale = BlankSurface(4, 4);
    stale->Bind();
    glfwGraphicsSeq = 2;
    gl.Clear();
    stale->Discard();
    EXPECT_TRUE(gl.Calls(GlOp::DeleteTextures).empty()) << "a texture of a dead context is not deleted";
}
