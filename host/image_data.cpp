// Image files: decoded by stb_image into 1 to 4 bytes per pixel, as stored.
#include <cstdio>
#include <cstdlib>

#include <stb/stb_image.h>

#include "host/kzglfwgame.h"

unsigned char* KzGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
    std::FILE* file = OpenForReading(path, true);
    if (!file) return nullptr;
    unsigned char* data = stbi_load_from_file(file, width, height, depth, 0);
    std::fclose(file);
    if (!data) {
        TellUnreadable(path, stbi_failure_reason());
        return nullptr;
    }
    // Some formats' headers may give a side of 0 pixels, which the decoder
    // accepts; no surface can be made of it.
    if (*width <= 0 || *height <= 0) {
        std::free(data);
        TellUnreadable(path, "Picture without pixels");
        return nullptr;
    }
    gc_ext_malloced(*width * *height * *depth);
    return data;
}
