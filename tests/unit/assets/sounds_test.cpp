// The sound effects and the tune, read by the game's own decoders and loaded
// through its audio module (OpenAL Soft on its null backend): audible and
// short enough for their moments, and a tune long enough to loop.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
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

// The game reads "./data/..." from its working directory.
class AssetAudioModule : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(g_configured);
        ASSERT_EQ(chdir(std::filesystem::path(TARVOLAN_DATA_DIR).parent_path().c_str()), 0);
        kz_audio_SetAudioDevice(new gxtkAudio(&game_));
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
        ASSERT_GT(wav->seconds(), 0.03);
        EXPECT_LT(wav->seconds(), max_seconds);
        int peak = 0;
        for (int16_t s : wav->samples) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 32767 / 5) << "(nearly) silent";
    }
}

TEST_F(AssetAudioModule, TheTuneIsLongStereoMusicThatPlays) {
    EXPECT_EQ(kz_audio_PlayMusic(String("sfx/grounded.ogg"), 1), 0);
    kz_audio_StopMusic();
    const auto tune = decode("sfx/grounded.ogg", true);
    ASSERT_TRUE(tune) << "the tune does not decode";
    EXPECT_EQ(tune->channels, 2);
    EXPECT_GE(tune->seconds(), 40.0);
}

}  // namespace
}  // namespace assettest
