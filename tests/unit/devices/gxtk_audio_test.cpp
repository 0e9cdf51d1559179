// The audio device on OpenAL Soft's null backend with only four sources:
// channel states, source reuse, suspension, music, and the deferred deletion
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

// The music channel's source and three for effects.
const bool g_configured = UseNullAudio("sources=4\n");

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
        audio_ = new gxtkAudio(&game_);
        // Samples of earlier tests belong to devices that are gone.
        CollectAndDrain();
        CollectAndDrain();
        gxtkAudio::discarded.clear();
    }
    void TearDown() override {
        for (int c = 0; c < kChannelCount; ++c) audio_->StopChannel(c);
    }

    // A mono 16-bit 440 Hz tone at 44.1 kHz: Long() lasts a second, Blip() 10 ms.
    gxtkSample* Tone(int frames) {
        const std::string path = dir_.File("tone" + std::to_string(files_++) + ".wav");
        EXPECT_TRUE(WriteToneWav(path, 440.0, frames));
        gxtkSample* sample = audio_->LoadSample(String(path.c_str()));
        EXPECT_NE(sample, nullptr);
        return sample;
    }
    gxtkSample* Long() { return Tone(44100); }
    gxtkSample* Blip() { return Tone(441); }

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

// Where pan puts a source: audio_module_test and wave_output_test.
TEST_F(AudioDeviceTest, PlaySampleRestartsTheChannelLoopsOnAnyNonZeroFlagsAndKeepsVolumeAndRate) {
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_NONE) << "no attenuation with distance";
    audio_->SetVolume(5, 0.25f);
    audio_->SetRate(5, 1.5f);
    for (int flags : {1, 0, 3}) {
        gxtkSample* sample = Long();
        ASSERT_EQ(audio_->PlaySample(sample, 5, flags), 0);
        EXPECT_EQ(std::vector<int>({audio_->ChannelState(5), AlState(5), SourceInt(SourceOf(5), AL_LOOPING),
                                    SourceInt(SourceOf(5), AL_BUFFER)}),
                  std::vector<int>({kChannelPlaying, AL_PLAYING, flags ? AL_TRUE : AL_FALSE, int(sample->buffer)}))
            << flags;
    }
    float gain = 0, pitch = 0;
    alGetSourcef(SourceOf(5), AL_GAIN, &gain);
    alGetSourcef(SourceOf(5), AL_PITCH, &pitch);
    EXPECT_EQ(std::vector<float>({gain, pitch}), (std::vector<float>{0.25f, 1.5f}));
}

TEST_F(AudioDeviceTest, FinishedOneShotReadsStoppedAndIsNotPaused) {
    for (bool state_asked_first : {true, false}) {
        SCOPED_TRACE(state_asked_first);
        ASSERT_EQ(audio_->PlaySample(Blip(), 1, 0), 0);
        ASSERT_TRUE(state_asked_first ? WaitUntil([&] { return audio_->ChannelState(1) == kChannelStopped; })
                                      : Finishes(1));
        audio_->PauseChannel(1);
        EXPECT_EQ(std::vector<int>({audio_->ChannelState(1), AlState(1)}),
                  std::vector<int>({kChannelStopped, AL_STOPPED}));
    }
}

TEST_F(AudioDeviceTest, PauseResumeAndStopFollowTheChannelStates) {
    ASSERT_EQ(audio_->PlaySample(Long(), 3, 1), 0);
    const struct {
        const char* name;
        int (gxtkAudio::*op)(int);
        int state;
        ALint al_state;
    } steps[] = {
        {"pause", &gxtkAudio::PauseChannel, kChannelPaused, AL_PAUSED},
        {"pause again", &gxtkAudio::PauseChannel, kChannelPaused, AL_PAUSED},
        {"resume", &gxtkAudio::ResumeChannel, kChannelPlaying, AL_PLAYING},
        {"resume again", &gxtkAudio::ResumeChannel, kChannelPlaying, AL_PLAYING},
        {"pause", &gxtkAudio::PauseChannel, kChannelPaused, AL_PAUSED},
        {"stop while paused", &gxtkAudio::StopChannel, kChannelStopped, AL_STOPPED},
        {"resume after stop", &gxtkAudio::ResumeChannel, kChannelStopped, AL_STOPPED},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        const int result = (audio_->*step.op)(3);
        EXPECT_EQ(std::vector<int>({result, audio_->ChannelState(3), AlState(3)}), std::vector<int>({0, step.state, step.al_state}));
    }
}

TEST_F(AudioDeviceTest, SuspendAndResumeLeaveAChannelPausedByTheGamePaused) {
    ASSERT_EQ(audio_->PlaySample(Long(), 0, 1), 0);
    ASSERT_EQ(audio_->PlaySample(Long(), 1, 1), 0);
    audio_->PauseChannel(1);

    audio_->Suspend();
    EXPECT_EQ(std::vector<int>({AlState(0), AlState(1), audio_->ChannelState(0)}),
              std::vector<int>({AL_PAUSED, AL_PAUSED, kChannelPlaying}));
    audio_->Resume();
    EXPECT_EQ(std::vector<int>({AlState(0), AlState(1), audio_->ChannelState(1)}),
              std::vector<int>({AL_PLAYING, AL_PAUSED, kChannelPaused}));
}

TEST_F(AudioDeviceTest, OutOfSourcesAStoppedEffectChannelsSourceIsReusedButNeverTheMusicChannels) {
    gxtkSample* sample = Long();
    for (int c = 0; c < 3; ++c) ASSERT_EQ(audio_->PlaySample(sample, c, 1), 0) << c;
    EXPECT_EQ(audio_->PlaySample(sample, 3, 1), -1) << "every source is busy";

    const ALuint freed = SourceOf(1);
    audio_->StopChannel(1);
    ASSERT_EQ(audio_->PlaySample(sample, 3, 1), 0);
    EXPECT_EQ(std::vector<ALuint>({SourceOf(3), SourceOf(1), ALuint(audio_->ChannelState(1))}),
              std::vector<ALuint>({freed, 0, kChannelStopped}));

    // A finished one-shot gives up its source the same way.
    ASSERT_EQ(audio_->PlaySample(Blip(), 3, 0), 0);
    ASSERT_TRUE(Finishes(3));
    ASSERT_EQ(audio_->PlaySample(sample, 4, 1), 0);
    EXPECT_EQ(SourceOf(3), 0u);

    const ALuint music = SourceOf(kMusicChannel);
    audio_->StopMusic();
    EXPECT_EQ(audio_->PlaySample(sample, 5, 1), -1);
    EXPECT_EQ(SourceOf(kMusicChannel), music);
}

TEST_F(AudioDeviceTest, MusicLoopsOnChannel32AndAMissingFileStopsIt) {
    const std::string tune = dir_.File("tune.wav");
    ASSERT_TRUE(WriteToneWav(tune, 330.0, 44100));
    ASSERT_EQ(audio_->PlayMusic(String(tune.c_str()), 1), 0);
    EXPECT_EQ(std::vector<int>({audio_->MusicState(), SourceInt(SourceOf(kMusicChannel), AL_LOOPING)}),
              std::vector<int>({kChannelPlaying, AL_TRUE}));
    audio_->SetMusicVolume(0.5f);
    float gain = 0;
    alGetSourcef(SourceOf(kMusicChannel), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    const int missing = audio_->PlayMusic(String(dir_.File("missing.wav").c_str()), 1);
    EXPECT_EQ(std::vector<int>({missing, audio_->MusicState(), AlState(kMusicChannel)}),
              std::vector<int>({-1, kChannelStopped, AL_STOPPED}));
}

// The tune is kept: playing it again reuses its buffer and starts it from
// the beginning; another file replaces it.
TEST_F(AudioDeviceTest, MusicPlayedAgainRestartsTheKeptBufferAndAnotherFileReplacesIt) {
    const std::string tune = dir_.File("tune.wav"), other = dir_.File("other.wav");
    ASSERT_TRUE(WriteToneWav(tune, 330.0, 44100 * 4));
    ASSERT_TRUE(WriteToneWav(other, 220.0, 441));
    const auto offset = [&] { return SourceInt(SourceOf(kMusicChannel), AL_SAMPLE_OFFSET); };
    ASSERT_EQ(audio_->PlayMusic(String(tune.c_str()), 1), 0);
    const ALint buffer = SourceInt(SourceOf(kMusicChannel), AL_BUFFER);
    ASSERT_TRUE(WaitUntil([&] { return offset() > 22050; }));
    audio_->PauseMusic();
    const ALint reached = offset();

    ASSERT_EQ(audio_->PlayMusic(String(tune.c_str()), 1), 0);
    audio_->PauseMusic();
    EXPECT_LT(offset(), reached) << "the tune starts again from its beginning";
    EXPECT_EQ(SourceInt(SourceOf(kMusicChannel), AL_BUFFER), buffer);
    CollectAndDrain();
    EXPECT_TRUE(alIsBuffer(static_cast<ALuint>(buffer))) << "kept while stopped";

    ASSERT_EQ(audio_->PlayMusic(String(other.c_str()), 0), 0);
    EXPECT_NE(SourceInt(SourceOf(kMusicChannel), AL_BUFFER), buffer);
}

// A buffer still attached to a source cannot be deleted: a finished channel
// lets go of it, a channel the game stopped only when it plays something else.
TEST_F(AudioDeviceTest, DiscardedBufferIsDeletedAtTheFirstLoadOrPlayOnceNoChannelHoldsIt) {
    gxtkSample* loose = Long();
    gxtkSample* finished = Blip();
    gxtkSample* stopped = Long();
    gxtkSample* other = Blip();
    ASSERT_EQ(audio_->PlaySample(finished, 2, 0), 0);
    ASSERT_EQ(audio_->PlaySample(stopped, 4, 1), 0);
    audio_->StopChannel(4);
    ASSERT_TRUE(Finishes(2));
    const ALuint loose_buffer = loose->buffer, finished_buffer = finished->buffer, stopped_buffer = stopped->buffer;
    for (gxtkSample* s : {loose, loose, finished, stopped}) s->Discard();
    EXPECT_EQ(loose->buffer, 0u);
    EXPECT_EQ(std::count(gxtkAudio::discarded.begin(), gxtkAudio::discarded.end(), loose_buffer), 1);
    EXPECT_TRUE(alIsBuffer(loose_buffer)) << "not deleted before the next load or play";

    ASSERT_EQ(audio_->PlaySample(other, 0, 0), 0);
    EXPECT_EQ(std::vector<bool>({bool(alIsBuffer(loose_buffer)), bool(alIsBuffer(finished_buffer)), bool(alIsBuffer(stopped_buffer))}),
              std::vector<bool>({false, false, true}));
    EXPECT_EQ(gxtkAudio::discarded, std::vector<ALuint>{stopped_buffer});

    ASSERT_EQ(audio_->PlaySample(other, 4, 1), 0);
    Blip();  // loading flushes too
    EXPECT_FALSE(alIsBuffer(stopped_buffer));
    EXPECT_TRUE(gxtkAudio::discarded.empty());
}

TEST_F(AudioDeviceTest, CollectorKeepsASampleWhilePlayingOrPausedAndThenFreesIt) {
    gxtkSample* sample = Long();
    const ALuint buffer = sample->buffer;
    ASSERT_EQ(audio_->PlaySample(sample, 6, 1), 0);
    audio_->PauseChannel(6);

    for (bool paused : {true, false}) {
        if (!paused) audio_->StopChannel(6);
        testing::internal::CaptureStdout();
        CollectAndDrain();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), paused ? "" : "Discarding sample\n");
        EXPECT_EQ(IsDiscarded(buffer), !paused);
    }
}

// A window resize reloads every effect: one line per sound file, however
// many of its samples are freed, and one for each sample of no file.
TEST_F(AudioDeviceTest, DiscardingIsReportedOncePerSoundFile) {
    const std::string a = dir_.File("a.wav"), b = dir_.File("b.wav");
    ASSERT_TRUE(WriteToneWav(a, 440.0, 441));
    ASSERT_TRUE(WriteToneWav(b, 220.0, 441));
    for (const std::string* path : {&a, &a, &a, &b}) ASSERT_NE(audio_->LoadSample(String(path->c_str())), nullptr);
    new gxtkSample();
    testing::internal::CaptureStdout();
    CollectAndDrain();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Discarding sample\nDiscarding sample\nDiscarding sample\n");
}

TEST_F(AudioDeviceTest, ChannelNumbersOutsideTheDeviceAreIgnored) {
    gxtkSample* sample = Long();
    for (int channel : {-1, 33, 1000}) {
        EXPECT_EQ(audio_->PlaySample(sample, channel, 0), -1) << channel;
        EXPECT_EQ(audio_->ChannelState(channel), kChannelStopped) << channel;
        for (auto op : {&gxtkAudio::PauseChannel, &gxtkAudio::ResumeChannel, &gxtkAudio::StopChannel}) {
            (audio_->*op)(channel);
        }
        for (auto op : {&gxtkAudio::SetVolume, &gxtkAudio::SetPan, &gxtkAudio::SetRate}) (audio_->*op)(channel, 1.0f);
    }
    EXPECT_EQ(audio_->PlaySample(nullptr, 0, 0), -1);
    EXPECT_NE(SourceOf(kMusicChannel), 0u);
    for (int c = 0; c < kEffectChannels; ++c) EXPECT_EQ(SourceOf(c), 0u) << "sources are made when first needed";
}

}  // namespace
