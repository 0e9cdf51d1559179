// Pictures decoded ahead: the same pixels as the ordinary load, with a worker
// thread and without one, whatever order they are taken in.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/kzglfwgame.h"
#include "host/picture_decoder.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/scratch_files.h"
#include "tests/unit/devices/png_fixture.h"

namespace {

struct Pixels {
    int width = 0, height = 0, depth = 0;
    std::vector<unsigned char> bytes;
    bool operator==(const Pixels& o) const {
        return width == o.width && height == o.height && depth == o.depth && bytes == o.bytes;
    }
};

Pixels Owned(unsigned char* data, int width, int height, int depth) {
    Pixels pixels{width, height, depth, {}};
    if (data) pixels.bytes.assign(data, data + width * height * depth);
    std::free(data);
    return pixels;
}

class PictureDecoderTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        mkdir("data", 0755);
        // Each depth, with bytes that differ from pixel to pixel and row to row.
        for (int depth = 1; depth <= 4; ++depth) {
            const int width = 13 + depth, height = 7;
            std::vector<unsigned char> bytes(width * height * depth);
            for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 37 + depth);
            ASSERT_TRUE(WritePng(File(depth), width, height, depth, bytes));
        }
        WriteFileBytes("data/corrupt.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0});
    }

    static std::string File(int depth) { return "data/depth" + std::to_string(depth) + ".png"; }

    // The picture as the host loads it with nothing queued.
    Pixels Ordinary(const std::string& file) {
        int width = 0, height = 0, depth = 0;
        unsigned char* data = game.LoadImageData(String(("zarnik://" + file).c_str()), &width, &height, &depth);
        return Owned(data, width, height, depth);
    }

    static Pixels Taken(PictureDecoder& decoder, const std::string& file) {
        DecodedPicture picture;
        if (!decoder.Take(file, &picture)) return Pixels{};
        return Owned(picture.data, picture.width, picture.height, picture.depth);
    }

    ScratchWorkingDir dir;
    KzGlfwGame game;
};

TEST_P(PictureDecoderTest, TakenPicturesEqualTheOrdinaryLoadInAnyOrderAndOncePerQueuing) {
    PictureDecoder decoder(GetParam());
    decoder.Queue({File(1), File(2), File(3), File(4), File(4), "data/missing.png", "data/corrupt.png"});
    for (int depth : {3, 1, 4, 2, 4}) {
        const Pixels taken = Taken(decoder, File(depth));
        ASSERT_FALSE(taken.bytes.empty()) << "depth " << depth;
        EXPECT_EQ(taken, Ordinary(File(depth))) << "depth " << depth;
    }
    // Nothing to take: each queued picture went once, and the files that
    // cannot be decoded leave the caller to the ordinary load.
    for (const std::string& file : {File(4), std::string("data/missing.png"), std::string("data/corrupt.png"),
                                    std::string("data/never-queued.png")}) {
        DecodedPicture picture;
        EXPECT_FALSE(decoder.Take(file, &picture)) << file;
        EXPECT_EQ(picture.data, nullptr) << file;
    }
}

TEST_P(PictureDecoderTest, ANewQueueDropsThePicturesNotTakenFromTheOldOne) {
    PictureDecoder decoder(GetParam());
    decoder.Queue({File(1), File(2), File(3)});
    EXPECT_EQ(Taken(decoder, File(1)), Ordinary(File(1)));
    decoder.Queue({File(4)});
    EXPECT_TRUE(Taken(decoder, File(2)).bytes.empty());
    EXPECT_EQ(Taken(decoder, File(4)), Ordinary(File(4)));
    // Dropped while queued, being decoded or decoded: freed either way (the
    // sanitizer build reports a leak otherwise), also when the decoder goes.
    decoder.Queue({File(3), File(2)});
}

INSTANTIATE_TEST_SUITE_P(WorkerAndNone, PictureDecoderTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "WithWorker" : "WithoutWorker";
                         });

struct Sound {
    int length = 0, channels = 0, format = 0, hertz = 0;
    std::vector<unsigned char> bytes;
    std::string told;  // what the host said on standard error
    bool operator==(const Sound& o) const {
        return length == o.length && channels == o.channels && format == o.format && hertz == o.hertz &&
               bytes == o.bytes && told == o.told;
    }
};

Sound LoadedSound(KzGlfwGame& game, const std::string& file) {
    Sound sound;
    ::testing::internal::CaptureStderr();
    unsigned char* data = game.LoadAudioData(String(("zarnik://" + file).c_str()), &sound.length, &sound.channels,
                                             &sound.format, &sound.hertz);
    sound.told = ::testing::internal::GetCapturedStderr();
    if (data) sound.bytes.assign(data, data + sound.length * sound.channels * sound.format);
    std::free(data);
    return sound;
}

// Sounds queued on the host come out of LoadAudioData as the ordinary
// decoding gives them; one that cannot be decoded is read again and its
// failure told as before.
TEST(SoundsDecodedAhead, LoadAudioDataTakesTheSamplesOfTheOrdinaryDecodingAndTellsFailuresAlike) {
    ScratchWorkingDir dir;
    mkdir("data", 0755);
    ASSERT_TRUE(audio_fixtures::WriteToneWav("data/tone.wav", 440, 6000));
    ASSERT_TRUE(audio_fixtures::EncodeOgg("data/tone.wav", "data/tone.ogg"));
    WriteFileBytes("data/damaged.ogg", {'O', 'g', 'g', 'S', 0, 2, 0, 0});
    const std::vector<std::string> files = {"data/tone.ogg", "data/tone.wav", "data/damaged.ogg"};

    KzGlfwGame plain, ahead;
    Array<String> queued(static_cast<int>(files.size()));
    for (size_t i = 0; i < files.size(); ++i) queued[static_cast<int>(i)] = String(("zarnik://" + files[i]).c_str());
    ahead.DecodeSoundsAhead(queued);
    std::vector<Sound> expected;
    for (const std::string& file : files) {
        expected.push_back(LoadedSound(plain, file));
        EXPECT_EQ(LoadedSound(ahead, file), expected.back()) << file;
    }
    EXPECT_GT(expected[0].bytes.size(), 6000u) << "the tune decodes";
    EXPECT_NE(expected[2].told, "") << "the damaged file is told";
}

}  // namespace
