// Decoding sound files from disk: the WAV reader on well-formed, odd and
// damaged files, Ogg Vorbis made by oggenc, and the choice of decoder by
// extension.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <optional>
#include <random>

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
    // Decodes through the host service; nothing when it returns null.
    std::optional<Decoded> Load(const std::string& path) {
        Decoded out;
        unsigned char* data = game_.LoadAudioData(String(path.c_str()), &out.length, &out.channels,
                                                  &out.format, &out.hertz);
        if (!data) return std::nullopt;
        const size_t size = static_cast<size_t>(out.length) * out.channels * out.format;
        out.data.assign(data, data + size);
        out.allocated = malloc_usable_size(data);
        std::free(data);
        return out;
    }

    std::optional<Decoded> LoadBytes(const std::string& name, const Bytes& bytes) {
        const std::string path = dir_.File(name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return Load(path);
    }

    std::string MakeOgg(const std::string& name, int channels, int frames, int hertz) {
        WavSpec spec;
        spec.channels = static_cast<std::uint16_t>(channels);
        spec.hertz = static_cast<std::uint32_t>(hertz);
        spec.data = Tone16(440.0, frames, channels, hertz);
        const std::string wav = dir_.File(name + ".wav");
        const std::string ogg = dir_.File(name + ".ogg");
        EXPECT_TRUE(WriteFileBytes(wav, WavBytes(spec)));
        EXPECT_TRUE(EncodeOgg(wav, ogg)) << "oggenc failed";
        return ogg;
    }

    ScratchDir dir_;
    KzGlfwGame game_;
};

Bytes Counting(size_t n) {
    Bytes bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    return bytes;
}

Bytes Chunk(const char* tag, size_t body_size) {
    Bytes out;
    PutChunk(out, tag, Bytes(body_size, 0x5A));
    return out;
}

Bytes ChunkHeaderClaiming(const char* tag, std::uint32_t size) {
    Bytes out;
    PutTag(out, tag);
    PutU32(out, size);
    return out;
}

struct WavCase {
    const char* name;
    WavSpec spec;
    bool readable;
    int length = 0, channels = 0, format = 0, hertz = 0;
};

WavSpec Spec(std::uint16_t channels, std::uint16_t bits, std::uint32_t hertz, size_t data_bytes) {
    WavSpec spec;
    spec.channels = channels;
    spec.bits = bits;
    spec.hertz = hertz;
    spec.data = Counting(data_bytes);
    return spec;
}

template <class Edit>
WavSpec Edited(WavSpec spec, Edit edit) {
    edit(spec);
    return spec;
}

const WavSpec kPlain = Spec(2, 16, 44100, 400);

const WavCase kWavCases[] = {
    {"8-bit mono", Spec(1, 8, 22050, 100), true, 100, 1, 1, 22050},
    {"8-bit stereo", Spec(2, 8, 11025, 100), true, 50, 2, 1, 11025},
    {"16-bit mono", Spec(1, 16, 44100, 100), true, 50, 1, 2, 44100},
    {"16-bit stereo, 44100 data bytes", Spec(2, 16, 44100, 44100), true, 11025, 2, 2, 44100},
    {"partial last frame ignored", Spec(2, 16, 8000, 10), true, 2, 2, 2, 8000},
    {"empty data chunk", Spec(1, 16, 8000, 0), true, 0, 1, 2, 8000},
    {"18-byte format chunk", Edited(kPlain, [](WavSpec& s) { s.format_chunk_size = 18; }), true, 100, 2, 2,
     44100},
    {"LIST chunk before data", Edited(kPlain, [](WavSpec& s) { s.chunks_before_data = Chunk("LIST", 26); }),
     true, 100, 2, 2, 44100},
    {"odd-sized chunk before data, no fill byte",
     Edited(kPlain, [](WavSpec& s) { s.chunks_before_data = Chunk("junk", 3); }), true, 100, 2, 2, 44100},
    {"format tag 3 (floating point)", Edited(kPlain, [](WavSpec& s) { s.format_tag = 3; }), false},
    {"0 channels", Edited(kPlain, [](WavSpec& s) { s.channels = 0; }), false},
    {"4 bits per sample", Edited(kPlain, [](WavSpec& s) { s.bits = 4; }), false},
    {"format chunk shorter than its fields", Edited(kPlain, [](WavSpec& s) { s.format_chunk_size = 14; }),
     false},
    {"data chunk one byte longer than the file",
     Edited(kPlain,
            [](WavSpec& s) {
                s.claim_data_size = true;
                s.claimed_data_size = 401;
            }),
     false},
    {"data chunk claiming 0xFFFFFFF0 bytes",
     Edited(kPlain,
            [](WavSpec& s) {
                s.claim_data_size = true;
                s.claimed_data_size = 0xFFFFFFF0u;
            }),
     false},
    {"chunk before data claiming 0xFFFFFFF0 bytes",
     Edited(kPlain, [](WavSpec& s) { s.chunks_before_data = ChunkHeaderClaiming("LIST", 0xFFFFFFF0u); }),
     false},
};

TEST_F(AudioDataTest, WavFilesDecodeToTheirHeaderAndSamples) {
    for (const WavCase& c : kWavCases) {
        SCOPED_TRACE(c.name);
        const Bytes file = WavBytes(c.spec);
        g_largest_malloc = 0;
        const std::optional<Decoded> decoded = LoadBytes("case.wav", file);
        // Whatever the headers claim, nothing much larger than the file is
        // asked for (the slack is the path's own small strings).
        EXPECT_LE(g_largest_malloc.load(), file.size() + 1024);
        ASSERT_EQ(decoded.has_value(), c.readable);
        if (!c.readable) continue;
        EXPECT_EQ(decoded->length, c.length);
        EXPECT_EQ(decoded->channels, c.channels);
        EXPECT_EQ(decoded->format, c.format);
        EXPECT_EQ(decoded->hertz, c.hertz);
        EXPECT_TRUE(std::equal(decoded->data.begin(), decoded->data.end(), c.spec.data.begin()));
    }
}

TEST_F(AudioDataTest, DamagedWavStructureIsRejected) {
    const Bytes good = WavBytes(kPlain);
    struct Damage {
        const char* name;
        Bytes bytes;
    };
    auto with = [&](size_t offset, const char* tag) {
        Bytes b = good;
        std::copy(tag, tag + 4, b.begin() + static_cast<long>(offset));
        return b;
    };
    const size_t data_tag_offset = 36;
    const Damage damages[] = {
        {"empty file", {}},
        {"not RIFF", with(0, "RIFX")},
        {"not WAVE", with(8, "AVI ")},
        {"format chunk not first", with(12, "LIST")},
        {"no data chunk", with(data_tag_offset, "fact")},
        {"cut inside the format chunk", Bytes(good.begin(), good.begin() + 30)},
        {"cut inside a chunk header", Bytes(good.begin(), good.begin() + data_tag_offset + 6)},
        {"cut inside the samples", Bytes(good.begin(), good.end() - 1)},
    };
    ASSERT_TRUE(LoadBytes("good.wav", good).has_value());
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.name);
        EXPECT_FALSE(LoadBytes("damaged.wav", d.bytes).has_value());
    }
}

TEST_F(AudioDataTest, OggCommentsOfAnyLengthAreRead) {
    const std::string wav = dir_.File("tone.wav");
    ASSERT_TRUE(WriteFileBytes(wav, WavBytes(Spec(2, 16, 22050, 8000))));
    const std::string ogg = dir_.File("commented.ogg");
    // The long comment spreads the comment header over several pages.
    ASSERT_TRUE(EncodeOgg(wav, ogg, {"TITLE=Grounded", "DESCRIPTION=" + std::string(100000, 'x'), "EMPTY="}));
    const std::optional<Decoded> decoded = Load(ogg);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->length, 2000);
}

// Lengths in the comment header that run past it: the decoder would try to
// allocate them (and, for the comment count, crash cleaning up after a
// failed allocation).
TEST_F(AudioDataTest, OggCommentHeaderClaimingMoreThanItHoldsIsRejected) {
    const std::string wav = dir_.File("tone.wav");
    ASSERT_TRUE(WriteFileBytes(wav, WavBytes(Spec(2, 16, 22050, 8000))));
    const std::string ogg = dir_.File("tone.ogg");
    ASSERT_TRUE(EncodeOgg(wav, ogg, {"TITLE=Grounded"}));
    const Bytes good = ReadFileBytes(ogg);
    const char comment_header[] = "\x03vorbis";
    const size_t header = static_cast<size_t>(
        std::search(good.begin(), good.end(), comment_header, comment_header + 7) - good.begin());
    ASSERT_LT(header, good.size());
    const size_t vendor_length = header + 7;
    const size_t comment_count = vendor_length + 4 + good[vendor_length];
    struct Claim {
        const char* name;
        size_t offset;
        std::uint32_t value;
    };
    const Claim claims[] = {
        {"vendor length", vendor_length, 0x7FFFFFF0},
        {"comment count", comment_count, 0x3FFFFFFF},
        {"comment count one too many", comment_count, 2},
        {"first comment length", comment_count + 4, 0x7FFFFFF0},
    };
    ASSERT_TRUE(LoadBytes("good.ogg", good).has_value());
    for (const Claim& c : claims) {
        SCOPED_TRACE(c.name);
        Bytes bytes = good;
        for (int i = 0; i < 4; ++i) bytes[c.offset + i] = static_cast<unsigned char>(c.value >> (8 * i));
        g_largest_malloc = 0;
        EXPECT_FALSE(LoadBytes("claims.ogg", bytes).has_value());
        EXPECT_LE(g_largest_malloc.load(), size_t{16} << 20);
    }
}

// Random damage to every part of a file: each load ends with a result or
// null, reads nothing outside the file (the sanitizer pass checks), and asks
// for no more memory than a WAV file of that size can fill.
TEST_F(AudioDataTest, RandomlyDamagedFilesNeverCrashOrOverAllocate) {
    WavSpec with_list = kPlain;
    with_list.chunks_before_data = Chunk("LIST", 10);
    const Bytes wav = WavBytes(with_list);
    const Bytes ogg = ReadFileBytes(MakeOgg("tone", 2, 4000, 22050));
    std::mt19937 random(20261206);
    for (int round = 0; round < 300; ++round) {
        for (const auto& [name, good] : {std::pair{"damaged.wav", &wav}, std::pair{"damaged.ogg", &ogg}}) {
            Bytes bytes = *good;
            const int flips = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < flips; ++i) bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
            bytes.resize(bytes.size() - random() % 16);
            SCOPED_TRACE(testing::Message() << name << " round " << round);
            g_largest_malloc = 0;
            const std::optional<Decoded> decoded = LoadBytes(name, bytes);
            if (std::string(name) == "damaged.wav") {
                EXPECT_LE(g_largest_malloc.load(), bytes.size() + 1024);
                EXPECT_LE(decoded ? decoded->data.size() : 0, bytes.size());
            }
        }
    }
}

TEST_F(AudioDataTest, DecoderIsChosenByExtensionIgnoringCase) {
    const Bytes wav = WavBytes(kPlain);
    struct Route {
        const char* name;
        bool readable;
    };
    const Route routes[] = {
        {"upper.WAV", true}, {"mixed.Wav", true}, {"sound.mp3", false},
        {"sound.wav.txt", false}, {"noextension", false}, {"wav", false},
        {"wave.ogg", false},  // WAV bytes handed to the Ogg decoder
    };
    for (const Route& r : routes) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(LoadBytes(r.name, wav).has_value(), r.readable);
    }
    EXPECT_FALSE(Load(dir_.File("missing.wav")).has_value());
    EXPECT_FALSE(Load(dir_.path()).has_value()) << "a directory named like nothing";
}

TEST_F(AudioDataTest, DecodedBytesAreCountedForTheCollector) {
    const int before = gc_ext_new_bytes.load();
    ASSERT_TRUE(LoadBytes("counted.wav", WavBytes(Spec(2, 16, 44100, 4000))).has_value());
    EXPECT_EQ(gc_ext_new_bytes.load() - before, 4000);
    const int after_good = gc_ext_new_bytes.load();
    EXPECT_FALSE(LoadBytes("bad.wav", WavBytes(Edited(kPlain, [](WavSpec& s) { s.format_tag = 3; }))));
    EXPECT_EQ(gc_ext_new_bytes.load(), after_good);
}

TEST_F(AudioDataTest, OggDecodesToExact16BitInterleavedFrames) {
    struct OggCase {
        int channels, frames, hertz;
    };
    for (const OggCase& c : {OggCase{2, 10000, 44100}, OggCase{1, 7000, 22050}}) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.frames << " frames");
        const std::string path = MakeOgg("tone" + std::to_string(c.channels), c.channels, c.frames, c.hertz);
        const int before = gc_ext_new_bytes.load();
        const std::optional<Decoded> decoded = Load(path);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->length, c.frames);
        EXPECT_EQ(decoded->channels, c.channels);
        EXPECT_EQ(decoded->format, 2);
        EXPECT_EQ(decoded->hertz, c.hertz);
        const size_t bytes = static_cast<size_t>(c.frames) * c.channels * 2;
        EXPECT_EQ(static_cast<size_t>(gc_ext_new_bytes.load() - before), bytes);
        // Shrunk to the decoded size, not left at the doubled capacity.
        EXPECT_GE(decoded->allocated, bytes);
        EXPECT_LT(decoded->allocated, bytes + 64);
    }
}

TEST_F(AudioDataTest, UpperCaseOggExtensionIsRead) {
    const std::string path = MakeOgg("tone", 2, 5000, 44100);
    const std::string upper = dir_.File("TONE.OGG");
    ASSERT_TRUE(WriteFileBytes(upper, ReadFileBytes(path)));
    const std::optional<Decoded> decoded = Load(upper);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->length, 5000);
}

TEST_F(AudioDataTest, DamagedOggGivesNullOrAPrefixWithoutCrashing) {
    const int frames = 5 * 44100;
    const Bytes good = ReadFileBytes(MakeOgg("tone", 2, frames, 44100));
    ASSERT_GT(good.size(), 4000u);
    auto first = [&](size_t percent) { return Bytes(good.begin(), good.begin() + good.size() * percent / 100); };
    const Bytes garbage = Counting(good.size());
    Bytes marker_then_garbage = garbage;
    std::copy(good.begin(), good.begin() + 4, marker_then_garbage.begin());  // "OggS"
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case unreadable[] = {
        {"empty", {}},
        {"cut inside the headers", Bytes(good.begin(), good.begin() + 100)},
        {"cut before any audio decodes", first(10)},
        {"not Ogg at all", garbage},
        {"page marker then garbage", marker_then_garbage},
    };
    for (const Case& c : unreadable) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(LoadBytes("bad.ogg", c.bytes).has_value());
    }

    // Cut in the audio: the frames before the cut, as the decoder finds them.
    const std::optional<Decoded> half = LoadBytes("half.ogg", first(50));
    ASSERT_TRUE(half.has_value());
    EXPECT_GT(half->length, frames / 4);
    EXPECT_LT(half->length, frames * 3 / 4);

    Bytes scrambled = good;
    for (size_t i = scrambled.size() / 2; i < scrambled.size(); i += 7) scrambled[i] ^= 0xA5;
    const std::optional<Decoded> decoded = LoadBytes("scrambled.ogg", scrambled);
    EXPECT_LE(decoded ? decoded->length : 0, frames) << "never more frames than the whole tune";
}

}  // namespace
