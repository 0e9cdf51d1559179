// Image files: decoded by stb_image into 1 to 4 bytes per pixel, as stored;
// those queued ahead come from the picture decoder, decoded the same way.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <stb/stb_image.h>

#include "host/kzglfwgame.h"

namespace {

unsigned char* Counted(const DecodedPicture& picture, int* width, int* height, int* depth) {
    *width = picture.width;
    *height = picture.height;
    *depth = picture.depth;
    gc_ext_malloced(picture.width * picture.height * picture.depth);
    return picture.data;
}

}  // namespace

void KzGlfwGame::DecodeImagesAhead(Array<String> paths) { _pictures.Queue(FileSystemNames(paths)); }

// A queued picture that could not be decoded is read again here, so that its
// failure is told exactly as for any other file.
unsigned char* KzGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
    std::string file;
    DecodedPicture ahead;
    if (FileSystemName(path, &file) && _pictures.Take(file, &ahead)) return Counted(ahead, width, height, depth);

    std::FILE* stream = OpenForReading(path, true);
    if (!stream) return nullptr;
    DecodedPicture picture;
    picture.data = stbi_load_from_file(stream, &picture.width, &picture.height, &picture.depth, 0);
    std::fclose(stream);
    if (!picture.data) {
        TellUnreadable(path, stbi_failure_reason());
        return nullptr;
    }
    // Some formats' headers may give a side of 0 pixels, which the decoder
    // accepts; no surface can be made of it.
    if (picture.width <= 0 || picture.height <= 0) {
        std::free(picture.data);
        TellUnreadable(path, "Picture without pixels");
        return nullptr;
    }
    return Counted(picture, width, height, depth);
}
