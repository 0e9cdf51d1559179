// What really comes out: each scenario runs in a child process whose OpenAL
// Soft plays into a WAV file (the "wave" backend), and the test then looks
// at that file. The child prints "NAME VALUE" lines: values it saw, and how
// many output frames had reached the file at each step (its marks).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>

#include "devices/gxtk_audio.h"
#include "host/kzglfwgame.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/child_process.h"

using namespace audio_fixtures;

namespace {

constexpr int kHertz = 44100;
constexpr double kToneHertz = 880.0;
constexpr int kToneFrames = kHertz * 3 / 10;
// How far output on disk may trail or lead what the device is playing.
constexpr int kLatencyFrames = 4096;

// Past the "data" tag and its size; the end when there is none yet.
size_t DataOffset(const Bytes& bytes) {
    for (size_t i = 12; i + 8 <= bytes.size(); ++i) {
        if (std::memcmp(&bytes[i], "data", 4) == 0) return i + 8;
    }
    return bytes.size();
}

// The wave backend's 16-bit stereo output, interleaved. The header's sizes
// are never patched (the device is never closed), so the samples run to the
// end of the file; the child may have ended in the middle of a frame.
struct Output {
    std::vector<std::int16_t> samples;

    explicit Output(const std::string& path) {
        const Bytes bytes = ReadFileBytes(path);
        const size_t data = DataOffset(bytes), end = data + (bytes.size() - data) / 4 * 4;
        for (size_t i = data; i < end; i += 2) samples.push_back(std::int16_t(bytes[i] | bytes[i + 1] << 8));
    }

    int frames() const { return static_cast<int>(samples.size() / 2); }

    // Power at `hertz` in one channel over [from, to) by the Goertzel
    // recurrence, normalised by the window length.
    double ToneEnergy(int channel, int from, int to, double hertz = kToneHertz) const {
        const double w = 2.0 * std::acos(-1.0) * hertz / kHertz;
        double s1 = 0, s2 = 0;
        for (int f = from; f < to; ++f) {
            const double s0 = samples[2 * f + channel] / 32768.0 + 2.0 * std::cos(w) * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double n = to - from;
        return (s1 * s1 + s2 * s2 - 2.0 * std::cos(w) * s1 * s2) / (n * n);
    }

    void ExpectTone(int from, int to) const {
        ASSERT_LT(from, to);
        ASSERT_LE(to, frames());
        for (int channel : {0, 1}) {
            const double at_tone = ToneEnergy(channel, from, to);
            EXPECT_GT(at_tone, 1e-3) << "channel " << channel;
            EXPECT_GT(at_tone, 1000 * ToneEnergy(channel, from, to, kToneHertz * 1.5)) << "channel " << channel;
        }
    }

    void ExpectSilence(int from, int to) const {
        ASSERT_LT(from, to);
        ASSERT_LE(to, frames());
        EXPECT_TRUE(std::all_of(samples.begin() + 2 * from, samples.begin() + 2 * to, [](int s) { return s == 0; }));
    }
};

// The child's side: the device and the output file.
struct Scenario {
    gxtkAudio* audio;
    std::string output;

    int FramesOut() const {
        const Bytes bytes = ReadFileBytes(output);
        return static_cast<int>((bytes.size() - DataOffset(bytes)) / 4);
    }
    void Mark(const char* name) const { Report(name, FramesOut()); }
    void Report(const char* name, int value) const { std::printf("%s %d\n", name, value); }
    // Lets `frames` more frames of output reach the file.
    void Play(int frames) const {
        const int target = FramesOut() + frames;
        Held(WaitUntil([&] { return FramesOut() >= target; }), "the output stalled");
    }
    void PlayToTheEnd(int channel) const {
        Held(WaitUntil([&] { return audio->ChannelState(channel) == kChannelStopped; }), "the channel never stopped");
    }
    // A wait that ran out ends the scenario with status 2, saying which.
    static void Held(bool held, const char* otherwise) {
        if (held) return;
        std::printf("%s\n", otherwise);
        std::fflush(stdout);
        std::_Exit(2);
    }
    gxtkSample* Load(const std::string& path) const { return audio->LoadSample(String(path.c_str())); }
};

struct ScenarioRun {
    ChildResult child;
    std::map<std::string, int> values;  // marks and reports by name
    Output output;

    int at(const char* name) const { return values.at(name); }
};

class WaveOutputTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteToneWav(tone_, kToneHertz, kToneFrames)); }

    ScenarioRun Run(const std::function<void(const Scenario&)>& body,
                    const std::string& wave_file = "") {
        const std::string file = wave_file.empty() ? dir_.File("out.wav") : wave_file;
        const ChildResult child = RunInChild([&] {
            UseOpenAlConfig(dir_.File("alsoft.conf"),
                            "[general]\ndrivers=wave\nsample-type=int16\nchannels=stereo\nfrequency=44100\n"
                            "hrtf=false\ndither=false\n[wave]\nfile=" + file + "\n");
            KzGlfwGame game;
            body(Scenario{new gxtkAudio(&game), file});
        });
        std::map<std::string, int> values;
        std::istringstream lines(child.out);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string name;
            int value = 0;
            if (words >> name >> value) values[name] = value;
        }
        return {child, values, Output(file)};
    }

    ScratchDir dir_;
    const std::string tone_ = dir_.File("tone.wav");  // 0.3 s
};

// A centred one-shot, then the same panned 1 radian right. (That a loop
// flag and a stop reach the source: gxtk_audio_test.)
TEST_F(WaveOutputTest, OneShotsComeOutWherePanned) {
    const ScenarioRun run = Run([&](const Scenario& s) {
        gxtkSample* tone = s.Load(tone_);
        s.Play(kLatencyFrames);
        s.Mark("centre");
        s.audio->PlaySample(tone, 0, 0);
        s.PlayToTheEnd(0);
        s.audio->SetPan(0, 1.0f);
        s.Mark("right");
        s.audio->PlaySample(tone, 0, 0);
        s.PlayToTheEnd(0);
    });
    ASSERT_EQ(run.child.exit_status, 0) << run.child.out << run.child.err;
    const Output& out = run.output;
    out.ExpectSilence(0, run.at("centre"));
    out.ExpectTone(run.at("centre") + kLatencyFrames, run.at("centre") + kToneFrames - kLatencyFrames);
    auto balance = [&](const char* mark) {
        const int from = run.at(mark) + kLatencyFrames, to = run.at(mark) + kToneFrames - kLatencyFrames;
        return out.ToneEnergy(1, from, to) / out.ToneEnergy(0, from, to);
    };
    EXPECT_NEAR(balance("centre"), 1.0, 0.05);
    EXPECT_GT(balance("right"), 2.0);
}

TEST_F(WaveOutputTest, WithoutADeviceTheErrorIsPrintedAndEverythingElseIsHarmless) {
    const ScenarioRun run = Run(
        [&](const Scenario& s) {
            gxtkSample* sample = s.Load(tone_);
            s.Report("loaded", sample != nullptr);
            s.Report("play", s.audio->PlaySample(sample, 0, 1));
            s.Report("state", s.audio->ChannelState(0));
            for (int (gxtkAudio::*op)(int, float) : {&gxtkAudio::SetPan, &gxtkAudio::SetVolume, &gxtkAudio::SetRate}) {
                (s.audio->*op)(1, 0.5f);
            }
            s.audio->PauseChannel(0);
            s.audio->Suspend();
            s.audio->Resume();
            s.Report("music", s.audio->PlayMusic(String(tone_.c_str()), 1));
            s.Report("music_state", s.audio->MusicState());
            gc_collect_all();
            gc_collect_all();
            s.Report("reloaded", s.Load(tone_) != nullptr);
        },
        "/nonexistent-directory/out.wav");
    ASSERT_EQ(run.child.exit_status, 0) << run.child.out << run.child.err;
    EXPECT_EQ(run.child.out.find("OpenAl error: alcOpenDevice failed\n"), 0u);
    EXPECT_EQ(run.child.out.find("OpenAl error", 1), std::string::npos) << "only the first step fails";
    // Decoding needs no device; the tune loads but playing it fails silently.
    EXPECT_EQ(run.values, (std::map<std::string, int>{{"loaded", 1}, {"play", -1}, {"state", kChannelStopped},
                                                      {"music", 0}, {"music_state", kChannelStopped},
                                                      {"reloaded", 1}}));
}

}  // namespace
