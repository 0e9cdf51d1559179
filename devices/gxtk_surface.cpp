#include "devices/gxtk_surface.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "devices/gl_api.h"
#include "host/kzglfwgame.h"

namespace {

// Errors a driver may still hold from earlier calls; bounded because a
// context that is gone can report errors forever.
constexpr int kMaxStaleErrors = 16;

GLenum FormatOfDepth(int depth) {
    switch (depth) {
        case 1: return GL_LUMINANCE;
        case 2: return GL_LUMINANCE_ALPHA;
        case 3: return GL_RGB;
        case 4: return GL_RGBA;
        default: return 0;
    }
}

constexpr int kLargestPowerOfTwo = 1 << 30;

// The smallest power of two at or above n; 0 when the int range holds none.
int PowerOfTwoAtLeast(int n) {
    if (n > kLargestPowerOfTwo) return 0;
    int power = 1;
    while (power < n) power *= 2;
    return power;
}

unsigned char Premultiply(unsigned value, unsigned alpha) {
    return static_cast<unsigned char>(value * alpha / 255);
}

// One 0xAARRGGBB pixel as premultiplied R, G, B, A bytes.
void PutPremultiplied(unsigned pixel, unsigned char* out) {
    const unsigned alpha = pixel >> 24;
    out[0] = Premultiply((pixel >> 16) & 0xff, alpha);
    out[1] = Premultiply((pixel >> 8) & 0xff, alpha);
    out[2] = Premultiply(pixel & 0xff, alpha);
    out[3] = static_cast<unsigned char>(alpha);
}

void PremultiplyPixels(unsigned char* pixels, long count, int depth) {
    if (depth == 2) {
        for (long i = 0; i < count; ++i, pixels += 2) pixels[0] = Premultiply(pixels[0], pixels[1]);
    } else if (depth == 4) {
        for (long i = 0; i < count; ++i, pixels += 4) {
            for (int c = 0; c < 3; ++c) pixels[c] = Premultiply(pixels[c], pixels[3]);
        }
    }
}

void DrainStaleErrors(GlApi& gl) {
    for (int i = 0; i < kMaxStaleErrors && gl.GetError() != GL_NO_ERROR; ++i) {
    }
}

}  // namespace

gxtkSurface::~gxtkSurface() { Discard(); }

int gxtkSurface::Discard() {
    if (HasCurrentTexture()) {
        Gl().DeleteTextures(1, &texture);
        contextSeq = -1;
    }
    std::free(pixels);
    pixels = nullptr;
    return 0;
}

int gxtkSurface::OnUnsafeLoadComplete() {
    Bind();
    return 0;
}

void gxtkSurface::SetData(unsigned char* data, int new_width, int new_height, int new_depth) {
    if (pixels != data) std::free(pixels);
    pixels = data;
    width = new_width;
    height = new_height;
    depth = new_depth;
    format = static_cast<int>(FormatOfDepth(new_depth));
    if (pixels) PremultiplyPixels(pixels, static_cast<long>(width) * height, depth);
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, const unsigned* src, int pitch) {
    if (format != GL_RGBA) return;
    if (x < 0 || y < 0 || w < 0 || h < 0 || w > width - x || h > height - y) return;
    if (HasCurrentTexture()) {
        UploadRows(x, y, w, h, src, pitch);
    } else {
        StoreRows(x, y, w, h, src, pitch);
    }
}

// Into the pixels the texture will be made from; those outside the written
// rectangle start transparent.
void gxtkSurface::StoreRows(int x, int y, int w, int h, const unsigned* src, int pitch) {
    if (!pixels) pixels = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(width) * height, 4));
    if (!pixels) return;
    for (int r = 0; r < h; ++r) {
        const unsigned* row = src + static_cast<long>(r) * pitch;
        unsigned char* out = pixels + (static_cast<long>(y + r) * width + x) * 4;
        for (int i = 0; i < w; ++i, out += 4) PutPremultiplied(row[i], out);
    }
}

// Straight into the texture, the rectangle's rows packed in one upload.
void gxtkSurface::UploadRows(int x, int y, int w, int h, const unsigned* src, int pitch) {
    std::vector<unsigned char> rows(static_cast<size_t>(w) * h * 4);
    unsigned char* out = rows.data();
    for (int r = 0; r < h; ++r) {
        const unsigned* row = src + static_cast<long>(r) * pitch;
        for (int i = 0; i < w; ++i, out += 4) PutPremultiplied(row[i], out);
    }
    GlApi& gl = Gl();
    gl.BindTexture(GL_TEXTURE_2D, texture);
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.TexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
}

void gxtkSurface::Bind() {
    if (glfwGraphicsSeq == 0) return;
    if (HasCurrentTexture()) {
        Gl().BindTexture(GL_TEXTURE_2D, texture);
        return;
    }
    // A texture from an earlier context died with it; it is not deleted.
    CreateTexture();
}

bool gxtkSurface::HasCurrentTexture() const { return contextSeq == glfwGraphicsSeq; }

void gxtkSurface::CreateTexture() {
    GlApi& gl = Gl();
    contextSeq = glfwGraphicsSeq;
    gl.GenTextures(1, &texture);
    gl.BindTexture(GL_TEXTURE_2D, texture);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    // The exact size first, so that drivers taking any size waste nothing;
    // one that refuses it gets power-of-two sizes with the picture in the
    // top-left corner.
    DrainStaleErrors(gl);
    int texture_width = width;
    int texture_height = height;
    gl.TexImage2D(GL_TEXTURE_2D, 0, format, texture_width, texture_height, 0, format, GL_UNSIGNED_BYTE,
                  nullptr);
    if (gl.GetError() != GL_NO_ERROR) {
        texture_width = PowerOfTwoAtLeast(width);
        texture_height = PowerOfTwoAtLeast(height);
        // Beyond the largest power of two no texture can be that size: no retry.
        if (texture_width > 0 && texture_height > 0) {
            gl.TexImage2D(GL_TEXTURE_2D, 0, format, texture_width, texture_height, 0, format,
                          GL_UNSIGNED_BYTE, nullptr);
        }
    }
    uScale = 1.0f / std::max(texture_width, 1);
    vScale = 1.0f / std::max(texture_height, 1);

    if (pixels) {
        gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gl.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels);
        std::free(pixels);
        pixels = nullptr;
    }
}

