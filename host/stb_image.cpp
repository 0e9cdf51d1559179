// stb_image's decoder, compiled here from the system's header rather than
// linked from a prebuilt library, with the picture size bounded so that a
// hostile header cannot ask for a giant allocation. Its failure reasons are
// the readable ones, as they are told to the player.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_FAILURE_USERMSG
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>
