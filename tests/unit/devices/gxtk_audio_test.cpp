// The audio device on OpenAL Soft's null backend: channel states, sources
// (with only four to go round), suspension, music, and the deferred deletion
// of discarded buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "devices/gxtk_audio.h"
#include "host/kzglfwgame.h"
#include "tests/support/audio_fixtures.h"
#include "tests/unit/runtime/gc_support.h"

using namespace audio_fixtures;

namespace {

// Four sources in all: the music channel's and three for effects.
const ScratchDir g_config_dir;
const bool g_configured = UseOpenAlConfig(g_config_dir.File("alsoft.conf"),
                                          "[general]\ndrivers=null\nsources=4\n");

ALint SourceInt(ALuint source, ALenum what) {
    ALint value = -1;
    alGetSourcei(source, what, &value);
    return value;
}

bool IsDiscarded(ALuint buffer) {
    const std::vector<ALuint>& d = gxtkAudio::discarded;
    return std::find(d.begin(), d.end(), buffer) != d.end();
}

class AudioDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(g_configured);
        audio_ = new gxtkAudio();
        // Samples of earlier tests belong to devices that are gone; the roots
        // of the last cycle keep them one cycle longer.
        CollectAndDrain();
        CollectAndDrain();
        gxtkAudio::discarded.clear();
    }
    // Lets the collector free this test's samples before the next one starts.
    void TearDown() override {
        for (int c = 0; c < kChannelCount; ++c) audio_->StopChannel(c);
    }

    // A mono 16-bit tone of `frames` frames at 44.1 kHz, loaded as a sample.
    gxtkSample* Tone(int frames, double frequency = 440.0) {
        const std::string path = dir_.File("tone" + std::to_string(files_++) + ".wav");
        EXPECT_TRUE(WriteToneWav(path, frequency, frames));
        gxtkSample* sample = audio_->LoadSample(String(path.c_str()));
        EXPECT_NE(sample, nullptr);
        return sample;
    }
    gxtkSample* Long() { return Tone(44100); }
    gxtkSample* Blip() { return Tone(441); }

    std::string MissingPath() const { return dir_.File("missing.wav"); }
    ALuint SourceOf(int channel) const { return audio_->channels[channel].source; }
    ALint AlState(int channel) const { return SourceInt(SourceOf(channel), AL_SOURCE_STATE); }
    bool Finishes(int channel) {
        return WaitUntil([&] { return AlState(channel) == AL_STOPPED; });
    }

    KzGlfwGame game_;
    ScratchDir dir_;
    gxtkAudio* audio_ = nullptr;
    int files_ = 0;
};

TEST_F(AudioDeviceTest, ConstructionGivesOnlyTheMusicChannelASource) {
    EXPECT_EQ(gxtkAudio::audio, audio_);
    EXPECT_NE(audio_->alcDevice, nullptr);
    EXPECT_NE(audio_->alcContext, nullptr);
    EXPECT_NE(SourceOf(kMusicChannel), 0u);
    for (int c = 0; c < kEffectChannels; ++c) {
        EXPECT_EQ(SourceOf(c), 0u) << c;
        EXPECT_EQ(audio_->ChannelState(c), kChannelStopped) << c;
    }
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_NONE);
}

// Each play restarts the busy channel with the sample given.
TEST_F(AudioDeviceTest, PlaySampleRestartsTheChannelAndLoopsOnAnyNonZeroFlags) {
    for (int flags : {1, 0, 3}) {
        SCOPED_TRACE(flags);
        gxtkSample* sample = Long();
        ASSERT_EQ(audio_->PlaySample(sample, 5, flags), 0);
        EXPECT_EQ(audio_->ChannelState(5), kChannelPlaying);
        EXPECT_EQ(SourceInt(SourceOf(5), AL_BUFFER), static_cast<ALint>(sample->buffer));
        EXPECT_EQ(SourceInt(SourceOf(5), AL_LOOPING), flags ? AL_TRUE : AL_FALSE);
        EXPECT_EQ(AlState(5), AL_PLAYING);
        EXPECT_EQ(audio_->channels[5].sample, sample);
        EXPECT_EQ(audio_->channels[5].flags, flags);
    }
}

TEST_F(AudioDeviceTest, FinishedOneShotReadsStoppedAndIsNotPaused) {
    ASSERT_EQ(audio_->PlaySample(Blip(), 1, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return audio_->ChannelState(1) == kChannelStopped; }));
    audio_->PauseChannel(1);
    EXPECT_EQ(audio_->ChannelState(1), kChannelStopped);
    EXPECT_EQ(AlState(1), AL_STOPPED);

    // The same when the game asks to pause before it has asked for the state.
    ASSERT_EQ(audio_->PlaySample(Blip(), 2, 0), 0);
    ASSERT_TRUE(Finishes(2));
    audio_->PauseChannel(2);
    EXPECT_EQ(audio_->ChannelState(2), kChannelStopped);
    EXPECT_EQ(AlState(2), AL_STOPPED);
}

TEST_F(AudioDeviceTest, PauseResumeAndStopFollowTheChannelStates) {
    ASSERT_EQ(audio_->PlaySample(Long(), 3, 1), 0);
    struct Step {
        const char* name;
        int (gxtkAudio::*op)(int);
        int state;
        ALint al_state;
    };
    const Step steps[] = {
        {"pause", &gxtkAudio::PauseChannel, kChannelPaused, AL_PAUSED},
        {"pause again", &gxtkAudio::PauseChannel, kChannelPaused, AL_PAUSED},
        {"resume", &gxtkAudio::ResumeChannel, kChannelPlaying, AL_PLAYING},
        {"resume again", &gxtkAudio::ResumeChannel, kChannelPlaying, AL_PLAYING},
        {"pause", &gxtkAudio::PauseChannel, kChannelPaused, AL_PAUSED},
        {"stop while paused", &gxtkAudio::StopChannel, kChannelStopped, AL_STOPPED},
        {"resume after stop", &gxtkAudio::ResumeChannel, kChannelStopped, AL_STOPPED},
        {"stop again", &gxtkAudio::StopChannel, kChannelStopped, AL_STOPPED},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ((audio_->*step.op)(3), 0);
        EXPECT_EQ(audio_->ChannelState(3), step.state);
        EXPECT_EQ(AlState(3), step.al_state);
    }
}

TEST_F(AudioDeviceTest, SuspendAndResumeLeaveAChannelPausedByTheGamePaused) {
    ASSERT_EQ(audio_->PlaySample(Long(), 0, 1), 0);
    ASSERT_EQ(audio_->PlaySample(Long(), 1, 1), 0);
    audio_->PauseChannel(1);

    audio_->Suspend();
    EXPECT_EQ(AlState(0), AL_PAUSED);
    EXPECT_EQ(audio_->ChannelState(0), kChannelPlaying);
    EXPECT_EQ(AlState(1), AL_PAUSED);

    audio_->Resume();
    EXPECT_EQ(AlState(0), AL_PLAYING);
    EXPECT_EQ(AlState(1), AL_PAUSED);
    EXPECT_EQ(audio_->ChannelState(1), kChannelPaused);
}

TEST_F(AudioDeviceTest, PanVolumeAndRateApplyToTheChannelsSourceEvenBeforeItPlays) {
    struct Pan {
        float pan, x, z;
    };
    for (const Pan& p : {Pan{0.0f, 0.0f, -1.0f}, Pan{1.0f, 0.8415f, -0.5403f}, Pan{-1.5708f, -1.0f, 0.0f}}) {
        SCOPED_TRACE(p.pan);
        audio_->SetPan(7, p.pan);
        float x = 9, y = 9, z = 9;
        alGetSource3f(SourceOf(7), AL_POSITION, &x, &y, &z);
        EXPECT_NEAR(x, p.x, 1e-3);
        EXPECT_NEAR(y, 0.0f, 1e-6);
        EXPECT_NEAR(z, p.z, 1e-3);
    }
    audio_->SetVolume(7, 0.25f);
    audio_->SetRate(7, 1.5f);
    ASSERT_EQ(audio_->PlaySample(Long(), 7, 0), 0);
    float gain = 0, pitch = 0;
    alGetSourcef(SourceOf(7), AL_GAIN, &gain);
    alGetSourcef(SourceOf(7), AL_PITCH, &pitch);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    EXPECT_FLOAT_EQ(pitch, 1.5f);
}

TEST_F(AudioDeviceTest, OutOfSourcesAStoppedEffectChannelsSourceIsReusedButNeverTheMusicChannels) {
    gxtkSample* sample = Long();
    for (int c = 0; c < 3; ++c) ASSERT_EQ(audio_->PlaySample(sample, c, 1), 0) << c;
    EXPECT_EQ(audio_->PlaySample(sample, 3, 1), -1) << "every source is busy";
    EXPECT_EQ(SourceOf(3), 0u);

    const ALuint freed = SourceOf(1);
    audio_->StopChannel(1);
    ASSERT_EQ(audio_->PlaySample(sample, 3, 1), 0);
    EXPECT_EQ(SourceOf(3), freed);
    EXPECT_EQ(SourceOf(1), 0u);
    EXPECT_EQ(audio_->ChannelState(1), kChannelStopped);

    // A finished one-shot gives up its source the same way.
    ASSERT_EQ(audio_->PlaySample(Blip(), 3, 0), 0);
    ASSERT_TRUE(Finishes(3));
    ASSERT_EQ(audio_->PlaySample(sample, 4, 1), 0);
    EXPECT_EQ(SourceOf(3), 0u);

    // The stopped music channel keeps its source for the next tune.
    const ALuint music = SourceOf(kMusicChannel);
    audio_->StopMusic();
    EXPECT_EQ(audio_->PlaySample(sample, 5, 1), -1);
    EXPECT_EQ(SourceOf(kMusicChannel), music);
    EXPECT_EQ(audio_->ChannelState(5), kChannelStopped);
}

TEST_F(AudioDeviceTest, MusicPlaysOnChannel32AndAMissingFileStopsIt) {
    const std::string tune = dir_.File("tune.wav");
    ASSERT_TRUE(WriteToneWav(tune, 330.0, 44100));
    ASSERT_EQ(audio_->PlayMusic(String(tune.c_str()), 1), 0);
    EXPECT_EQ(audio_->MusicState(), kChannelPlaying);
    EXPECT_EQ(SourceInt(SourceOf(kMusicChannel), AL_LOOPING), AL_TRUE);

    audio_->PauseMusic();
    EXPECT_EQ(audio_->MusicState(), kChannelPaused);
    audio_->ResumeMusic();
    EXPECT_EQ(audio_->MusicState(), kChannelPlaying);
    audio_->SetMusicVolume(0.5f);
    float gain = 0;
    alGetSourcef(SourceOf(kMusicChannel), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.5f);

    EXPECT_EQ(audio_->PlayMusic(String(MissingPath().c_str()), 1), -1);
    EXPECT_EQ(audio_->MusicState(), kChannelStopped);
    EXPECT_EQ(AlState(kMusicChannel), AL_STOPPED);
}

TEST_F(AudioDeviceTest, DiscardedBufferIsDeletedAtTheNextLoadOrPlay) {
    gxtkSample* other = Blip();
    for (bool by_load : {true, false}) {
        SCOPED_TRACE(by_load ? "load" : "play");
        gxtkSample* sample = Long();
        const ALuint buffer = sample->buffer;
        ASSERT_NE(buffer, 0u);
        sample->Discard();
        sample->Discard();
        EXPECT_EQ(sample->buffer, 0u);
        EXPECT_EQ(std::count(gxtkAudio::discarded.begin(), gxtkAudio::discarded.end(), buffer), 1);
        EXPECT_TRUE(alIsBuffer(buffer));

        if (by_load) {
            Blip();
        } else {
            ASSERT_EQ(audio_->PlaySample(other, 0, 0), 0);
            EXPECT_FALSE(alIsBuffer(buffer));
        }
        EXPECT_FALSE(IsDiscarded(buffer));
    }
}

TEST_F(AudioDeviceTest, FinishedChannelLetsGoOfADiscardedBuffer) {
    gxtkSample* blip = Blip();
    gxtkSample* next = Long();
    const ALuint buffer = blip->buffer;
    ASSERT_EQ(audio_->PlaySample(blip, 2, 0), 0);
    ASSERT_TRUE(Finishes(2));
    blip->Discard();
    ASSERT_EQ(audio_->PlaySample(next, 3, 0), 0);
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_FALSE(IsDiscarded(buffer));
}

TEST_F(AudioDeviceTest, BufferOfAStoppedChannelIsDeletedOnlyAfterThatChannelPlaysAnotherSample) {
    gxtkSample* old_sound = Long();
    gxtkSample* new_sound = Long();
    gxtkSample* elsewhere = Blip();
    const ALuint buffer = old_sound->buffer;
    ASSERT_EQ(audio_->PlaySample(old_sound, 4, 1), 0);
    audio_->StopChannel(4);
    old_sound->Discard();

    // A flush: the stopped source still holds the buffer.
    ASSERT_EQ(audio_->PlaySample(elsewhere, 0, 0), 0);
    EXPECT_TRUE(IsDiscarded(buffer));
    EXPECT_TRUE(alIsBuffer(buffer));

    ASSERT_EQ(audio_->PlaySample(new_sound, 4, 1), 0);
    ASSERT_EQ(audio_->PlaySample(elsewhere, 0, 0), 0);
    EXPECT_FALSE(IsDiscarded(buffer));
    EXPECT_FALSE(alIsBuffer(buffer));
}

TEST_F(AudioDeviceTest, CollectorKeepsASampleWhilePlayingOrPausedAndThenFreesIt) {
    gxtkSample* sample = Long();
    const ALuint buffer = sample->buffer;
    ASSERT_EQ(audio_->PlaySample(sample, 6, 1), 0);
    audio_->PauseChannel(6);

    testing::internal::CaptureStdout();
    CollectAndDrain();
    const std::string while_paused = testing::internal::GetCapturedStdout();
    EXPECT_EQ(while_paused, "");
    EXPECT_EQ(sample->buffer, buffer);

    audio_->StopChannel(6);
    testing::internal::CaptureStdout();
    CollectAndDrain();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Discarding sample\n");
    EXPECT_TRUE(IsDiscarded(buffer));
}

TEST_F(AudioDeviceTest, ChannelNumbersOutsideTheDeviceAreIgnored) {
    gxtkSample* sample = Long();
    for (int channel : {-1, 33, 1000}) {
        SCOPED_TRACE(channel);
        EXPECT_EQ(audio_->PlaySample(sample, channel, 0), -1);
        EXPECT_EQ(audio_->ChannelState(channel), kChannelStopped);
        EXPECT_EQ(audio_->PauseChannel(channel), 0);
        EXPECT_EQ(audio_->ResumeChannel(channel), 0);
        EXPECT_EQ(audio_->StopChannel(channel), 0);
        EXPECT_EQ(audio_->SetVolume(channel, 1.0f), 0);
        EXPECT_EQ(audio_->SetPan(channel, 1.0f), 0);
        EXPECT_EQ(audio_->SetRate(channel, 1.0f), 0);
    }
    EXPECT_EQ(audio_->PlaySample(nullptr, 0, 0), -1);
    for (int c = 0; c < kEffectChannels; ++c) EXPECT_EQ(SourceOf(c), 0u) << c;
}

}  // namespace
