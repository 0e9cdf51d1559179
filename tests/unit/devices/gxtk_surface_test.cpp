// Surfaces: premultiplication, lazy textures per OpenGL context with the
// power-of-two retry, partial updates, and release.
#include "tests/unit/devices/device_fixture.h"

namespace {

std::vector<unsigned char> Bytes(const gxtkSurface* surface) {
    const size_t n = size_t(surface->width) * surface->height * surface->depth;
    return std::vector<unsigned char>(surface->pixels, surface->pixels + n);
}

std::vector<int> Sizes(const std::vector<GlCall>& calls, int first_arg) {
    std::vector<int> sizes;
    for (const GlCall& call : calls) {
        sizes.push_back(call.Arg(first_arg));
        sizes.push_back(call.Arg(first_arg + 1));
    }
    return sizes;
}

}  // namespace

TEST_F(DeviceTest, SetDataPremultipliesEveryDepthByItsAlpha) {
    struct Case {
        int depth;
        GLenum format;
        std::vector<unsigned char> in, stored;
    };
    const Case cases[] = {
        {1, GL_LUMINANCE, {0, 77, 255}, {0, 77, 255}},
        {2, GL_LUMINANCE_ALPHA, {255, 0, 200, 128, 255, 255}, {0, 0, 100, 128, 255, 255}},
        {3, GL_RGB, {200, 100, 50, 1, 2, 3, 9, 9, 9}, {200, 100, 50, 1, 2, 3, 9, 9, 9}},
        {4, GL_RGBA, {200, 100, 50, 128, 255, 255, 255, 0, 9, 8, 7, 255},
         {100, 50, 25, 128, 0, 0, 0, 0, 9, 8, 7, 255}},
    };
    for (const Case& c : cases) {
        gxtkSurface* surface = SurfaceWith(3, 1, c.depth, c.in);
        EXPECT_EQ(surface->format, static_cast<int>(c.format)) << "depth " << c.depth;
        EXPECT_EQ(Bytes(surface), c.stored) << "depth " << c.depth;
        EXPECT_EQ(gl.calls.size(), 0u) << "SetData does no OpenGL work";
    }
}

TEST_F(DeviceTest, TextureIsExactSizeWhenTheDriverTakesIt) {
    gxtkSurface* surface = BlankSurface(100, 50);
    surface->Bind();
    EXPECT_EQ(Sizes(gl.Calls(GlOp::TexImage2D), 3), (std::vector<int>{100, 50}));
    EXPECT_FLOAT_EQ(surface->uScale, 1.0f / 100);
    EXPECT_FLOAT_EQ(surface->vScale, 1.0f / 50);
    EXPECT_EQ(Sizes(gl.Calls(GlOp::TexSubImage2D), 4), (std::vector<int>{100, 50}));
    EXPECT_EQ(gl.Calls(GlOp::TexParameteri).at(0).Arg(2), GL_NEAREST);
}

TEST_F(DeviceTest, RefusedExactSizeIsRetriedAtPowerOfTwoSizes) {
    struct Case {
        int width, height, texture_width, texture_height;
    };
    const Case cases[] = {{100, 50, 128, 64}, {1, 1, 1, 1}, {128, 3, 128, 4}, {0, 5, 1, 8}};
    for (const Case& c : cases) {
        gl.Clear();
        gxtkSurface* surface = BlankSurface(c.width, c.height);
        gl.FailNext(GlOp::TexImage2D);
        surface->Bind();
        EXPECT_EQ(Sizes(gl.Calls(GlOp::TexImage2D), 3),
                  (std::vector<int>{c.width, c.height, c.texture_width, c.texture_height}));
        EXPECT_FLOAT_EQ(surface->uScale, 1.0f / c.texture_width);
        EXPECT_FLOAT_EQ(surface->vScale, 1.0f / c.texture_height);
        EXPECT_EQ(Sizes(gl.Calls(GlOp::TexSubImage2D), 4), (std::vector<int>{c.width, c.height}))
            << "the picture goes into the top-left corner";
    }
}

TEST_F(DeviceTest, AnErrorLeftFromEarlierCallsDoesNotForceAPaddedTexture) {
    gl.FailNext(GlOp::Scissor, GL_INVALID_VALUE);
    device->SetScissor(0, 0, -1, -1);
    gxtkSurface* surface = BlankSurface(100, 50);
    surface->Bind();
    EXPECT_EQ(Sizes(gl.Calls(GlOp::TexImage2D), 3), (std::vector<int>{100, 50}));
}

TEST_F(DeviceTest, TextureIsMadeOncePerContextFromTheKeptPixels) {
    gxtkSurface* surface = BlankSurface(4, 4);
    surface->Bind();
    surface->Bind();
    EXPECT_EQ(gl.Calls(GlOp::GenTextures).size(), 1u);
    EXPECT_EQ(gl.Calls(GlOp::TexSubImage2D).size(), 1u);

    glfwGraphicsSeq = 2;  // the host opened a new window
    gl.Clear();
    device->DrawSurface(surface, 0, 0);
    device->EndRender();
    EXPECT_EQ(gl.Calls(GlOp::GenTextures).size(), 1u);
    EXPECT_EQ(gl.Calls(GlOp::TexSubImage2D).size(), 1u) << "the kept pixels are uploaded again";
    EXPECT_EQ(gl.Calls(GlOp::DeleteTextures).size(), 0u) << "the old texture died with its context";
    EXPECT_EQ(surface->contextSeq, 2);
}

TEST_F(DeviceTest, BindBeforeAnyWindowDoesNothing) {
    glfwGraphicsSeq = 0;
    gxtkSurface* surface = BlankSurface(4, 4);
    surface->Bind();
    EXPECT_TRUE(gl.calls.empty());
    EXPECT_EQ(surface->uScale, 0);
    EXPECT_EQ(surface->vScale, 0);
    EXPECT_EQ(surface->contextSeq, -1);
}

TEST_F(DeviceTest, CreatedSurfaceHasATextureAtOnceButNoPixels) {
    gxtkSurface* surface = device->CreateSurface(30, 20);
    EXPECT_EQ(surface->format, GL_RGBA);
    EXPECT_EQ(surface->pixels, nullptr);
    EXPECT_EQ(surface->Loaded(), 1);
    EXPECT_EQ(Sizes(gl.Calls(GlOp::TexImage2D), 3), (std::vector<int>{30, 20}));
    EXPECT_TRUE(gl.Calls(GlOp::TexSubImage2D).empty());

    gxtkSurface* negative = device->CreateSurface(-5, -5);
    EXPECT_EQ(negative->Width(), 0) << "a negative size is an empty surface";
}

TEST_F(DeviceTest, SetSubDataStoresPremultipliedPixelsAndUploadsTheChangedRows) {
    gxtkSurface* surface = device->CreateSurface(4, 3);
    gl.Clear();
    const unsigned src[] = {0x80C86432u, 0xFF010203u, 0u, 0u, 0x00FFFFFFu, 0xFFFFFFFFu};
    surface->SetSubData(1, 1, 2, 2, src, 4);

    const unsigned char* first = surface->pixels + (1 * 4 + 1) * 4;
    EXPECT_EQ(std::vector<unsigned char>(first, first + 8),
              (std::vector<unsigned char>{100, 50, 25, 128, 1, 2, 3, 255}));
    const unsigned char* second_row = surface->pixels + (2 * 4 + 1) * 4;
    EXPECT_EQ(std::vector<unsigned char>(second_row, second_row + 8),
              (std::vector<unsigned char>{0, 0, 0, 0, 255, 255, 255, 255}));
    EXPECT_EQ(Sizes(gl.Calls(GlOp::TexSubImage2D), 2), (std::vector<int>{1, 1, 1, 2}))
        << "a narrower rectangle goes up row by row";
    EXPECT_EQ(Sizes(gl.Calls(GlOp::TexSubImage2D), 4), (std::vector<int>{2, 1, 2, 1}));

    gl.Clear();
    const unsigned wide[8] = {};
    surface->SetSubData(0, 1, 4, 2, wide, 4);
    EXPECT_EQ(Sizes(gl.Calls(GlOp::TexSubImage2D), 4), (std::vector<int>{4, 2})) << "full rows in one call";
}

TEST_F(DeviceTest, SetSubDataIgnoresOtherFormatsAndRectanglesOutsideTheSurface) {
    const unsigned src[64] = {};
    gxtkSurface* grey = SurfaceWith(2, 2, 1, {1, 2, 3, 4});
    grey->SetSubData(0, 0, 1, 1, src, 1);
    EXPECT_EQ(Bytes(grey), (std::vector<unsigned char>{1, 2, 3, 4}));

    gxtkSurface* rgba = BlankSurface(4, 4);
    const int outside[][4] = {{-1, 0, 2, 2}, {0, -1, 2, 2}, {3, 0, 2, 1}, {0, 3, 1, 2}, {0, 0, -1, 1},
                              {0, 0, 1, -1}, {2147483647, 0, 2, 1}};
    for (const auto& r : outside) rgba->SetSubData(r[0], r[1], r[2], r[3], src, 4);
    EXPECT_EQ(Bytes(rgba), std::vector<unsigned char>(64, 255));
}

TEST_F(DeviceTest, WritePixelsRefusesASourcePastTheArray) {
    gxtkSurface* surface = BlankSurface(4, 4);
    Array<int> pixels(8);
    device->WritePixels2(surface, pixels, 0, 0, 4, 3, 0, 4);
    EXPECT_EQ(Bytes(surface), std::vector<unsigned char>(64, 255));
    device->WritePixels2(surface, pixels, 0, 0, 4, 2, 0, 4);
    EXPECT_EQ(surface->pixels[0], 0);
    EXPECT_EQ(surface->pixels[4 * 4 * 2], 255) << "the third row is untouched";
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
    EXPECT_EQ(surface->pixels, nullptr);
    EXPECT_EQ(surface->contextSeq, -1);

    gxtkSurface* stale = BlankSurface(4, 4);
    stale->Bind();
    glfwGraphicsSeq = 2;
    gl.Clear();
    stale->Discard();
    EXPECT_TRUE(gl.Calls(GlOp::DeleteTextures).empty()) << "a texture of a dead context is not deleted";
}
