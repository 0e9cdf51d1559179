#include "image.h"

#include <zlib.h>

#include <cstdlib>

// stb_image_write lays out the PNG; zlib's deflate compresses it, several
// times faster than stb's own and a little smaller.
static unsigned char* deflate_with_zlib(unsigned char* data, int length, int* out_length, int quality) {
    uLongf size = compressBound(uLong(length));
    auto* out = static_cast<unsigned char*>(std::malloc(size));
    if (!out || compress2(out, &size, data, uLong(length), quality) != Z_OK) {
        std::free(out);
        return nullptr;
    }
    *out_length = int(size);
    return out;
}

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#define STBIW_ZLIB_COMPRESS deflate_with_zlib
#include <stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace assetgen {

RgbaImage from_cairo(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    RgbaImage out(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < out.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < out.width; ++x) {
            const uint32_t argb = row[x];
            const uint32_t a = argb >> 24;
            uint8_t* px = &out.pixels[(size_t(y) * out.width + x) * 4];
            px[3] = uint8_t(a);
            if (a == 0) continue;
            for (int c = 0; c < 3; ++c) {
                const uint32_t premultiplied = (argb >> (16 - 8 * c)) & 0xff;
                px[c] = uint8_t(std::min<uint32_t>(255, (premultiplied * 255 + a / 2) / a));
            }
        }
    }
    return out;
}

void make_parent_dirs(const std::string& path) {
    const auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
}

static void append_bytes(void* context, void* data, int size) {
    auto* buffer = static_cast<std::vector<char>*>(context);
    const char* bytes = static_cast<const char*>(data);
    buffer->insert(buffer->end(), bytes, bytes + size);
}

void write_png(const std::string& path, const RgbaImage& image) {
    std::vector<char> encoded;
    stbi_write_png_compression_level = 6;
    if (!stbi_write_png_to_func(append_bytes, &encoded, image.width, image.height, 4,
                                image.pixels.data(), image.width * 4))
        throw std::runtime_error("cannot encode " + path);
    make_parent_dirs(path);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(encoded.data(), std::streamsize(encoded.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace assetgen
