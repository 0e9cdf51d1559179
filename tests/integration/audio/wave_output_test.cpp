// What really comes out: each scenario runs in a child process whose OpenAL
// Soft plays into a WAV file (the "wave" backend), and the test then looks
// at that file. The child prints "mark NAME FRAME" lines: how many output
// frames had reached the file at each step of the scenario.
#include <gtest/gtest.h>

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
// How far output on disk may trail or lead what the device is playing: the
// mixer's period plus the file's write buffer, with room to spare.
constexpr int kLatencyFrames = 4096;

// The wave backend's output: 16-bit stereo frames after its header. The
// header's sizes are never patched (the device is never closed), so the
// samples run to the end of the file.
struct Output {
    std::vector<std::int16_t> samples;  // interleaved left, right

    static Output Read(const std::string& path) {
        const Bytes bytes = ReadFileBytes(path);
        Output out;
        const size_t data = DataOffset(bytes);
        // Whole frames only: the child may have ended in the middle of one.
        const size_t end = data + (bytes.size() - data) / 4 * 4;
        for (size_t i = data; i < end; i += 2) {
            out.samples.push_back(static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8));
        }
        return out;
    }

    // Past the "data" tag and its size; the end when there is none yet.
    static size_t DataOffset(const Bytes& bytes) {
        for (size_t i = 12; i + 8 <= bytes.size(); ++i) {
            if (std::memcmp(&bytes[i], "data", 4) == 0) return i + 8;
        }
        return bytes.size();
    }

    int frames() const { return static_cast<int>(samples.size() / 2); }

    // Power of the tone's frequency in one channel over [from, to), by the
    // Goertzel recurrence, normalised by the window length.
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

    int Peak(int from, int to) const {
        int peak = 0;
        for (int i = 2 * from; i < 2 * to; ++i) peak = std::max(peak, std::abs(int{samples[i]}));
        return peak;
    }
};

// One scenario's view of its child: the device and the output file.
class Scenario {
public:
    Scenario(gxtkAudio* audio, std::string output) : audio(audio), output_(std::move(output)) {}

    int FramesOut() const {
        const Bytes bytes = ReadFileBytes(output_);
        const size_t data = Output::DataOffset(bytes);
        return static_cast<int>((bytes.size() - data) / 4);
    }
    void Mark(const char* name) const { std::printf("mark %s %d\n", name, FramesOut()); }
    void Report(const char* name, int value) const { std::printf("%s %d\n", name, value); }
    // Lets `frames` more frames of output reach the file.
    bool Play(int frames) const {
        const int target = FramesOut() + frames;
        return WaitUntil([&] { return FramesOut() >= target; });
    }
    gxtkSample* Load(const std::string& path) const { return audio->LoadSample(String(path.c_str())); }

    gxtkAudio* audio;

private:
    std::string output_;
};

struct ScenarioRun {
    ChildResult child;
    std::map<std::string, int> values;  // marks and reports by name
    Output output;
};

class WaveOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteToneWav(tone_, kToneHertz, kHertz * 3 / 10));
        ASSERT_TRUE(WriteToneWav(short_tone_, kToneHertz, kHertz / 10));
    }

    ScenarioRun RunScenario(const std::string& wave_file, const std::function<void(const Scenario&)>& body) {
        const std::string config = "[general]\ndrivers=wave\nsample-type=int16\nchannels=stereo\n"
                                   "frequency=44100\nhrtf=false\ndither=false\n[wave]\nfile=" +
                                   wave_file + "\n";
        ScenarioRun run;
        run.child = RunInChild([&] {
            UseOpenAlConfig(dir_.File("alsoft.conf"), config);
            KzGlfwGame game;
            Scenario scenario(new gxtkAudio(), wave_file);
            body(scenario);
        });
        std::istringstream lines(run.child.out);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string name;
            int value = 0;
            words >> name;
            if (name == "mark") words >> name;
            if (words >> value) run.values[name] = value;
        }
        run.output = Output::Read(wave_file);
        return run;
    }
    ScenarioRun RunScenario(const std::function<void(const Scenario&)>& body) {
        return RunScenario(dir_.File("out.wav"), body);
    }

    ScratchDir dir_;
    const std::string tone_ = dir_.File("tone.wav");              // 0.3 s
    const std::string short_tone_ = dir_.File("short_tone.wav");  // 0.1 s
};

// Tone clearly present in both channels over [from, to).
void ExpectTone(const Output& out, int from, int to) {
    ASSERT_LT(from, to);
    ASSERT_LE(to, out.frames());
    for (int channel : {0, 1}) {
        const double at_tone = out.ToneEnergy(channel, from, to);
        const double off_tone = out.ToneEnergy(channel, from, to, kToneHertz * 1.5);
        EXPECT_GT(at_tone, 1e-3) << "channel " << channel;
        EXPECT_GT(at_tone, 1000 * off_tone) << "channel " << channel;
    }
}

void ExpectSilence(const Output& out, int from, int to) {
    ASSERT_LT(from, to);
    ASSERT_LE(to, out.frames());
    EXPECT_EQ(out.Peak(from, to), 0);
}

TEST_F(WaveOutputTest, OneShotToneComesOutAtItsFrequencyAndThenStops) {
    const ScenarioRun run = RunScenario([&](const Scenario& s) {
        s.Play(kLatencyFrames);
        s.Mark("play");
        s.audio->PlaySample(s.Load(tone_), 0, 0);
        WaitUntil([&] { return s.audio->ChannelState(0) == kChannelStopped; });
        s.Mark("ended");
        s.Play(3 * kLatencyFrames);
        s.Mark("end");
    });
    ASSERT_TRUE(run.child.exited) << run.child.err;
    const int play = run.values.at("play"), ended = run.values.at("ended");
    ExpectSilence(run.output, 0, play);
    ExpectTone(run.output, play + kLatencyFrames, play + kHertz * 3 / 10 - kLatencyFrames);
    ExpectSilence(run.output, ended + kLatencyFrames, run.values.at("end"));
}

TEST_F(WaveOutputTest, PanOfOneRadianMovesTheToneToTheRight) {
    const ScenarioRun run = RunScenario([&](const Scenario& s) {
        gxtkSample* tone = s.Load(tone_);
        for (const char* pan : {"centre", "right"}) {
            s.audio->SetPan(0, std::strcmp(pan, "right") == 0 ? 1.0f : 0.0f);
            s.Mark(pan);
            s.audio->PlaySample(tone, 0, 0);
            WaitUntil([&] { return s.audio->ChannelState(0) == kChannelStopped; });
        }
    });
    ASSERT_TRUE(run.child.exited) << run.child.err;
    auto balance = [&](const char* mark) {
        const int from = run.values.at(mark) + kLatencyFrames;
        const int to = run.values.at(mark) + kHertz * 3 / 10 - kLatencyFrames;
        return run.output.ToneEnergy(1, from, to) / run.output.ToneEnergy(0, from, to);
    };
    EXPECT_NEAR(balance("centre"), 1.0, 0.05);
    EXPECT_GT(balance("right"), 2.0);
}

TEST_F(WaveOutputTest, LoopingSampleKeepsSoundingUntilItsChannelIsStopped) {
    const ScenarioRun run = RunScenario([&](const Scenario& s) {
        s.audio->PlaySample(s.Load(short_tone_), 3, 1);
        s.Play(kHertz / 2);  // five times the sample's length
        s.Mark("late");
        s.Play(2 * kLatencyFrames);
        s.Mark("stop");
        s.Report("state", s.audio->ChannelState(3));
        s.audio->StopChannel(3);
        s.Play(4 * kLatencyFrames);
        s.Mark("end");
    });
    ASSERT_TRUE(run.child.exited) << run.child.err;
    EXPECT_EQ(run.values.at("state"), kChannelPlaying);
    ExpectTone(run.output, run.values.at("late"), run.values.at("stop"));
    ExpectSilence(run.output, run.values.at("stop") + kLatencyFrames, run.values.at("end"));
}

TEST_F(WaveOutputTest, MusicOnChannel32PausesAndResumes) {
    const std::string tune = dir_.File("tune.ogg");
    ASSERT_TRUE(EncodeOgg(short_tone_, tune));
    const ScenarioRun run = RunScenario([&](const Scenario& s) {
        s.Mark("play");
        s.Report("played", s.audio->PlayMusic(String(tune.c_str()), 1));
        s.Play(4 * kLatencyFrames);
        s.Mark("pause");
        s.audio->PauseMusic();
        s.Report("paused", s.audio->MusicState());
        s.Play(4 * kLatencyFrames);
        s.Mark("resume");
        s.audio->ResumeMusic();
        s.Report("resumed", s.audio->MusicState());
        s.Play(4 * kLatencyFrames);
        s.Mark("end");
    });
    ASSERT_TRUE(run.child.exited) << run.child.err;
    EXPECT_EQ(run.values.at("played"), 0);
    EXPECT_EQ(run.values.at("paused"), kChannelPaused);
    EXPECT_EQ(run.values.at("resumed"), kChannelPlaying);
    ExpectTone(run.output, run.values.at("play") + kLatencyFrames, run.values.at("pause"));
    ExpectSilence(run.output, run.values.at("pause") + kLatencyFrames, run.values.at("resume"));
    ExpectTone(run.output, run.values.at("resume") + kLatencyFrames, run.values.at("end"));
}

TEST_F(WaveOutputTest, WithoutADeviceTheErrorIsPrintedAndEverythingElseIsHarmless) {
    const ScenarioRun run = RunScenario("/nonexistent-directory/out.wav", [&](const Scenario& s) {
        gxtkAudio* audio = s.audio;
        gxtkSample* sample = s.Load(tone_);
        s.Report("loaded", sample != nullptr);
        s.Report("play", audio->PlaySample(sample, 0, 1));
        s.Report("state", audio->ChannelState(0));
        audio->SetPan(1, 1.0f);
        audio->SetVolume(1, 0.5f);
        audio->SetRate(1, 2.0f);
        audio->PauseChannel(0);
        audio->Suspend();
        audio->Resume();
        s.Report("music", audio->PlayMusic(String(tone_.c_str()), 1));
        s.Report("music_state", audio->MusicState());
        gc_collect_all();
        gc_collect_all();
        s.Report("reloaded", s.Load(tone_) != nullptr);
    });
    ASSERT_TRUE(run.child.exited) << run.child.err;
    EXPECT_EQ(run.child.exit_status, 0);
    EXPECT_EQ(run.child.out.find("OpenAl error: alcOpenDevice failed\n"), 0u);
    EXPECT_EQ(run.child.out.find("OpenAl error", 1), std::string::npos) << "only the first step fails";
    EXPECT_EQ(run.values.at("loaded"), 1) << "decoding needs no device";
    EXPECT_EQ(run.values.at("play"), -1);
    EXPECT_EQ(run.values.at("state"), kChannelStopped);
    EXPECT_EQ(run.values.at("music"), 0) << "the tune loaded; playing it failed silently";
    EXPECT_EQ(run.values.at("music_state"), kChannelStopped);
    EXPECT_EQ(run.values.at("reloaded"), 1);
}

}  // namespace
