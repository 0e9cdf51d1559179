// stb_image's decoder, compiled here from the system's header rather than
// linked from a prebuilt library, with the picture size bounded so that a
// hostile header cannot ask for a giant allocation.
#include <cstring>

namespace {
// The decoder copies zero bytes to a null buffer when a PNG's first data
// chunk is empty; memcpy's pointers must never be null, even for no bytes.
void* CopyBytes(void* to, const void* from, std::size_t count) { return count ? std::memcpy(to, from, count) : to; }
}  // namespace

#define memcpy CopyBytes
#define STB_IMAGE_IMPLEMENTATION
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>
