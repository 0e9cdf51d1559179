// The sound effects, each shaped for the moment it plays in.
#include "sounds.h"

#include "game/ids.h"

#include <functional>

namespace assetgen {
namespace {

constexpr double kDt = 1.0 / kEffectRate;

Samples render(double seconds, const std::function<double(double)>& voice) {
    Samples out(size_t(seconds * kEffectRate));
    for (size_t i = 0; i < out.size(); ++i) out[i] = float(voice(double(i) * kDt));
    return out;
}

// Cries of a walker that is hit (ids 2-6): a buzzy voice through two vowel
// formants with a yelp-shaped pitch bend; five vowels and contours.
Samples cry(int variant) {
    struct Voice {
        double f1, f2;          // formant centres, Hz
        double pitch;           // starting pitch, Hz
        double rise, fall;      // yelp: fractional rise, then fall
        double length;          // seconds
    };
    const Voice voices[5] = {
        {800, 1250, 520, 0.35, 0.55, 0.34},  // "ah"
        {520, 950, 600, 0.20, 0.60, 0.30},   // "oh"
        {620, 1850, 470, 0.45, 0.50, 0.40},  // "eh"
        {330, 2300, 680, 0.25, 0.45, 0.28},  // "ee"
        {380, 820, 560, 0.50, 0.65, 0.36},   // "oo"
    };
    const Voice v = voices[variant];
    Svf formant1, formant2;
    formant1.set(v.f1, 6, kEffectRate);
    formant2.set(v.f2, 8, kEffectRate);
    double phase = 0;
    Noise breath(101 + variant);
    Samples out = render(v.length, [&](double t) {
        const double x = t / v.length;
        const double bend = x < 0.2 ? 1 + v.rise * (x / 0.2) : (1 + v.rise) * (1 - v.fall * (x - 0.2) / 0.8);
        const double vibrato = 1 + 0.03 * std::sin(kTau * 11 * t);
        phase += v.pitch * bend * vibrato * kDt;
        const double source = saw(phase) + 0.15 * breath.next();
        formant1.process(source);
        formant2.process(source);
        const double env = std::min(1.0, t / 0.012) * std::pow(1 - x, 1.5);
        return (formant1.band() + 0.6 * formant2.band()) * env;
    });
    normalise(out, 0.8);
    return out;
}

// The turret's shot (7): a short laser "pew" with a click of noise.
Samples shot() {
    Noise noise(7);
    double phase = 0;
    const double length = 0.16;
    Samples out = render(length, [&](double t) {
        const double freq = 300 + 1300 * std::exp(-t / 0.035);
        phase += freq * kDt;
        // Triangle and sine rather than a square: at this pitch a square's
        // upper harmonics would fold back as a metallic whine.
        const double tone = 0.6 * triangle(phase) + 0.4 * sine(2 * phase);
        const double click = noise.next() * std::exp(-t / 0.008);
        return (tone * std::exp(-t / 0.05) + 0.5 * click) * tail_env(t, length, 0.02);
    });
    normalise(out, 0.7);
    return out;
}

// A tone that rings like a small bell: inharmonic partials decaying at
// different speeds.
double bell(double t, double freq, double decay) {
    if (t < 0) return 0;
    const double ratios[4] = {1.0, 2.0, 3.01, 4.2};
    const double gains[4] = {1.0, 0.5, 0.25, 0.12};
    double sum = 0;
    for (int k = 0; k < 4; ++k)
        sum += gains[k] * sine(freq * ratios[k] * t) * std::exp(-t * (1 + k) / decay);
    return sum * std::min(1.0, t / 0.003);
}

// The level appearing (8): walkers beaming in, a rising shimmer of bell
// notes over a swept noise, with a fast tremolo.
Samples beam_in() {
    const double notes[] = {72, 76, 79, 84, 88, 91};
    Noise noise(8);
    Svf sweep;
    const double length = 1.4;
    Samples out = render(length, [&](double t) {
        double sum = 0;
        for (int i = 0; i < 6; ++i) sum += 0.4 * bell(t - i * 0.09, note_hz(notes[i]), 0.35);
        sweep.set(400 + 3000 * (t / length), 4, kEffectRate);
        sweep.process(noise.next());
        const double tremolo = 0.75 + 0.25 * std::sin(kTau * 18 * t);
        return (sum + 0.5 * sweep.band() * std::sin(M_PI * t / length)) * tremolo * tail_env(t, length, 0.3);
    });
    normalise(out, 0.75);
    return out;
}

// The ship lifting off (9): a rumble that opens up as the engine climbs.
Samples lift_off() {
    Noise noise(9);
    Svf rumble;
    double phase = 0;
    const double length = 2.2;
    Samples out = render(length, [&](double t) {
        const double x = t / length;
        rumble.set(150 + 1600 * x * x, 1.2, kEffectRate);
        rumble.process(noise.next());
        phase += (55 + 180 * x * x) * kDt;
        const double engine = 0.35 * triangle(phase) + 0.15 * saw(phase * 2);
        const double swell = std::min(1.0, t / 0.3);
        return (rumble.low() * 1.4 + engine) * swell * tail_env(t, length, 0.8);
    });
    normalise(out, 0.8);
    return out;
}

// Boarding chimes (11-15): one bell note per walker that reaches the ship,
// rising through a pentatonic scale.
Samples chime(int step) {
    const double notes[5] = {76, 79, 81, 84, 88};
    const double length = 0.8;
    Samples out = render(length, [&](double t) {
        return bell(t, note_hz(notes[step]), 0.22) * tail_env(t, length, 0.2);
    });
    normalise(out, 0.7);
    return out;
}

// The logo jingle (96): a bright rising arpeggio resolving on a chord.
Samples jingle() {
    const double arpeggio[] = {72, 76, 79, 84};
    const double chord[] = {72, 76, 79, 84, 88};
    const double length = 2.0;
    Samples out = render(length, [&](double t) {
        double sum = 0;
        for (int i = 0; i < 4; ++i) {
            const double start = i * 0.11;
            const double local = t - start;
            if (local < 0) continue;
            sum += 0.35 * square(note_hz(arpeggio[i]) * local, 0.25) * pluck_env(local, 0.004, 0.09);
            sum += 0.5 * bell(local, note_hz(arpeggio[i] + 12), 0.15);
        }
        const double hold = t - 0.48;
        for (double note : chord) sum += 0.35 * bell(hold, note_hz(note), 0.45);
        return sum * tail_env(t, length, 0.6);
    });
    normalise(out, 0.75);
    return out;
}

// Two quick tones: up for confirm (98), down for back (95).
Samples two_tone(double first, double second, double each) {
    const double length = each * 2 + 0.06;
    Samples out = render(length, [&](double t) {
        const double note = t < each ? first : second;
        const double local = t < each ? t : t - each;
        const double f = note_hz(note);
        return (0.6 * triangle(f * t) + 0.25 * square(f * t, 0.125)) * pluck_env(local, 0.003, 0.05) *
               tail_env(t, length, 0.03);
    });
    normalise(out, 0.6);
    return out;
}

// The menu step (99): a tiny tick.
Samples tick() {
    Noise noise(99);
    const double length = 0.06;
    Samples out = render(length, [&](double t) {
        return (0.7 * sine(1650 * t) + 0.3 * noise.next()) * std::exp(-t / 0.012) * tail_env(t, length, 0.01);
    });
    normalise(out, 0.55);
    return out;
}

// A notification ding (1): two bell notes a fourth apart.
Samples ding() {
    const double length = 0.9;
    Samples out = render(length, [&](double t) {
        return (bell(t, note_hz(88), 0.2) + bell(t - 0.09, note_hz(93), 0.3)) * tail_env(t, length, 0.2);
    });
    normalise(out, 0.6);
    return out;
}

}  // namespace

std::vector<SoundEffect> make_sound_effects() {
    std::vector<SoundEffect> effects;
    effects.push_back({sound_id::kDing, ding()});
    for (int id = sound_id::kFirstCry; id <= sound_id::kLastCry; ++id)
        effects.push_back({id, cry(id - sound_id::kFirstCry)});
    effects.push_back({sound_id::kShot, shot()});
    effects.push_back({sound_id::kLevelStart, beam_in()});
    effects.push_back({sound_id::kLiftOff, lift_off()});
    for (int id = sound_id::kFirstBoarding; id <= sound_id::kLastBoarding; ++id)
        effects.push_back({id, chime(id - sound_id::kFirstBoarding)});
    effects.push_back({sound_id::kFallingTone, two_tone(79, 72, 0.06)});
    effects.push_back({sound_id::kJingle, jingle()});
    effects.push_back({sound_id::kSelect, two_tone(81, 88, 0.05)});
    effects.push_back({sound_id::kTick, tick()});
    return effects;
}

}  // namespace assetgen
