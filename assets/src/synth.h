// Small, deterministic synthesis building blocks shared by the sound
// effects and the tune: oscillators, a seeded noise source, envelopes,
// filters and note tables.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace assetgen {

using Samples = std::vector<float>;

constexpr double kTau = 2 * M_PI;

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
inline double note_hz(double midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// Oscillators take a phase in cycles (any real number).
inline double sine(double phase) { return std::sin(kTau * phase); }
inline double saw(double phase) { return 2 * (phase - std::floor(phase)) - 1; }
// A pulse wave with its average removed, so narrow pulses carry no DC
// offset (which would thump as notes start and stop).
inline double square(double phase, double duty = 0.5) {
    return ((phase - std::floor(phase)) < duty ? 1.0 : -1.0) - (2 * duty - 1);
}
inline double triangle(double phase) {
    const double p = phase - std::floor(phase);
    return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
}

// White noise from a fixed seed, so every run gives the same sound.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1) {}
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ / 2147483647.5 - 1.0;
    }

private:
    uint32_t state_;
};

// Attack-decay envelope: rises linearly over `attack` seconds, then falls
// exponentially with time constant `decay`; 0 before t = 0.
inline double pluck_env(double t, double attack, double decay) {
    if (t < 0) return 0;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

// Linear fade-out that ends at `length`; used to end every effect on silence.
inline double tail_env(double t, double length, double fade) {
    if (t >= length) return 0;
    return std::min(1.0, (length - t) / fade);
}

// Two-pole state-variable filter (Chamberlin), with band-pass and low-pass taps.
class Svf {
public:
    void set(double cutoff_hz, double q, double rate) {
        f_ = 2 * std::sin(M_PI * std::min(cutoff_hz, rate * 0.2) / rate);
        damp_ = 1.0 / q;
    }
    void process(double in) {
        low_ += f_ * band_;
        const double high = in - low_ - damp_ * band_;
        band_ += f_ * high;
    }
    double low() const { return low_; }
    double band() const { return band_; }

private:
    double f_ = 0.1, damp_ = 1.0, low_ = 0, band_ = 0;
};

// One-pole low-pass, for smoothing noise into rumble.
class OnePole {
public:
    void set(double cutoff_hz, double rate) { a_ = 1 - std::exp(-kTau * cutoff_hz / rate); }
    double process(double in) { return y_ += a_ * (in - y_); }

private:
    double a_ = 0.1, y_ = 0;
};

// Scales the samples so the loudest one reaches `peak` (0..1).
void normalise(Samples& samples, double peak);

}  // namespace assetgen
