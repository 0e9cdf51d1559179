/* The Ogg Vorbis decoder's implementation, compiled here from the system's
   header rather than linked from a prebuilt library. */
#include <stb/stb_vorbis.h>
