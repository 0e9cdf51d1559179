// Reading the generated data folder back: PNG images through stb_image.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace assettest {

inline std::string data_path(const std::string& name) { return std::string(TARVOLAN_DATA_DIR) + "/" + name; }

inline std::vector<char> read_bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    const uint8_t* pixel(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
    uint8_t alpha(int x, int y) const { return pixel(x, y)[3]; }
    // True when any pixel of the rectangle is not fully transparent.
    bool any_ink(int x0, int y0, int w, int h) const;
    // True when every pixel on the rectangle's outermost ring is transparent.
    bool border_clear(int x0, int y0, int w, int h) const;
};

// The corner of frame i when frames of w x h pixels fill rows left to right.
struct Corner { int x, y; };
inline Corner frame_corner(const Image& image, int i, int w, int h) {
    const int columns = image.width / w;
    return {(i % columns) * w, (i / columns) * h};
}

// Empty optional when the file is missing or not a decodable image.
std::optional<Image> load_png(const std::string& path);

}  // namespace assettest
