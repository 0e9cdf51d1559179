#include "tests/unit/devices/png_fixture.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

bool WritePng(const std::string& path, int width, int height, int depth,
              const std::vector<unsigned char>& pixels) {
    return stbi_write_png(path.c_str(), width, height, depth, pixels.data(), width * depth) != 0;
}
