/* The memory of the Ogg Vorbis decoder. It decodes one stream at a time, on
   the main thread. */
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
