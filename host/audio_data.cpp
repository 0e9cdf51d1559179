// Sound file decoding: the host's LoadAudioData, our own RIFF/WAVE reader and
// the Ogg Vorbis decoder.
#include "host/audio_data.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "host/kzglfwgame.h"
#include "host/stb_vorbis_blocks.h"
#include "host/vorbis_comments.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace {

using Decoder = unsigned char* (*)(std::FILE*, int*, int*, int*, int*);

constexpr std::uint16_t kPcmFormatTag = 1;
// The format chunk's fields we read; larger chunks carry extra bytes we skip.
constexpr std::uint32_t kFormatFieldsSize = 16;
// Ogg decoding keeps at least this many frames of room for each decode call:
// no Vorbis packet yields more.
constexpr int kOggFramesPerCall = 4096;
// Sample data is counted and uploaded with int sizes.
constexpr long kMaxDataBytes = INT_MAX;

bool EndsWithIgnoringCase(const std::string& text, const char* suffix) {
    const size_t n = std::strlen(suffix);
    if (text.size() < n) return false;
    const size_t start = text.size() - n;
    for (size_t i = 0; i < n; ++i) {
        char c = text[start + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

struct SoundFormat {
    Decoder decode;
    const char* failure;  // told when the decoder rejects the file
};

SoundFormat FormatOf(const std::string& path) {
    if (EndsWithIgnoringCase(path, ".wav")) return {LoadWAV, "not a PCM WAV file"};
    if (EndsWithIgnoringCase(path, ".ogg")) return {LoadOGG, "not an Ogg Vorbis file"};
    return {nullptr, "neither a .wav nor an .ogg file"};
}

bool ReadTag(std::FILE* file, char tag[4]) { return std::fread(tag, 1, 4, file) == 4; }

bool TagIs(const char tag[4], const char* name) { return std::memcmp(tag, name, 4) == 0; }

bool ReadExpectedTag(std::FILE* file, const char* name) {
    char tag[4];
    return ReadTag(file, tag) && TagIs(tag, name);
}

bool ReadU16(std::FILE* file, std::uint16_t* value) {
    unsigned char bytes[2];
    if (std::fread(bytes, 1, 2, file) != 2) return false;
    *value = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
    return true;
}

bool ReadU32(std::FILE* file, std::uint32_t* value) {
    unsigned char bytes[4];
    if (std::fread(bytes, 1, 4, file) != 4) return false;
    *value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
             static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return true;
}

// Whether the file still holds `size` bytes past the current position; false
// too when the file cannot tell (it is not seekable).
bool FileHolds(std::FILE* file, std::uint32_t size) {
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return false;
    const long end = std::ftell(file);
    return std::fseek(file, here, SEEK_SET) == 0 && end - here >= 0 &&
           size <= static_cast<unsigned long>(end - here);
}

// Moves past `size` bytes, which must all be in the file.
bool SkipBytes(std::FILE* file, std::uint32_t size) {
    return FileHolds(file, size) && std::fseek(file, static_cast<long>(size), SEEK_CUR) == 0;
}

struct WavFormat {
    std::uint16_t tag = 0;
    std::uint16_t channels = 0;
    std::uint32_t hertz = 0;
    std::uint16_t bits = 0;
};

// The format chunk, which must follow the RIFF header directly.
bool ReadFormatChunk(std::FILE* file, WavFormat* format) {
    std::uint32_t size = 0, byte_rate = 0;
    std::uint16_t block_align = 0;
    if (!ReadExpectedTag(file, "fmt ") || !ReadU32(file, &size) || size < kFormatFieldsSize) return false;
    return ReadU16(file, &format->tag) && ReadU16(file, &format->channels) &&
           ReadU32(file, &format->hertz) && ReadU32(file, &byte_rate) && ReadU16(file, &block_align) &&
           ReadU16(file, &format->bits) && SkipBytes(file, size - kFormatFieldsSize);
}

// Skips chunks up to the first "data" chunk and reads its bytes whole. A
// chunk that claims more bytes than the file still holds ends the search, so
// nothing larger than the file is ever allocated.
unsigned char* ReadDataChunk(std::FILE* file, std::uint32_t* size) {
    for (;;) {
        char tag[4];
        if (!ReadTag(file, tag) || !ReadU32(file, size)) return nullptr;
        if (!TagIs(tag, "data")) {
            if (!SkipBytes(file, *size)) return nullptr;
            continue;
        }
        if (!FileHolds(file, *size) || *size > kMaxDataBytes) return nullptr;
        auto* data = static_cast<unsigned char*>(std::malloc(std::max<std::uint32_t>(*size, 1)));
        if (data && std::fread(data, 1, *size, file) == *size) return data;
        std::free(data);
        return nullptr;
    }
}

// The Ogg stream decoded whole into a buffer of interleaved 16-bit samples
// that grows by doubling; null when it would outgrow an int byte count.
short* DecodeVorbis(stb_vorbis* decoder, int channels, long* used) {
    const long room_per_call = static_cast<long>(channels) * kOggFramesPerCall;
    const long max_samples = kMaxDataBytes / 2;
    long capacity = room_per_call;
    auto* samples = static_cast<short*>(std::malloc(capacity * sizeof(short)));
    *used = 0;
    while (samples) {
        const int frames = stb_vorbis_get_frame_short_interleaved(
            decoder, channels, samples + *used, static_cast<int>(capacity - *used));
        if (frames == 0) return samples;
        *used += static_cast<long>(frames) * channels;
        if (capacity - *used >= room_per_call) continue;
        if (capacity * 2 > max_samples) break;
        capacity *= 2;
        auto* grown = static_cast<short*>(std::realloc(samples, capacity * sizeof(short)));
        if (!grown) break;
        samples = grown;
    }
    std::free(samples);
    return nullptr;
}

}  // namespace

unsigned char* LoadWAV(std::FILE* file, int* length, int* channels, int* format, int* hertz) {
    WavFormat wav;
    if (!ReadExpectedTag(file, "RIFF") || !SkipBytes(file, 4) || !ReadExpectedTag(file, "WAVE") ||
        !ReadFormatChunk(file, &wav) || wav.tag != kPcmFormatTag) {
        return nullptr;
    }
    // Without whole bytes per frame the sample count would be a division by 0.
    const int bytes_per_sample = wav.bits >> 3;
    if (wav.channels == 0 || bytes_per_sample == 0) return nullptr;

    std::uint32_t size = 0;
    unsigned char* data = ReadDataChunk(file, &size);
    if (!data) return nullptr;
    *length = static_cast<int>(size / (wav.channels * bytes_per_sample));
    *channels = wav.channels;
    *format = bytes_per_sample;
    *hertz = static_cast<int>(wav.hertz);
    return data;
}

unsigned char* LoadOGG(std::FILE* file, int* length, int* channels, int* format, int* hertz) {
    // The decoder's memory is one list for the whole program, so streams are
    // decoded one at a time, whichever thread asks.
    static std::mutex oneStream;
    const std::lock_guard<std::mutex> lock(oneStream);
    int error = 0;
    stb_vorbis* decoder = VorbisCommentsFit(file) ? stb_vorbis_open_file(file, 0, &error, nullptr) : nullptr;
    stb_vorbis_info info{};
    long used = 0;
    short* samples = nullptr;
    if (decoder) {
        info = stb_vorbis_get_info(decoder);
        if (info.channels > 0) samples = DecodeVorbis(decoder, info.channels, &used);
        stb_vorbis_close(decoder);
    }
    vorbis_free_leftover_blocks();
    // A stream that yields no frames at all (cut short in its first pages)
    // is not a sound.
    if (samples && used == 0) std::free(samples);
    if (!samples || used == 0) return nullptr;
    // A failed shrink leaves the larger buffer, which is still valid.
    if (auto* exact = static_cast<short*>(std::realloc(samples, used * sizeof(short)))) samples = exact;
    *length = static_cast<int>(used / info.channels);
    *channels = info.channels;
    *format = 2;
    *hertz = static_cast<int>(info.sample_rate);
    return reinterpret_cast<unsigned char*>(samples);
}

DecodedSound DecodeSoundFile(const std::string& file) {
    DecodedSound sound;
    const Decoder decode = FormatOf(file).decode;
    std::FILE* stream = decode ? std::fopen(file.c_str(), "rb") : nullptr;
    if (!stream) return sound;
    sound.data = decode(stream, &sound.length, &sound.channels, &sound.format, &sound.hertz);
    std::fclose(stream);
    return sound;
}

void KzGlfwGame::DecodeSoundsAhead(Array<String> paths) { _sounds.Queue(FileSystemNames(paths)); }

// A queued sound that could not be decoded is read again here, so that its
// failure is told exactly as for any other file.
unsigned char* KzGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format,
                                         int* hertz) {
    std::string queued;
    DecodedSound ahead;
    if (FileSystemName(path, &queued) && _sounds.Take(queued, &ahead)) {
        *length = ahead.length;
        *channels = ahead.channels;
        *format = ahead.format;
        *hertz = ahead.hertz;
        gc_ext_malloced(*length * *channels * *format);
        return ahead.data;
    }
    std::string text;
    path.AppendUtf8(text);
    const SoundFormat sound = FormatOf(text);
    if (!sound.decode) {
        TellUnreadable(path, sound.failure);
        return nullptr;
    }
    std::FILE* file = OpenForReading(path, true);
    if (!file) return nullptr;
    unsigned char* data = sound.decode(file, length, channels, format, hertz);
    std::fclose(file);
    if (!data) {
        TellUnreadable(path, sound.failure);
        return nullptr;
    }
    gc_ext_malloced(*length * *channels * *format);
    return data;
}
