// The device's state, batching and frame operations; the primitives are in
// gxtk_primitives.cpp.
#include "devices/gxtk_graphics.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "devices/gl_api.h"
#include "host/glfw_facade.h"

namespace {

// A colour product as one byte: truncated toward zero and kept within 0-255,
// so that an out-of-range colour saturates instead of spilling into the
// neighbouring byte (NaN counts as 0).
uint32_t ColorByte(float value) {
    if (!(value > 0)) return 0;
    if (value >= 255) return 255;
    return static_cast<uint32_t>(value);
}

// Whether a non-empty rectangle of `h` rows of `w` ints, `pitch` apart from
// `offset`, lies inside an array of `length` ints.
bool RectangleFits(int length, int w, int h, int offset, int pitch) {
    if (w <= 0 || h <= 0 || offset < 0 || pitch < 0) return false;
    return static_cast<long long>(offset) + static_cast<long long>(h - 1) * pitch + w <= length;
}

}  // namespace

gxtkGraphics::gxtkGraphics(KzGame* host) : host(host) {
    glfw2::glfwGetWindowSize(&width, &height);
    for (int k = 0; k < kMaxVertices / 4; ++k) {
        const uint16_t first = static_cast<uint16_t>(4 * k);
        const uint16_t corners[6] = {first, uint16_t(first + 1), uint16_t(first + 2),
                                     first, uint16_t(first + 2), uint16_t(first + 3)};
        std::copy(corners, corners + 6, quadIndices + 6 * k);
    }
}

void gxtkGraphics::mark() { gc_mark_q(batchSurface); }

int gxtkGraphics::BeginRender() {
    glfw2::glfwGetWindowSize(&width, &height);
    GlApi& gl = Gl();
    gl.Viewport(0, 0, width, height);
    gl.MatrixMode(GL_PROJECTION);
    gl.LoadIdentity();
    gl.Ortho(0, width, height, 0, -1, 1);
    gl.MatrixMode(GL_MODELVIEW);
    gl.LoadIdentity();

    gl.EnableClientState(GL_VERTEX_ARRAY);
    gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
    gl.EnableClientState(GL_COLOR_ARRAY);
    gl.VertexPointer(2, GL_FLOAT, sizeof(Vertex), &vertices[0].x);
    gl.TexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &vertices[0].u);
    gl.ColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), &vertices[0].color);

    // A known blend state each frame: nothing stale carries over, and
    // SetBlend can skip modes already in force.
    gl.Enable(GL_BLEND);
    ApplyBlend(kBlendAlpha);
    gl.Disable(GL_TEXTURE_2D);

    batchCount = 0;
    return 1;
}

int gxtkGraphics::EndRender() {
    Flush();
    return 0;
}

gxtkSurface* gxtkGraphics::LoadSurface(String path) {
    auto* surface = new gxtkSurface();
    if (!LoadSurface__UNSAFE__(surface, path)) return nullptr;
    surface->Bind();
    return surface;
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
    if (!host) return false;
    int image_width = 0, image_height = 0, image_depth = 0;
    unsigned char* data = host->LoadImageData(path, &image_width, &image_height, &image_depth);
    if (!data) return false;
    surface->SetData(data, image_width, image_height, image_depth);
    return true;
}

gxtkSurface* gxtkGraphics::CreateSurface(int surface_width, int surface_height) {
    auto* surface = new gxtkSurface();
    surface->width = std::max(surface_width, 0);
    surface->height = std::max(surface_height, 0);
    surface->depth = 4;
    surface->format = GL_RGBA;
    surface->Bind();
    return surface;
}

int gxtkGraphics::Cls(float r, float g, float b) {
    batchCount = 0;
    GlApi& gl = Gl();
    gl.ClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    gl.Clear(GL_COLOR_BUFFER_BIT);
    return 0;
}

// The colour is packed only when it changes: a drawing loop sets the same
// colour and alpha before every sprite.
bool gxtkGraphics::ClsMatchesFill(float r, float g, float b, float fill_alpha) {
    // A vertex colour byte is truncated, a clear colour rounded: they agree
    // on whole numbers and where both saturate. NaN fails every test.
    const auto same_byte = [](float value) { return value <= 0 || value >= 255 || value == std::trunc(value); };
    return fill_alpha == 1 && same_byte(r) && same_byte(g) && same_byte(b);
}

int gxtkGraphics::SetAlpha(float new_alpha) {
    if (new_alpha == alpha) return 0;
    alpha = new_alpha;
    PackColor();
    return 0;
}

int gxtkGraphics::SetColor(float r, float g, float b) {
    if (r == red && g == green && b == blue) return 0;
    red = r;
    green = g;
    blue = b;
    PackColor();
    return 0;
}

void gxtkGraphics::PackColor() {
    color = ColorByte(alpha * 255) << 24 | ColorByte(blue * alpha) << 16 |
            ColorByte(green * alpha) << 8 | ColorByte(red * alpha);
}

// Only a change of mode ends the batch: the game sets the blend mode before
// everything it draws, and re-setting the mode in force changes nothing.
int gxtkGraphics::SetBlend(int mode) {
    const int wanted = mode == kBlendAdditive ? kBlendAdditive : kBlendAlpha;
    if (wanted == blendInForce) return 0;
    Flush();
    ApplyBlend(wanted);
    return 0;
}

void gxtkGraphics::ApplyBlend(int mode) {
    if (mode == kBlendAdditive) {
        Gl().BlendFunc(GL_ONE, GL_ONE);
    } else {
        Gl().BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
    blendInForce = mode;
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    Flush();
    GlApi& gl = Gl();
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        gl.Disable(GL_SCISSOR_TEST);
        return 0;
    }
    gl.Enable(GL_SCISSOR_TEST);
    // OpenGL counts rows from the bottom; far-off rectangles stay in the int range.
    const int64_t bottom = int64_t{Height()} - y - h;
    gl.Scissor(x, static_cast<int>(std::clamp<int64_t>(bottom, INT32_MIN, INT32_MAX)), w, h);
    return 0;
}

int gxtkGraphics::SetMatrix(float ma, float mb, float mc, float md, float mtx, float mty) {
    a = ma;
    b = mb;
    c = mc;
    d = md;
    tx = mtx;
    ty = mty;
    transformed = a != 1 || b != 0 || c != 0 || d != 1 || tx != 0 || ty != 0;
    return 0;
}

gxtkGraphics::Vertex* gxtkGraphics::Begin(int mode, int count, gxtkSurface* surface) {
    const bool joins = batchMode == mode && batchSurface == surface && batchCount + count <= kMaxVertices;
    if (!joins) {
        if (batchCount > 0) Flush();
        batchMode = mode;
        gc_assign(batchSurface, surface);
    }
    Vertex* first = &vertices[batchCount];
    batchCount += count;
    return first;
}

// The mode and surface stay, so the next primitive of the same kind starts a
// fresh batch without another flush.
void gxtkGraphics::Flush() {
    if (batchCount == 0) return;
    GlApi& gl = Gl();
    if (batchSurface) {
        gl.Enable(GL_TEXTURE_2D);
        batchSurface->Bind();
    }
    DrawBatch();
    if (batchSurface) gl.Disable(GL_TEXTURE_2D);
    batchCount = 0;
}

void gxtkGraphics::DrawBatch() {
    GlApi& gl = Gl();
    switch (batchMode) {
        case 1: gl.DrawArrays(GL_POINTS, 0, batchCount); break;
        case 2: gl.DrawArrays(GL_LINES, 0, batchCount); break;
        case 3: gl.DrawArrays(GL_TRIANGLES, 0, batchCount); break;
        case 4: gl.DrawElements(GL_TRIANGLES, batchCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndices); break;
        default:
            for (int first = 0; first < batchCount; first += batchMode) {
                gl.DrawArrays(GL_TRIANGLE_FAN, first, batchMode);
            }
    }
}

int gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    Flush();
    if (!RectangleFits(pixels.Length(), w, h, offset, pitch)) return 0;
    std::vector<uint32_t> buffer(static_cast<size_t>(w) * h);
    Gl().ReadPixels(x, height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, buffer.data());
    // OpenGL returns the bottom row first.
    for (int r = 0; r < h; ++r) {
        const uint32_t* row = buffer.data() + static_cast<size_t>(h - 1 - r) * w;
        int* out = &pixels[offset + r * pitch];
        for (int i = 0; i < w; ++i) out[i] = static_cast<int>(row[i]);
    }
    return 0;
}

int gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h,
                               int offset, int pitch) {
    Flush();
    if (!surface || !RectangleFits(pixels.Length(), w, h, offset, pitch)) return 0;
    surface->SetSubData(x, y, w, h, reinterpret_cast<const unsigned*>(&pixels[offset]), pitch);
    return 0;
}
