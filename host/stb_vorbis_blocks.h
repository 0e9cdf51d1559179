/* The memory of the Ogg Vorbis decoder: one list for the whole program, so
   it decodes one stream at a time (LoadOGG holds a lock around each). */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

/* Frees whatever the decoder still holds. Call once its stream is closed (or
   failed to open): a decoder that gave up on a damaged stream may not have
   freed everything it allocated. */
void vorbis_free_leftover_blocks(void);

#ifdef __cplusplus
}
#endif
