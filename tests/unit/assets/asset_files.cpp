#include "asset_files.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_MAX_DIMENSIONS 8192
#include <stb_image.h>
#include <stb_vorbis.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace assettest {

std::string data_path(const std::string& name) { return std::string(TARVOLAN_DATA_DIR) + "/" + name; }

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

std::vector<char> read_bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

namespace {

uint32_t u32(const char* p) {
    return uint32_t(uint8_t(p[0])) | uint32_t(uint8_t(p[1])) << 8 | uint32_t(uint8_t(p[2])) << 16 |
           uint32_t(uint8_t(p[3])) << 24;
}
uint16_t u16(const char* p) { return uint16_t(uint8_t(p[0]) | uint8_t(p[1]) << 8); }

}  // namespace

std::optional<Wav> load_wav(const std::string& path) {
    const std::vector<char> bytes = read_bytes(path);
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) || std::memcmp(bytes.data() + 8, "WAVE", 4))
        return std::nullopt;
    if (u32(bytes.data() + 4) != bytes.size() - 8) return std::nullopt;
    Wav wav;
    bool have_format = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const char* chunk = bytes.data() + at;
        const size_t size = u32(chunk + 4);
        if (size > bytes.size() - at - 8) return std::nullopt;
        if (!std::memcmp(chunk, "fmt ", 4) && size >= 16) {
            if (u16(chunk + 8) != 1) return std::nullopt;  // PCM only
            wav.channels = u16(chunk + 10);
            wav.rate = int(u32(chunk + 12));
            wav.bits = u16(chunk + 22);
            have_format = true;
        } else if (!std::memcmp(chunk, "data", 4)) {
            if (!have_format || wav.bits != 16 || wav.channels < 1) return std::nullopt;
            wav.samples.resize(size / 2);
            std::memcpy(wav.samples.data(), chunk + 8, wav.samples.size() * 2);
            return wav;
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

}  // namespace assettest
