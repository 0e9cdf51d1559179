/* The Ogg Vorbis decoder's implementation, compiled here from the system's
   header rather than linked from a prebuilt library, with its allocations
   going through the accounting below. */
#include <limits.h>
#include <math.h>
#include <stddef.h>
#include <stdlib.h>

#include "host/stb_vorbis_blocks.h"

/* Damaged headers can claim blocks of gigabytes (a 2 GiB comment, say), which
   the decoder would allocate and then fill byte by byte. No real stream needs
   a single block anywhere near this size, so larger requests fail as an
   exhausted allocator would, and the decoder reports the stream as bad. */
#define MAX_DECODER_BLOCK ((size_t)16 << 20)

/* Every block the decoder holds is linked into one list, so that what it
   leaves behind when it gives up on a damaged stream can be freed. Blocks
   start zeroed: when setting up fails halfway the decoder frees every slot
   of its comment list, including the ones it never filled. */
typedef union block_header {
    struct {
        union block_header* prev;
        union block_header* next;
    } link;
    max_align_t alignment;
} block_header;

static block_header held = {{&held, &held}};

static void* vorbis_block_alloc(size_t size) {
    if (size > MAX_DECODER_BLOCK) return NULL;
    block_header* block = calloc(1, sizeof(block_header) + size);
    if (!block) return NULL;
    block->link.prev = &held;
    block->link.next = held.link.next;
    held.link.next->link.prev = block;
    held.link.next = block;
    return block + 1;
}

static void vorbis_block_free(void* p) {
    if (!p) return;
    block_header* block = (block_header*)p - 1;
    block->link.prev->link.next = block->link.next;
    block->link.next->link.prev = block->link.prev;
    free(block);
}

void vorbis_free_leftover_blocks(void) {
    while (held.link.next != &held) vorbis_block_free(held.link.next + 1);
}

/* A codebook with a huge dimension makes the decoder convert powers far
   beyond the int range to int, which is undefined. Rounded down and clamped
   to the int range (NaN to 0), the comparisons it makes with them come out
   as they should. The decoder uses floor for nothing else. */
static double floor_in_int_range(double x) {
    const double f = floor(x);
    if (f != f) return 0;
    if (f > INT_MAX) return INT_MAX;
    if (f < INT_MIN) return INT_MIN;
    return f;
}

#define malloc(size) vorbis_block_alloc(size)
#define free(p) vorbis_block_free(p)
#define floor(x) floor_in_int_range(x)
#include <stb/stb_vorbis.h>
