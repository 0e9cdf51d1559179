// The synthesised sounds: the effects (mono WAV files) and the tune.
#pragma once

#include "synth.h"

#include <string>
#include <vector>

namespace assetgen {

constexpr int kEffectRate = 22050;
constexpr int kTuneRate = 44100;

struct SoundEffect {
    int id;  // written as sfx/NNN.wav
    Samples samples;
};

// Every effect the game loads: 1-9, 11-15, 95, 96, 98 and 99.
std::vector<SoundEffect> make_sound_effects();

// The play tune, stereo interleaved at kTuneRate; it loops seamlessly
// (its last sample leads straight into its first).
Samples make_tune();

// File writers (they create missing folders and throw on failure).
void write_wav(const std::string& path, const Samples& mono, int rate);
void write_ogg(const std::string& path, const Samples& stereo, int rate);

}  // namespace assetgen
