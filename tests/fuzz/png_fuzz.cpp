// Image files through the host's image reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <stb/stb_image.h>

#include "tests/fuzz/memory_file_host.h"

namespace {
// Some of the decoder's formats read past the end of a file as zeros, so a few
// bytes can claim a picture of tens of megabytes, whose decoding only slows
// the search down; the bound on the decoder's buffers is what keeps such
// files harmless in the game.
constexpr long kMaxPixels = 1 << 20;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int width = 0, height = 0, depth = 0;
    if (stbi_info_from_memory(data, static_cast<int>(size), &width, &height, &depth) &&
        static_cast<long>(width) * height > kMaxPixels) {
        return -1;  // not kept in the corpus
    }
    static MemoryFileHost host;
    host.SetContent(data, size);
    unsigned char* pixels = host.LoadImageData(String("fuzz.png"), &width, &height, &depth);
    if (pixels) {
        if (width <= 0 || height <= 0 || depth < 1 || depth > 4) std::abort();
        TouchEveryByte(pixels, static_cast<long>(width) * height * depth);
    }
    std::free(pixels);
    return 0;
}
