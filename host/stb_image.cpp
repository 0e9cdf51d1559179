// stb_image's decoder, compiled here from the system's header rather than
// linked from a prebuilt library, with the picture size bounded so that a
// hostile header cannot ask for a giant allocation. Its failure reasons are
// the readable ones, as they are told to the player.
#include <cstdlib>
#include <cstring>

#define STBI_MAX_DIMENSIONS 16384

namespace {

// The largest buffer a picture within that bound needs: its decompressed PNG
// data, 4 bytes per pixel and a filter byte per row. A damaged header or data
// chunk length can make a file of a few bytes ask for more (a chunk length
// near 2^31 makes the decoder double its buffer up to 2 GiB); such requests
// fail as an exhausted allocator would, and the load with them.
constexpr std::size_t kMaxDecoderBlock = std::size_t{STBI_MAX_DIMENSIONS} * (STBI_MAX_DIMENSIONS * 4 + 1);

void* AllocateBlock(std::size_t size) { return size <= kMaxDecoderBlock ? std::malloc(size) : nullptr; }
void* ReallocateBlock(void* block, std::size_t size) {
    return size <= kMaxDecoderBlock ? std::realloc(block, size) : nullptr;
}

// The decoder copies zero bytes to a null buffer when a PNG's first data
// chunk is empty; memcpy's pointers must never be null, even for no bytes.
void* CopyBytes(void* to, const void* from, std::size_t count) { return count ? std::memcpy(to, from, count) : to; }

}  // namespace

#define STBI_MALLOC AllocateBlock
#define STBI_REALLOC ReallocateBlock
#define STBI_FREE std::free
#define memcpy CopyBytes
#define STB_IMAGE_IMPLEMENTATION
#define STBI_FAILURE_USERMSG
// This version's JPEG reader writes past its Huffman tables when a table's
// code counts add up to more than 256 (found by fuzzing), and the game's
// pictures are all PNG: JPEG files are not read.
#define STBI_NO_JPEG
#include <stb/stb_image.h>
