// stb_image_write's implementation, compiled in this program.
#include "tools/level/picture.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

bool WritePng(const Picture& picture, const std::string& path) {
    return stbi_write_png(path.c_str(), picture.width, picture.height, 3, picture.rgb.data(), picture.width * 3) !=
           0;
}
