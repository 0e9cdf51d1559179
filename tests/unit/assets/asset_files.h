// Reading the generated data folder back: PNG images through stb_image and
// WAV files through a small strict parser, as the game will read them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace assettest {

std::string data_path(const std::string& name);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    uint8_t alpha(int x, int y) const { return rgba[(size_t(y) * width + x) * 4 + 3]; }
    // True when any pixel of the rectangle is not fully transparent.
    bool any_ink(int x0, int y0, int w, int h) const;
    // True when every pixel on the rectangle's outermost ring is transparent.
    bool border_clear(int x0, int y0, int w, int h) const;
};

// Empty optional when the file is missing or not a decodable image.
std::optional<Image> load_png(const std::string& path);

struct Wav {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<int16_t> samples;  // interleaved

    double seconds() const { return double(samples.size()) / channels / rate; }
};

// Empty optional unless the file is a well-formed RIFF/WAVE with a PCM
// format chunk and a data chunk that fits the file.
std::optional<Wav> load_wav(const std::string& path);

std::vector<char> read_bytes(const std::string& path);

}  // namespace assettest
