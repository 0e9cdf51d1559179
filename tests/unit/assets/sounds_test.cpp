// The sound effects and the tune, read by the game's own decoders and loaded
// through its audio module (OpenAL Soft on its null backend): audible,
// short enough for their moments, and a tune that loops cleanly.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "framework/audio.h"
#include "host/audio_data.h"
#include "host/kzglfwgame.h"
#include "tests/support/audio_fixtures.h"
#include "tests/unit/assets/asset_files.h"

namespace assettest {
namespace {

const bool g_configured = audio_fixtures::UseNullAudio();

struct Sound {
    int channels = 0, rate = 0, bytes_per_sample = 0;
    std::vector<int16_t> samples;  // interleaved; only for 16-bit sounds

    int frames() const { return int(samples.size()) / channels; }
    double seconds() const { return double(frames()) / rate; }
};

std::optional<Sound> decode(const std::string& name, bool ogg) {
    std::FILE* file = std::fopen(data_path(name).c_str(), "rb");
    if (!file) return std::nullopt;
    Sound sound;
    int length = 0;
    unsigned char* data = (ogg ? LoadOGG : LoadWAV)(file, &length, &sound.channels, &sound.bytes_per_sample, &sound.rate);
    std::fclose(file);
    if (!data) return std::nullopt;
    if (sound.bytes_per_sample == 2) {
        sound.samples.resize(size_t(length) * sound.channels);
        std::memcpy(sound.samples.data(), data, sound.samples.size() * 2);
    }
    std::free(data);
    return sound;
}

std::string effect_name(int id) {
    char name[32];
    std::snprintf(name, sizeof name, "sfx/%03d.wav", id);
    return name;
}

// Channel c's samples from `first` on, `count` of them.
std::vector<double> channel(const Sound& s, int c, int first, int count) {
    std::vector<double> out;
    for (int i = first; i < first + count; ++i) out.push_back(s.samples[size_t(i) * s.channels + c]);
    return out;
}

// The average as a fraction of full scale: a lasting offset thumps when a
// sound starts and stops, and wastes headroom.
double dc_offset(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x;
    return std::fabs(sum / double(v.size())) / 32768.0;
}

double rms(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x * x;
    return std::sqrt(sum / double(v.size()));
}

// The game reads "./data/..." from its working directory.
class AssetAudioModule : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(g_configured);
        ASSERT_EQ(chdir(std::filesystem::path(TARVOLAN_DATA_DIR).parent_path().c_str()), 0);
        kz_audio_SetAudioDevice(new gxtkAudio());
    }
    void TearDown() override { ASSERT_EQ(chdir(previous_.c_str()), 0); }

    const std::string previous_ = std::filesystem::current_path();
    KzGlfwGame game_;
};

// 2-6 cries of a hit walker, 7 the turret shot, 8 the level appearing, 9 the
// lift-off (which lasts 2 s), 11-15 boarding chimes, 96 the logo jingle,
// 98 confirm, 99 the menu step, 1 and 95 spare interface sounds.
TEST_F(AssetAudioModule, EffectsAreAudible16BitPcmThatFitTheirMomentsAndLoad) {
    const std::pair<int, double> effects[] = {
        {1, 1.5},  {2, 1.0},  {3, 1.0},  {4, 1.0},  {5, 1.0},  {6, 1.0},  {7, 0.3},    {8, 2.5},  {9, 3.0},
        {11, 1.5}, {12, 1.5}, {13, 1.5}, {14, 1.5}, {15, 1.5}, {95, 0.5}, {96, 2.999}, {98, 0.5}, {99, 0.2},
    };
    for (const auto& [id, max_seconds] : effects) {
        SCOPED_TRACE("sfx " + std::to_string(id));
        EXPECT_NE(kz_audio_LoadSound(String(effect_name(id).c_str())), nullptr);
        const auto wav = decode(effect_name(id), false);
        ASSERT_TRUE(wav) << "not a PCM WAV";
        ASSERT_EQ(wav->bytes_per_sample, 2);
        EXPECT_TRUE(wav->channels == 1 || wav->channels == 2);
        EXPECT_TRUE(wav->rate == 22050 || wav->rate == 44100);
        ASSERT_GT(wav->seconds(), 0.03);
        EXPECT_LT(wav->seconds(), max_seconds);
        int peak = 0;
        for (int16_t s : wav->samples) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 32767 / 5) << "(nearly) silent";
        for (int c = 0; c < wav->channels; ++c) EXPECT_LT(dc_offset(channel(*wav, c, 0, wav->frames())), 0.01);
        // Effects end on silence, so cutting or replaying one never clicks.
        EXPECT_LT(std::abs(int(wav->samples.back())), 64);
    }
}

TEST_F(AssetAudioModule, TheTuneIsLongStereoMusicThatLoopsWithoutAClickOrAGapAndPlays) {
    EXPECT_EQ(kz_audio_PlayMusic(String("sfx/grounded.ogg"), 1), 0);
    kz_audio_StopMusic();
    const auto tune = decode("sfx/grounded.ogg", true);
    ASSERT_TRUE(tune) << "the tune does not decode";
    EXPECT_EQ(tune->channels, 2);
    EXPECT_EQ(tune->rate, 44100);
    EXPECT_GE(tune->seconds(), 40.0);
    const int frames = tune->frames(), window = tune->rate / 20;
    for (int c = 0; c < tune->channels; ++c) {
        SCOPED_TRACE("channel " + std::to_string(c));
        const std::vector<double> all = channel(*tune, c, 0, frames);
        // The step from the last sample back to the first must look like any
        // other step of the music, not like a click.
        std::vector<double> steps;
        for (int i = 1; i < frames; ++i) steps.push_back(std::fabs(all[i] - all[i - 1]));
        std::sort(steps.begin(), steps.end());
        EXPECT_LE(std::fabs(all.front() - all.back()), steps[steps.size() * 999 / 1000]);
        EXPECT_LT(dc_offset(all), 0.01);
        // No silent gap at either end: the first and last 50 ms carry music.
        EXPECT_GT(rms(channel(*tune, c, 0, window)), rms(all) * 0.2);
        EXPECT_GT(rms(channel(*tune, c, frames - window, window)), rms(all) * 0.2);
    }
}

}  // namespace
}  // namespace assettest
