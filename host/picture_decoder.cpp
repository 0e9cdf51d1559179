#include "host/picture_decoder.h"

#include <cstdio>
#include <cstdlib>

#include <stb/stb_image.h>

DecodedPicture DecodePictureFile(const std::string& file) {
    DecodedPicture picture;
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    if (!stream) return picture;
    picture.data = stbi_load_from_file(stream, &picture.width, &picture.height, &picture.depth, 0);
    std::fclose(stream);
    if (picture.data && (picture.width <= 0 || picture.height <= 0)) {
        std::free(picture.data);
        picture.data = nullptr;
    }
    return picture;
}
