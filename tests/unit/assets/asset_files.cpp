#include "asset_files.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_MAX_DIMENSIONS 8192
#include <stb_image.h>

namespace assettest {

bool Image::any_ink(int x0, int y0, int w, int h) const {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (alpha(x, y)) return true;
    return false;
}

bool Image::border_clear(int x0, int y0, int w, int h) const {
    for (int i = 0; i < w; ++i)
        if (alpha(x0 + i, y0) || alpha(x0 + i, y0 + h - 1)) return false;
    for (int j = 0; j < h; ++j)
        if (alpha(x0, y0 + j) || alpha(x0 + w - 1, y0 + j)) return false;
    return true;
}

std::optional<Image> load_png(const std::string& path) {
    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &w, &h, &channels, 4);
    if (!pixels) return std::nullopt;
    Image image{w, h, std::vector<uint8_t>(pixels, pixels + size_t(w) * h * 4)};
    stbi_image_free(pixels);
    return image;
}

}  // namespace assettest
