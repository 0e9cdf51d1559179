// "grounded", the play tune: 24 bars at 120 beats a minute (48 seconds) in
// A minor over Am-F-C-G. Bars 0-7 are the groove (drums, bass, arpeggio),
// 8-15 add the lead melody, 16-23 add a harmony and a pad and end on a
// drum fill that turns back into bar 0.
//
// Every note is mixed into a circular buffer: whatever rings past the end
// (tails, echoes) continues at the start, so the loop point is as smooth
// as any other moment of the tune.
#include "sounds.h"

#include <algorithm>
#include <functional>

namespace assetgen {
namespace {

constexpr double kBeat = 0.5;  // seconds
constexpr int kBars = 24;
constexpr double kDt = 1.0 / kTuneRate;

class LoopMix {
public:
    LoopMix() : left_(size_t(kBars * 4 * kBeat * kTuneRate)), right_(left_.size()) {}

    // Renders voice(t) for `seconds` from `start` (both in seconds), panned
    // from -1 (left) to 1 (right).
    void add(double start, double seconds, double gain, double pan, const std::function<double(double)>& voice) {
        const size_t first = size_t(std::lround(start * kTuneRate));
        const size_t count = size_t(seconds * kTuneRate);
        const double l = gain * std::cos((pan + 1) * M_PI / 4);
        const double r = gain * std::sin((pan + 1) * M_PI / 4);
        for (size_t i = 0; i < count; ++i) {
            const double s = voice(double(i) * kDt);
            const size_t at = (first + i) % left_.size();
            left_[at] += float(s * l);
            right_[at] += float(s * r);
        }
    }

    // A ping-pong echo, read around the loop so it wraps like the notes do.
    void echo(double delay_s, double gain) {
        const size_t n = left_.size();
        const size_t d = size_t(delay_s * kTuneRate);
        const std::vector<float> dry_l = left_, dry_r = right_;
        for (size_t i = 0; i < n; ++i) {
            left_[i] += float(gain * 0.5 * (dry_l[(i + 2 * n - 2 * d) % n] + dry_r[(i + 2 * n - 2 * d) % n]));
            right_[i] += float(gain * 0.6 * (dry_l[(i + n - d) % n] + dry_r[(i + n - d) % n]));
        }
    }

    Samples interleaved(double peak) const {
        Samples out(left_.size() * 2);
        for (size_t i = 0; i < left_.size(); ++i) {
            out[2 * i] = float(std::tanh(left_[i] * 0.9));
            out[2 * i + 1] = float(std::tanh(right_[i] * 0.9));
        }
        normalise(out, peak);
        return out;
    }

private:
    std::vector<float> left_, right_;
};

double bar_start(int bar) { return bar * 4 * kBeat; }

struct Chord {
    int root;  // MIDI note of the bass root
    int tones[3];
};
// Am, F, C, G.
const Chord kChords[4] = {{45, {69, 72, 76}}, {41, {65, 69, 72}}, {48, {67, 72, 76}}, {43, {67, 71, 74}}};

struct Note {
    int midi;
    double beat;    // start within the eight-bar phrase
    double length;  // beats
};

// The lead: an eight-bar phrase (times in beats from its first bar).
const Note kMelody[] = {
    {76, 0, 1},    {74, 1, 0.5},  {72, 1.5, 0.5}, {69, 2, 1.5},  {72, 3.5, 0.5},
    {74, 4, 1},    {72, 5, 0.5},  {69, 5.5, 0.5}, {65, 6, 2},
    {67, 8, 0.5},  {69, 8.5, 0.5}, {72, 9, 1},    {76, 10, 1},   {74, 11, 1},
    {74, 12, 1.5}, {71, 13.5, 0.5}, {67, 14, 2},
    {76, 16, 1},   {79, 17, 0.5}, {81, 17.5, 0.5}, {79, 18, 1},  {76, 19, 1},
    {77, 20, 1},   {76, 21, 0.5}, {74, 21.5, 0.5}, {72, 22, 2},
    {72, 24, 0.5}, {74, 24.5, 0.5}, {76, 25, 1},  {79, 26, 1},   {76, 27, 1},
    {74, 28, 1},   {76, 29, 0.5}, {74, 29.5, 0.5}, {71, 30, 2},
};

// --- instruments (t in seconds from the note's start) ---

std::function<double(double)> kick() {
    return [phase = 0.0](double t) mutable {
        phase += (45 + 110 * std::exp(-t / 0.03)) * kDt;
        return sine(phase) * std::exp(-t / 0.18) * std::min(1.0, t / 0.002);
    };
}

std::function<double(double)> snare(uint32_t seed) {
    return [noise = Noise(seed), body = Svf(), started = false](double t) mutable {
        if (!started) {
            body.set(2200, 0.8, kTuneRate);
            started = true;
        }
        body.process(noise.next());
        return (0.8 * body.band() + 0.4 * sine(190 * t) * std::exp(-t / 0.04)) * std::exp(-t / 0.09);
    };
}

std::function<double(double)> hat(uint32_t seed, double decay) {
    return [noise = Noise(seed), lowpass = OnePole(), decay, started = false](double t) mutable {
        if (!started) {
            lowpass.set(6000, kTuneRate);
            started = true;
        }
        const double n = noise.next();
        return (n - lowpass.process(n)) * std::exp(-t / decay);
    };
}

std::function<double(double)> bass(double freq, double length) {
    return [freq, length, filter = Svf(), phase = 0.0](double t) mutable {
        filter.set(180 + 900 * std::exp(-t / 0.08), 1.6, kTuneRate);
        phase += freq * kDt;
        filter.process(0.7 * saw(phase) + 0.5 * square(phase * 0.5));
        return filter.low() * std::min(1.0, t / 0.004) * tail_env(t, length, 0.03);
    };
}

std::function<double(double)> pluck(double freq) {
    return [freq, filter = Svf(), phase = 0.0](double t) mutable {
        filter.set(900 + 2500 * std::exp(-t / 0.05), 1.0, kTuneRate);
        phase += freq * kDt;
        filter.process(square(phase, 0.25));
        return filter.low() * pluck_env(t, 0.003, 0.11);
    };
}

std::function<double(double)> lead(double freq, double length) {
    return [freq, length, filter = Svf(), phase = 0.0](double t) mutable {
        filter.set(2400, 0.9, kTuneRate);
        const double vibrato = 1 + 0.006 * std::sin(kTau * 5.5 * t) * std::min(1.0, t / 0.3);
        phase += freq * vibrato * kDt;
        filter.process(0.55 * square(phase, 0.5) + 0.45 * saw(phase * 1.003));
        const double env = std::min(1.0, t / 0.015) * (0.75 + 0.25 * std::exp(-t / 0.2));
        return filter.low() * env * tail_env(t, length, 0.06);
    };
}

std::function<double(double)> pad(double freq, double length) {
    return [freq, length, filter = Svf(), a = 0.0, b = 0.0](double t) mutable {
        filter.set(1100, 0.7, kTuneRate);
        a += freq * 0.997 * kDt;
        b += freq * 1.004 * kDt;
        filter.process(saw(a) + saw(b));
        return filter.low() * std::min(1.0, t / 0.5) * tail_env(t, length, 0.6);
    };
}

// --- parts ---

void drums(LoopMix& mix) {
    uint32_t seed = 1;
    for (int bar = 0; bar < kBars; ++bar) {
        const double t0 = bar_start(bar);
        const bool fill = bar == kBars - 1;
        for (double beat : {0.0, 2.0, 2.5}) {
            if (beat == 2.5 && bar % 2 == 0) continue;
            mix.add(t0 + beat * kBeat, 0.6, 0.9, 0, kick());
        }
        for (double beat : {1.0, 3.0}) mix.add(t0 + beat * kBeat, 0.4, 0.45, 0.1, snare(++seed));
        if (fill) {
            for (int i = 0; i < 6; ++i)
                mix.add(t0 + (2.5 + i * 0.25) * kBeat, 0.4, 0.2 + 0.05 * i, -0.3 + 0.12 * i, snare(++seed));
        }
        for (int eighth = 0; eighth < 8; ++eighth) {
            const bool open = eighth == 7 && bar % 4 == 3;
            mix.add(t0 + eighth * 0.5 * kBeat, open ? 0.5 : 0.12, eighth % 2 ? 0.12 : 0.18, 0.35,
                    hat(++seed, open ? 0.16 : 0.025));
        }
    }
}

void bassline(LoopMix& mix) {
    const int pattern[8] = {0, 0, 12, 0, 7, 0, 12, 10};
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& chord = kChords[bar % 4];
        for (int eighth = 0; eighth < 8; ++eighth) {
            const int step = (bar % 4 == 3 && eighth >= 6) ? pattern[eighth] - 5 : pattern[eighth];
            const double length = 0.5 * kBeat * 0.9;
            mix.add(bar_start(bar) + eighth * 0.5 * kBeat, length, 0.45, 0,
                    bass(note_hz(chord.root + step), length));
        }
    }
}

void arpeggio(LoopMix& mix) {
    const int order[8] = {0, 1, 2, 3, 2, 1, 0, 1};
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& chord = kChords[bar % 4];
        for (int sixteenth = 0; sixteenth < 16; ++sixteenth) {
            const int index = order[sixteenth % 8];
            const int midi = index == 3 ? chord.tones[0] + 12 : chord.tones[index];
            const double pan = (sixteenth % 2) ? 0.45 : -0.45;
            mix.add(bar_start(bar) + sixteenth * 0.25 * kBeat, 0.5, 0.16, pan, pluck(note_hz(midi)));
        }
    }
}

// Moves a note of A minor `steps` degrees down its scale (a third is 2).
int scale_step_down(int midi, int steps) {
    const auto in_key = [](int note) {
        const int pc = note % 12;
        return pc == 9 || pc == 11 || pc == 0 || pc == 2 || pc == 4 || pc == 5 || pc == 7;
    };
    while (steps > 0) {
        --midi;
        if (in_key(midi)) --steps;
    }
    return midi;
}

void melody(LoopMix& mix, int first_bar, int degrees_down, double gain, double pan) {
    for (const Note& note : kMelody) {
        const double length = note.length * kBeat * 0.92;
        mix.add(bar_start(first_bar) + note.beat * kBeat, length + 0.06, gain, pan,
                lead(note_hz(scale_step_down(note.midi, degrees_down)), length));
    }
}

void pads(LoopMix& mix, int first_bar, int bars) {
    for (int bar = first_bar; bar < first_bar + bars; ++bar) {
        for (int tone : kChords[bar % 4].tones) {
            const double length = 4 * kBeat;
            mix.add(bar_start(bar), length + 0.6, 0.06, (tone % 3 - 1) * 0.5, pad(note_hz(tone - 12), length));
        }
    }
}

}  // namespace

Samples make_tune() {
    LoopMix mix;
    drums(mix);
    bassline(mix);
    arpeggio(mix);
    melody(mix, 8, 0, 0.3, -0.1);
    melody(mix, 16, 0, 0.28, -0.15);
    melody(mix, 16, 2, 0.16, 0.25);  // the harmony, a third below
    pads(mix, 16, 8);
    mix.echo(0.375, 0.22);
    return mix.interleaved(0.85);
}

}  // namespace assetgen
