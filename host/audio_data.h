// Decoders for sound files: each reads an open file and returns its samples
// as interleaved little-endian PCM in one malloc buffer (the caller frees it),
// or null when the file cannot be decoded. The four values describe the
// result: frames, channels, bytes per sample, frames per second.
#pragma once

#include <cstdio>

// RIFF/WAVE with PCM samples.
unsigned char* LoadWAV(std::FILE* file, int* length, int* channels, int* format, int* hertz);
// Ogg Vorbis, always decoded to 16-bit samples.
unsigned char* LoadOGG(std::FILE* file, int* length, int* channels, int* format, int* hertz);
