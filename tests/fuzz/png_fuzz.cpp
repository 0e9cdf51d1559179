// Image files through the host's image reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tests/fuzz/memory_file_host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFileHost host;
    host.SetContent(data, size);
    int width = 0, height = 0, depth = 0;
    unsigned char* pixels = host.LoadImageData(String("fuzz.png"), &width, &height, &depth);
    if (pixels) {
        if (width <= 0 || height <= 0 || depth < 1 || depth > 4) std::abort();
        TouchEveryByte(pixels, static_cast<long>(width) * height * depth);
    }
    std::free(pixels);
    return 0;
}
