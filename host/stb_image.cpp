// stb_image's decoder, compiled here from the system's header rather than
// linked from a prebuilt library, with the picture size bounded so that a
// hostile header cannot ask for a giant allocation.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>
