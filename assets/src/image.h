// A plain RGBA image (straight, not premultiplied alpha) and its PNG output.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width * height * 4 bytes, row-major, R G B A

    RgbaImage() = default;
    RgbaImage(int w, int h) : width(w), height(h), pixels(size_t(w) * h * 4, 0) {}

    uint8_t alpha(int x, int y) const { return pixels[(size_t(y) * width + x) * 4 + 3]; }
};

// Cairo keeps premultiplied native-endian ARGB; the data folder wants straight RGBA.
RgbaImage from_cairo(cairo_surface_t* surface);

// Writes the image as PNG, creating missing parent folders. Throws on failure.
void write_png(const std::string& path, const RgbaImage& image);

// Creates every missing folder on the way to the file `path`. Throws on failure.
void make_parent_dirs(const std::string& path);

}  // namespace assetgen
