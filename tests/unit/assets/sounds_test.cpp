// The sound effects and the tune: valid files the audio module can load,
// audible, short enough for their moments, and a tune that loops cleanly.
#include "asset_files.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace assettest {
namespace {

struct EffectCase {
    int id;
    double max_seconds;  // how long the moment it plays in allows
};

// 2-6 cries of a hit walker, 7 the turret shot, 8 the level appearing, 9 the
// lift-off (which lasts 2 s), 11-15 boarding chimes, 96 the logo jingle,
// 98 confirm, 99 the menu step, 1 and 95 spare interface sounds.
const EffectCase kEffects[] = {
    {1, 1.5},  {2, 1.0},  {3, 1.0},  {4, 1.0},  {5, 1.0},  {6, 1.0},  {7, 0.3},    {8, 2.5},  {9, 3.0},
    {11, 1.5}, {12, 1.5}, {13, 1.5}, {14, 1.5}, {15, 1.5}, {95, 0.5}, {96, 2.999}, {98, 0.5}, {99, 0.2},
};

std::string effect_path(int id) {
    char name[32];
    std::snprintf(name, sizeof name, "sfx/%03d.wav", id);
    return data_path(name);
}

// The average sample as a fraction of full scale: a lasting offset thumps
// when a sound starts and stops, and wastes headroom.
double dc_offset(const short* samples, size_t count, int stride) {
    double sum = 0;
    for (size_t i = 0; i < count; ++i) sum += samples[i * stride];
    return std::fabs(sum / double(count)) / 32768.0;
}

int peak(const std::vector<int16_t>& samples) {
    int loudest = 0;
    for (int16_t s : samples) loudest = std::max(loudest, std::abs(int(s)));
    return loudest;
}

TEST(AssetSoundEffects, AreAudible16BitPcmThatFitTheirMoments) {
    for (const EffectCase& effect : kEffects) {
        const auto wav = load_wav(effect_path(effect.id));
        ASSERT_TRUE(wav) << "sfx " << effect.id << " is not a valid PCM WAV";
        EXPECT_EQ(wav->bits, 16) << effect.id;
        EXPECT_TRUE(wav->channels == 1 || wav->channels == 2) << effect.id;
        EXPECT_TRUE(wav->rate == 22050 || wav->rate == 44100) << effect.id;
        EXPECT_GT(peak(wav->samples), 32767 / 5) << "sfx " << effect.id << " is (nearly) silent";
        EXPECT_LT(dc_offset(wav->samples.data(), wav->samples.size(), 1), 0.01) << effect.id;
        EXPECT_GT(wav->seconds(), 0.03) << effect.id;
        EXPECT_LT(wav->seconds(), effect.max_seconds) << effect.id;
        // Effects end on silence, so cutting or replaying one never clicks.
        EXPECT_LT(std::abs(int(wav->samples.back())), 64) << effect.id;
    }
}

TEST(AssetSoundEffects, TheFiveCriesAreDifferentSounds) {
    std::vector<std::vector<char>> cries;
    for (int id = 2; id <= 6; ++id) cries.push_back(read_bytes(effect_path(id)));
    for (size_t a = 0; a < cries.size(); ++a)
        for (size_t b = a + 1; b < cries.size(); ++b) EXPECT_NE(cries[a], cries[b]) << 2 + a << " and " << 2 + b;
}

// The boarding chimes climb: each rings higher than the one before, judged
// by how often its first 0.2 s cross zero.
TEST(AssetSoundEffects, BoardingChimesRise) {
    int previous = 0;
    for (int id = 11; id <= 15; ++id) {
        const auto wav = load_wav(effect_path(id));
        ASSERT_TRUE(wav);
        const size_t span = std::min(wav->samples.size(), size_t(wav->rate / 5));
        int crossings = 0;
        for (size_t i = 1; i < span; ++i) crossings += (wav->samples[i - 1] < 0) != (wav->samples[i] < 0);
        EXPECT_GT(crossings, previous) << "chime " << id;
        previous = crossings;
    }
}

double rms(const short* samples, size_t count, int stride) {
    double sum = 0;
    for (size_t i = 0; i < count; ++i) sum += double(samples[i * stride]) * samples[i * stride];
    return std::sqrt(sum / double(count));
}

TEST(AssetTune, IsLongStereoMusicThatLoopsWithoutAClickOrAGap) {
    int channels = 0, rate = 0;
    short* decoded = nullptr;
    const int frames = stb_vorbis_decode_filename(data_path("sfx/grounded.ogg").c_str(), &channels, &rate, &decoded);
    ASSERT_GT(frames, 0) << "the tune does not decode";
    std::vector<short> pcm(decoded, decoded + size_t(frames) * channels);
    std::free(decoded);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(rate, 44100);
    EXPECT_GE(double(frames) / rate, 40.0);

    for (int c = 0; c < channels; ++c) {
        // The step from the last sample back to the first must look like any
        // other step of the music, not like a click.
        std::vector<int> steps;
        for (int i = 1; i < frames; ++i) steps.push_back(std::abs(pcm[size_t(i) * channels + c] - pcm[size_t(i - 1) * channels + c]));
        std::sort(steps.begin(), steps.end());
        const int typical_large_step = steps[steps.size() * 999 / 1000];
        const int seam = std::abs(pcm[c] - pcm[size_t(frames - 1) * channels + c]);
        EXPECT_LE(seam, typical_large_step) << "channel " << c;
        EXPECT_LT(dc_offset(pcm.data() + c, size_t(frames), channels), 0.01) << "channel " << c;
        // No silent gap at either end: the first and last 50 ms carry music.
        const size_t window = size_t(rate / 20);
        const double overall = rms(pcm.data() + c, size_t(frames), channels);
        EXPECT_GT(rms(pcm.data() + c, window, channels), overall * 0.2) << "channel " << c;
        EXPECT_GT(rms(pcm.data() + (size_t(frames) - window) * channels + c, window, channels), overall * 0.2)
            << "channel " << c;
    }
}

}  // namespace
}  // namespace assettest
