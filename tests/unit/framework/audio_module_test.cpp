// The audio module over a real device (OpenAL Soft's null backend): sounds
// and music found through the data folder, and the calls the game makes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "framework/audio.h"
#include "host/kzglfwgame.h"
#include "tests/support/audio_fixtures.h"
#include "tests/unit/runtime/gc_support.h"

using namespace audio_fixtures;

namespace {

const bool g_configured = UseNullAudio();

c_Sound* g_kept_sound = nullptr;
void MarkKeptSound() { gc_mark_q(g_kept_sound); }

// Runs in a scratch directory holding data/sfx/blip.wav and
// data/sfx/grounded.ogg, with the device installed.
class AudioModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(g_configured);
        const std::string sfx = dir_.File("data/sfx");
        std::filesystem::create_directories(sfx);
        ASSERT_TRUE(WriteToneWav(sfx + "/blip.wav", 660.0, 44100));
        ASSERT_TRUE(EncodeOgg(sfx + "/blip.wav", sfx + "/grounded.ogg"));
        kz_audio_SetAudioDevice(new gxtkAudio(&game_));
        gc_add_roots(MarkKeptSound);
        // Samples of earlier tests belong to devices that are gone.
        CollectAndDrain();
        CollectAndDrain();
        gxtkAudio::discarded.clear();
    }
    void TearDown() override {
        for (int c = 0; c < kChannelCount; ++c) kz_audio_device->StopChannel(c);
        gc_assign(g_kept_sound, static_cast<c_Sound*>(nullptr));
    }

    ALuint SourceOf(int channel) const { return kz_audio_device->channels[channel].source; }

    KzGlfwGame game_;
    ScratchWorkingDir dir_;
};

// Every form of path: files_test.
TEST_F(AudioModuleTest, LoadSoundFindsBareNamesInTheDataFolder) {
    const c_Sound* sound = kz_audio_LoadSound(String("sfx/blip.wav"));
    ASSERT_NE(sound, nullptr);
    EXPECT_NE(sound->m_sample->buffer, 0u);
    EXPECT_EQ(kz_audio_LoadSound(String("data/sfx/blip.wav")), nullptr) << "looked for in data/data/";
    EXPECT_EQ(kz_audio_LoadSound(String("sfx/missing.wav")), nullptr);
}

// The device's own calls are tested in devices/; here what the module adds.
TEST_F(AudioModuleTest, MissingSoundsAndMusicAreIgnoredAndPanTurnsTheSourceAboutTheListener) {
    kz_audio_PlaySound(nullptr, 4, 0);
    kz_audio_PlaySound((new c_Sound())->m_new(nullptr), 4, 0);
    EXPECT_EQ(kz_audio_device->ChannelState(4), kChannelStopped);
    EXPECT_EQ(kz_audio_PlayMusic(String("sfx/missing.ogg"), 1), -1);
    EXPECT_EQ(kz_audio_PlayMusic(String("sfx/grounded.ogg"), 1), 0);

    kz_audio_SetChannelPan(9, -1.0f);  // one radian left
    float x = 0, y = 9, z = 0;
    alGetSource3f(SourceOf(9), AL_POSITION, &x, &y, &z);
    EXPECT_NEAR(x, -0.8415f, 1e-3);
    EXPECT_NEAR(z, -0.5403f, 1e-3);
}

TEST_F(AudioModuleTest, ASoundKeepsItsSampleAliveUntilTheSoundIsDropped) {
    gc_assign(g_kept_sound, kz_audio_LoadSound(String("sfx/blip.wav")));
    ASSERT_NE(g_kept_sound, nullptr);
    const ALuint buffer = g_kept_sound->m_sample->buffer;

    testing::internal::CaptureStdout();
    CollectAndDrain();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(g_kept_sound->m_sample->buffer, buffer);

    gc_assign(g_kept_sound, static_cast<c_Sound*>(nullptr));
    testing::internal::CaptureStdout();
    CollectAndDrain();
    CollectAndDrain();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Discarding sample\n");
}

}  // namespace
