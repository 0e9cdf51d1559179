// Pictures decoded ahead of need (see AheadDecoder), with stb_image.
#pragma once

#include <string>

#include "host/ahead_decoder.h"

// Pixels as stb_image gives them: rows top first, 1 to 4 bytes per pixel, a
// malloc buffer that whoever takes it owns.
struct DecodedPicture {
    unsigned char* data = nullptr;
    int width = 0;
    int height = 0;
    int depth = 0;
};

// The file decoded the same way the ordinary load does; no pixels when it
// cannot be opened or decoded, or has no pixels.
DecodedPicture DecodePictureFile(const std::string& file);

using PictureDecoder = AheadDecoder<DecodedPicture, DecodePictureFile>;
