// Sound fixtures made at test time: WAV files built byte by byte (so tests
// can also write damaged ones), tones, Ogg files encoded with oggenc, and the
// OpenAL configuration.
#pragma once

#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"
#include "tests/support/wait_until.h"

namespace audio_fixtures {

using Bytes = std::vector<unsigned char>;

inline void PutU16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

inline void PutU32(Bytes& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

inline void PutTag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

inline void PutChunk(Bytes& out, const char* tag, const Bytes& body) {
    PutTag(out, tag);
    PutU32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

// The layout of a WAV file; every field can be set to something odd.
struct WavShape {
    std::uint16_t format_tag = 1;
    std::uint16_t channels = 1;
    std::uint32_t hertz = 44100;
    std::uint16_t bits = 16;
    std::uint32_t format_chunk_size = 16;  // bytes past 16 are written as zeros
    Bytes chunks_before_data;              // whole chunks, tags and sizes included
    Bytes data;
    bool claim_data_size = false;          // write `claimed_data_size` instead of the real size
    std::uint32_t claimed_data_size = 0;
};

inline Bytes WavBytes(const WavShape& shape) {
    Bytes format;
    PutU16(format, shape.format_tag);
    PutU16(format, shape.channels);
    PutU32(format, shape.hertz);
    const std::uint32_t block_align = shape.channels * (shape.bits / 8u);
    PutU32(format, shape.hertz * block_align);
    PutU16(format, block_align);
    PutU16(format, shape.bits);
    format.resize(shape.format_chunk_size < 16 ? 16 : shape.format_chunk_size, 0);

    Bytes out;
    PutTag(out, "RIFF");
    PutU32(out, 0);  // patched below
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, shape.format_chunk_size);
    out.insert(out.end(), format.begin(), format.end());
    out.insert(out.end(), shape.chunks_before_data.begin(), shape.chunks_before_data.end());
    PutTag(out, "data");
    PutU32(out, shape.claim_data_size ? shape.claimed_data_size : static_cast<std::uint32_t>(shape.data.size()));
    out.insert(out.end(), shape.data.begin(), shape.data.end());
    const std::uint32_t riff_size = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<unsigned char>(riff_size >> (8 * i));
    return out;
}

// A sine tone as 16-bit little-endian samples, the same on every channel.
inline Bytes Tone16(double frequency, int frames, int channels, int hertz, double amplitude = 0.5) {
    Bytes out;
    const double pi = std::acos(-1.0);
    for (int i = 0; i < frames; ++i) {
        const double v = amplitude * std::sin(2.0 * pi * frequency * i / hertz);
        const auto sample = static_cast<std::int16_t>(std::lround(v * 32767.0));
        for (int c = 0; c < channels; ++c) PutU16(out, static_cast<std::uint16_t>(sample));
    }
    return out;
}

// A mono 16-bit WAV of the tone, written to `path`.
inline bool WriteToneWav(const std::string& path, double frequency, int frames, int hertz = 44100) {
    WavShape shape;
    shape.hertz = static_cast<std::uint32_t>(hertz);
    shape.data = Tone16(frequency, frames, 1, hertz);
    return WriteFileBytes(path, WavBytes(shape));
}

// Encodes a WAV file to Ogg Vorbis with the system's oggenc, with the given
// "NAME=value" comments.
inline bool EncodeOgg(const std::string& wav_path, const std::string& ogg_path,
                      const std::vector<std::string>& comments = {}) {
    std::vector<std::string> args = {"oggenc", "-Q", "-o", ogg_path};
    for (const std::string& comment : comments) args.insert(args.end(), {"-c", comment});
    args.push_back(wav_path);
    return RunCommand(args).status == 0;
}

// Points OpenAL Soft at a configuration file holding `text`. It takes effect
// only if no device has been opened in this process yet.
inline bool UseOpenAlConfig(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
    return setenv("ALSOFT_CONF", path.c_str(), 1) == 0;
}

// OpenAL Soft on its null backend, plus any `settings` of its [general]
// section, for tests that need a device but no sound.
inline bool UseNullAudio(const std::string& settings = "") {
    static const ScratchDir config_dir;
    return UseOpenAlConfig(config_dir.File("alsoft.conf"), "[general]\ndrivers=null\n" + settings);
}

}  // namespace audio_fixtures
