// Image files becoming surfaces, or null (no crash) for anything that is not
// a readable image.
#include <algorithm>
#include <iterator>

#include "tests/unit/devices/device_fixture.h"
#include "tests/support/scratch_files.h"
#include "tests/unit/devices/png_fixture.h"

namespace {

class SurfaceLoadingTest : public DeviceTest {
protected:
    gxtkSurface* Load(const std::string& name) { return device->LoadSurface(String(dir.File(name).c_str())); }

    ScratchDir dir;
};

}  // namespace

// The pixels themselves are checked on real OpenGL (graphics_gl_test).
TEST_F(SurfaceLoadingTest, PngOfEachDepthLoadsCountedForTheCollectorAndIsBoundAtOnce) {
    for (int depth = 1; depth <= 4; ++depth) {
        const std::string name = "depth" + std::to_string(depth) + ".png";
        ASSERT_TRUE(WritePng(dir.File(name), 2, 1, depth, std::vector<unsigned char>(2 * depth, 200)));
        const int counted_before = gc_ext_new_bytes.load();
        gl.Clear();

        gxtkSurface* surface = Load(name);
        ASSERT_NE(surface, nullptr) << "depth " << depth;
        EXPECT_EQ(std::vector<int>({surface->Width(), surface->Height(), surface->depth}),
                  (std::vector<int>{2, 1, depth}));
        EXPECT_EQ(gc_ext_new_bytes.load() - counted_before, 2 * depth);
        EXPECT_EQ(gl.Calls(GlOp::GenTextures).size(), 1u);
    }
}

// PNG allows the pixel data to be split over several chunks, including empty
// ones; an empty first one once made the decoder copy to a null buffer.
TEST_F(SurfaceLoadingTest, AnEmptyFirstDataChunkLoadsTheSamePicture) {
    const std::vector<unsigned char> rgba = {10, 20, 30, 255, 200, 100, 50, 128, 1, 2, 3, 0};
    ASSERT_TRUE(WritePng(dir.File("plain.png"), 3, 1, 4, rgba));
    std::vector<unsigned char> png = ReadFileBytes(dir.File("plain.png"));
    const unsigned char empty_chunk[] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
    const auto data_chunk = std::search(png.begin(), png.end(), empty_chunk + 4, empty_chunk + 8);
    ASSERT_NE(data_chunk, png.end());
    png.insert(data_chunk - 4, std::begin(empty_chunk), std::end(empty_chunk));
    WriteFileBytes(dir.File("split.png"), png);

    ASSERT_NE(Load("plain.png"), nullptr);
    const std::vector<unsigned char> plain = gl.last_upload;
    ASSERT_NE(Load("split.png"), nullptr);
    EXPECT_EQ(gl.last_upload, plain);
    EXPECT_EQ(plain.size(), rgba.size());
}

TEST_F(SurfaceLoadingTest, UnreadableOrUndecodableFilesGiveNoSurface) {
    ASSERT_TRUE(WritePng(dir.File("good.png"), 16, 16, 4, std::vector<unsigned char>(16 * 16 * 4, 7)));
    const std::vector<unsigned char> png = ReadFileBytes(dir.File("good.png"));
    ASSERT_GT(png.size(), 40u);
    WriteFileBytes(dir.File("empty.png"), {});
    WriteFileBytes(dir.File("truncated.png"), std::vector<unsigned char>(png.begin(), png.begin() + png.size() / 2));
    WriteFileBytes(dir.File("text.png"), {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    std::vector<unsigned char> huge = png;
    huge[16] = 0x7f;  // a width near 2^31 in the header
    WriteFileBytes(dir.File("huge.png"), huge);
    // Grey pictures 0 pixels high, and wider than an int holds.
    const std::pair<const char*, std::string> pgm[] = {{"no_rows.pgm", "P5 7 0 255\n"},
                                                       {"wide.pgm", "P5 99999999999 1 255\n"}};
    for (const auto& [name, text] : pgm) WriteFileBytes(dir.File(name), std::vector<unsigned char>(text.begin(), text.end()));

    for (const char* name :
         {"missing.png", "empty.png", "truncated.png", "text.png", "huge.png", "no_rows.pgm", "wide.pgm", ""}) {
        gl.Clear();
        EXPECT_EQ(Load(name), nullptr) << name;
        EXPECT_TRUE(gl.calls.empty()) << name;
    }
    ASSERT_NE(Load("good.png"), nullptr) << "the fixture itself is a valid image";
    device->host = nullptr;
    EXPECT_EQ(Load("good.png"), nullptr) << "without a host nothing loads";
}
