// Audio benchmarks: loading a one-minute Ogg Vorbis tune (decode and upload
// to OpenAL) and a 1 MB WAV. The device runs on OpenAL Soft's null backend,
// which keeps uploads real but plays nothing. Budgets: bench/BUDGETS.md.
#include <benchmark/benchmark.h>

#include <cmath>

#include "devices/gxtk_audio.h"
#include "host/kzglfwgame.h"
#include "tests/support/audio_fixtures.h"

using namespace audio_fixtures;

namespace {

constexpr int kHertz = 44100;

const ScratchDir g_dir;
const bool g_configured = UseOpenAlConfig(g_dir.File("alsoft.conf"), "[general]\ndrivers=null\n");

// Stereo 16-bit, a chord that changes every quarter second: enough movement
// that the encoder cannot shrink it to almost nothing, as it would a sine.
Bytes Tune(int seconds) {
    const double pi = std::acos(-1.0);
    const double roots[] = {220.0, 246.9, 261.6, 293.7, 329.6, 293.7, 261.6, 246.9};
    Bytes out;
    for (int i = 0; i < seconds * kHertz; ++i) {
        const double root = roots[(i / (kHertz / 4)) % 8];
        const double t = static_cast<double>(i) / kHertz;
        const double left = 0.3 * std::sin(2 * pi * root * t) + 0.2 * std::sin(2 * pi * root * 1.5 * t);
        const double right = 0.3 * std::sin(2 * pi * root * 1.25 * t) + 0.2 * std::sin(2 * pi * root * 2 * t);
        for (double v : {left, right}) PutU16(out, static_cast<std::uint16_t>(std::lround(v * 32767.0)));
    }
    return out;
}

std::string WriteWav(const std::string& name, Bytes samples) {
    WavShape shape;
    shape.channels = 2;
    shape.data = std::move(samples);
    const std::string path = g_dir.File(name);
    WriteFileBytes(path, WavBytes(shape));
    return path;
}

// Loads the file as a sample each iteration, then discards it so its buffer
// is deleted at the next load. The counter shows what OpenAL received.
void LoadRepeatedly(benchmark::State& state, const std::string& path) {
    if (!g_configured) state.SkipWithError("no OpenAL configuration");
    // One host and one device for the whole run, as in the game.
    static KzGlfwGame game;
    static gxtkAudio* audio = new gxtkAudio(&game);
    const String file(path.c_str());
    for (auto _ : state) {
        gxtkSample* sample = audio->LoadSample(file);
        if (!sample) {
            state.SkipWithError("the file did not load");
            break;
        }
        ALint bytes = 0;
        alGetBufferi(sample->buffer, AL_SIZE, &bytes);
        state.counters["uploaded_bytes"] = bytes;
        sample->Discard();
    }
}

void BM_LoadOgg60sStereoTune(benchmark::State& state) {
    static const std::string ogg = [] {
        const std::string path = g_dir.File("tune.ogg");
        EncodeOgg(WriteWav("tune.wav", Tune(60)), path);
        return path;
    }();
    LoadRepeatedly(state, ogg);
}
BENCHMARK(BM_LoadOgg60sStereoTune)->Unit(benchmark::kMillisecond);

void BM_LoadWav1MB(benchmark::State& state) {
    static const std::string wav = [] {
        Bytes samples = Tune(6);
        samples.resize(1 << 20);  // 1 MiB of 16-bit stereo: 262,144 frames
        return WriteWav("one_megabyte.wav", samples);
    }();
    LoadRepeatedly(state, wav);
}
BENCHMARK(BM_LoadWav1MB)->Unit(benchmark::kMicrosecond);

}  // namespace
