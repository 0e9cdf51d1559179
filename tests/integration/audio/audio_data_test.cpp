// Decoding sound files from disk: the WAV reader on well-formed, odd and
// damaged files, Ogg Vorbis made by oggenc, and the choice of decoder by
// extension.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <optional>

#include "host/kzglfwgame.h"
#include "tests/support/audio_fixtures.h"

using namespace audio_fixtures;

// The largest single malloc request since the last reset: this program links
// with malloc wrapped so the tests can see what the decoders ask for.
std::atomic<size_t> g_largest_malloc{0};
extern "C" void* __real_malloc(size_t size);
extern "C" void* __wrap_malloc(size_t size) {
    size_t seen = g_largest_malloc.load();
    while (size > seen && !g_largest_malloc.compare_exchange_weak(seen, size)) {
    }
    return __real_malloc(size);
}

namespace {

struct Decoded {
    int length = 0, channels = 0, format = 0, hertz = 0;
    Bytes data;
    size_t allocated = 0;  // usable size of the returned buffer
};

class AudioDataTest : public ::testing::Test {
protected:
    std::optional<Decoded> Load(const std::string& path) {
        Decoded out;
        unsigned char* data = game_.LoadAudioData(String(path.c_str()), &out.length, &out.channels,
                                                  &out.format, &out.hertz);
        if (!data) return std::nullopt;
        out.data.assign(data, data + static_cast<size_t>(out.length) * out.channels * out.format);
        out.allocated = malloc_usable_size(data);
        std::free(data);
        return out;
    }

    std::optional<Decoded> LoadBytes(const std::string& name, const Bytes& bytes) {
        EXPECT_TRUE(WriteFileBytes(dir_.File(name), bytes));
        return Load(dir_.File(name));
    }

    // An Ogg of a 440 Hz tone, encoded by oggenc with the given comments.
    std::string MakeOgg(const std::string& name, int channels, int frames, int hertz,
                        const std::vector<std::string>& comments = {}) {
        WavShape shape;
        shape.channels = static_cast<std::uint16_t>(channels);
        shape.hertz = static_cast<std::uint32_t>(hertz);
        shape.data = Tone16(440.0, frames, channels, hertz);
        const std::string wav = dir_.File(name + ".wav"), ogg = dir_.File(name + ".ogg");
        EXPECT_TRUE(WriteFileBytes(wav, WavBytes(shape)));
        EXPECT_TRUE(EncodeOgg(wav, ogg, comments)) << "oggenc failed";
        return ogg;
    }

    ScratchDir dir_;
    KzGlfwGame game_;
};

WavShape ShapeOf(std::uint16_t channels, std::uint16_t bits, std::uint32_t hertz, size_t data_bytes) {
    WavShape shape;
    shape.channels = channels;
    shape.bits = bits;
    shape.hertz = hertz;
    for (size_t i = 0; i < data_bytes; ++i) shape.data.push_back(static_cast<unsigned char>(i * 7 + 3));
    return shape;
}

Bytes Wav(std::uint16_t channels, std::uint16_t bits, std::uint32_t hertz, size_t data_bytes) {
    return WavBytes(ShapeOf(channels, bits, hertz, data_bytes));
}

// Stereo 16-bit at 44.1 kHz, 100 frames, with one field changed.
template <class T, class V>
Bytes Plain(T WavShape::*field, V value) {
    WavShape shape = ShapeOf(2, 16, 44100, 400);
    shape.*field = static_cast<T>(value);
    shape.claim_data_size = shape.claimed_data_size != 0;
    return WavBytes(shape);
}

Bytes Chunk(const char* tag, size_t body_size) {
    Bytes out;
    PutChunk(out, tag, Bytes(body_size, 0x5A));
    return out;
}

TEST_F(AudioDataTest, WavFilesDecodeToTheirHeaderAndSamplesOrAreRejectedWhenOddOrDamaged) {
    const Bytes good = Wav(2, 16, 44100, 400);
    auto Tagged = [&](size_t offset, const char* tag) {
        Bytes b = good;
        std::copy(tag, tag + 4, b.begin() + static_cast<long>(offset));
        return b;
    };
    const struct {
        const char* name;
        Bytes file;
        bool readable;
        int length = 0, channels = 0, format = 0, hertz = 0;
    } cases[] = {
        {"8-bit mono", Wav(1, 8, 22050, 100), true, 100, 1, 1, 22050},
        {"8-bit stereo", Wav(2, 8, 11025, 100), true, 50, 2, 1, 11025},
        {"16-bit mono", Wav(1, 16, 44100, 100), true, 50, 1, 2, 44100},
        {"16-bit stereo", Wav(2, 16, 44100, 44100), true, 11025, 2, 2, 44100},
        {"partial last frame ignored", Wav(2, 16, 8000, 10), true, 2, 2, 2, 8000},
        {"empty data chunk", Wav(1, 16, 8000, 0), true, 0, 1, 2, 8000},
        {"18-byte format chunk", Plain(&WavShape::format_chunk_size, 18), true, 100, 2, 2, 44100},
        {"LIST chunk before data", Plain(&WavShape::chunks_before_data, Chunk("LIST", 26)), true, 100, 2, 2, 44100},
        {"odd-sized chunk, no fill", Plain(&WavShape::chunks_before_data, Chunk("junk", 3)), true, 100, 2, 2, 44100},
        {"format tag 3", Plain(&WavShape::format_tag, 3), false},
        {"0 channels", Plain(&WavShape::channels, 0), false},
        {"4 bits per sample", Plain(&WavShape::bits, 4), false},
        {"format chunk shorter than its fields", Plain(&WavShape::format_chunk_size, 14), false},
        {"data chunk one byte longer than the file", Plain(&WavShape::claimed_data_size, 401), false},
        {"data chunk claiming 0xFFFFFFF0 bytes", Plain(&WavShape::claimed_data_size, 0xFFFFFFF0u), false},
        {"chunk before data claiming 0xFFFFFFF0 bytes",
         Plain(&WavShape::chunks_before_data, Bytes{'L', 'I', 'S', 'T', 0xF0, 0xFF, 0xFF, 0xFF}), false},
        {"empty file", {}, false},
        {"not RIFF", Tagged(0, "RIFX"), false},
        {"not WAVE", Tagged(8, "AVI "), false},
        {"format chunk not first", Tagged(12, "LIST"), false},
        {"no data chunk", Tagged(36, "fact"), false},
        {"cut inside the format chunk", Bytes(good.begin(), good.begin() + 30), false},
        {"cut inside a chunk header", Bytes(good.begin(), good.begin() + 42), false},
        {"cut inside the samples", Bytes(good.begin(), good.end() - 1), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_largest_malloc = 0;
        const int counted_before = gc_ext_new_bytes.load();
        const std::optional<Decoded> decoded = LoadBytes("case.wav", c.file);
        // Whatever the headers claim, nothing much larger than the file is
        // asked for (the slack is the path's own small strings).
        EXPECT_LE(g_largest_malloc.load(), c.file.size() + 1024);
        ASSERT_EQ(decoded.has_value(), c.readable);
        EXPECT_EQ(gc_ext_new_bytes.load() - counted_before, decoded ? int(decoded->data.size()) : 0)
            << "the decoded bytes count for the collector";
        if (!c.readable) continue;
        EXPECT_EQ(std::vector<int>({decoded->length, decoded->channels, decoded->format, decoded->hertz}),
                  std::vector<int>({c.length, c.channels, c.format, c.hertz}));
        EXPECT_NE(std::search(c.file.begin(), c.file.end(), decoded->data.begin(), decoded->data.end()),
                  c.file.end()) << "the samples as written";
    }
}

TEST_F(AudioDataTest, OggDecodesToExact16BitInterleavedFrames) {
    const struct { int channels, frames, hertz; } cases[] = {{2, 10000, 44100}, {1, 7000, 22050}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels");
        const std::string path = MakeOgg("tone" + std::to_string(c.channels), c.channels, c.frames, c.hertz);
        const int before = gc_ext_new_bytes.load();
        const std::optional<Decoded> decoded = Load(path);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(std::vector<int>({decoded->length, decoded->channels, decoded->format, decoded->hertz}),
                  std::vector<int>({c.frames, c.channels, 2, c.hertz}));
        const size_t bytes = static_cast<size_t>(c.frames) * c.channels * 2;
        EXPECT_EQ(decoded->data.size(), bytes);
        EXPECT_EQ(static_cast<size_t>(gc_ext_new_bytes.load() - before), bytes);
        EXPECT_LT(decoded->allocated, bytes + 64) << "shrunk to the decoded size";
    }
}

TEST_F(AudioDataTest, DamagedOggGivesNullOrAPrefixWithoutCrashing) {
    const int frames = 5 * 44100;
    const Bytes good = ReadFileBytes(MakeOgg("tone", 2, frames, 44100));
    ASSERT_GT(good.size(), 4000u);
    EXPECT_FALSE(LoadBytes("empty.ogg", {}).has_value());
    EXPECT_FALSE(LoadBytes("headers.ogg", Bytes(good.begin(), good.begin() + 100)).has_value()) << "cut in the headers";

    const std::optional<Decoded> half = LoadBytes("half.ogg", Bytes(good.begin(), good.begin() + good.size() / 2));
    ASSERT_TRUE(half.has_value()) << "the frames before the cut";
    EXPECT_GT(half->length, frames / 4);
    EXPECT_LT(half->length, frames * 3 / 4);

    Bytes scrambled = good;
    for (size_t i = scrambled.size() / 2; i < scrambled.size(); i += 7) scrambled[i] ^= 0xA5;
    const std::optional<Decoded> decoded = LoadBytes("scrambled.ogg", scrambled);
    EXPECT_LE(decoded ? decoded->length : 0, frames) << "never more frames than the whole tune";
}

TEST_F(AudioDataTest, OggCommentsOfAnyLengthAreReadButLengthsPastTheHeaderAreRejected) {
    // The long comment spreads the comment header over several pages.
    const std::string long_comment = "DESCRIPTION=" + std::string(100000, 'x');
    const std::optional<Decoded> commented = Load(MakeOgg("long", 2, 2000, 22050, {"TITLE=G", long_comment, "EMPTY="}));
    ASSERT_TRUE(commented.has_value());
    EXPECT_EQ(commented->length, 2000);

    const Bytes good = ReadFileBytes(MakeOgg("short", 2, 2000, 22050, {"TITLE=Grounded"}));
    const char comment_header[] = "\x03vorbis";
    const size_t header =
        static_cast<size_t>(std::search(good.begin(), good.end(), comment_header, comment_header + 7) - good.begin());
    ASSERT_LT(header, good.size());
    const size_t vendor_length = header + 7;
    const size_t comment_count = vendor_length + 4 + good[vendor_length];
    const struct { const char* name; size_t offset; std::uint32_t value; } claims[] = {
        {"vendor length", vendor_length, 0x7FFFFFF0},
        {"comment count", comment_count, 0x3FFFFFFF},
        {"comment count one too many", comment_count, 2},
        {"first comment length", comment_count + 4, 0x7FFFFFF0},
    };
    ASSERT_TRUE(LoadBytes("good.ogg", good).has_value());
    for (const auto& c : claims) {
        SCOPED_TRACE(c.name);
        Bytes bytes = good;
        for (int i = 0; i < 4; ++i) bytes[c.offset + i] = static_cast<unsigned char>(c.value >> (8 * i));
        g_largest_malloc = 0;
        EXPECT_FALSE(LoadBytes("claims.ogg", bytes).has_value());
        EXPECT_LE(g_largest_malloc.load(), size_t{16} << 20);
    }
}

}  // namespace
