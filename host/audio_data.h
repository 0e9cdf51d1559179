// Decoders for sound files: each reads an open file and returns its samples
// as interleaved little-endian PCM in one malloc buffer (the caller frees it),
// or null when the file cannot be decoded. The four values describe the
// result: frames, channels, bytes per sample, frames per second.
#pragma once

#include <cstdio>
#include <string>

#include "host/ahead_decoder.h"

// RIFF/WAVE with PCM samples.
unsigned char* LoadWAV(std::FILE* file, int* length, int* channels, int* format, int* hertz);
// Ogg Vorbis, always decoded to 16-bit samples.
unsigned char* LoadOGG(std::FILE* file, int* length, int* channels, int* format, int* hertz);

// A sound file's samples as the decoders above give them; no data when the
// file cannot be opened or decoded.
struct DecodedSound {
    unsigned char* data = nullptr;
    int length = 0;
    int channels = 0;
    int format = 0;
    int hertz = 0;
};

DecodedSound DecodeSoundFile(const std::string& file);

// Sounds decoded ahead of need (see AheadDecoder).
using SoundDecoder = AheadDecoder<DecodedSound, DecodeSoundFile>;
