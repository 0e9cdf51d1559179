// Image files becoming surfaces: every depth stb_image gives, and a null
// surface (no crash, no message) for anything that is not a readable image.
#include "tests/unit/devices/device_fixture.h"
#include "tests/support/scratch_files.h"
#include "tests/unit/devices/png_fixture.h"

namespace {

class SurfaceLoadingTest : public DeviceTest {
protected:
    void TearDown() override {
        KzGlfwGame::_glfwGame = nullptr;
        DeviceTest::TearDown();
    }

    gxtkSurface* Load(const std::string& path) { return device->LoadSurface(String(path.c_str())); }

    KzGlfwGame game;
    ScratchDir dir;
};

}  // namespace

TEST_F(SurfaceLoadingTest, PngOfEachDepthLoadsAsStoredAndIsBoundAtOnce) {
    // One 2 x 1 picture per depth: an opaque pixel and a half-transparent one.
    const std::vector<unsigned char> pixels[] = {
        {10, 20},
        {200, 255, 200, 128},
        {1, 2, 3, 4, 5, 6},
        {200, 100, 50, 255, 200, 100, 50, 128},
    };
    const std::vector<unsigned char> stored[] = {
        {10, 20},
        {200, 255, 100, 128},
        {1, 2, 3, 4, 5, 6},
        {200, 100, 50, 255, 100, 50, 25, 128},
    };
    for (int depth = 1; depth <= 4; ++depth) {
        const std::string path = dir.File("depth" + std::to_string(depth) + ".png");
        ASSERT_TRUE(WritePng(path, 2, 1, depth, pixels[depth - 1]));
        const int counted_before = gc_ext_new_bytes.load();
        gl.Clear();

        gxtkSurface* surface = Load(path);
        ASSERT_NE(surface, nullptr) << "depth " << depth;
        EXPECT_EQ(surface->Width(), 2);
        EXPECT_EQ(surface->Height(), 1);
        EXPECT_EQ(surface->depth, depth);
        EXPECT_EQ(std::vector<unsigned char>(surface->pixels, surface->pixels + 2 * depth), stored[depth - 1]);
        EXPECT_EQ(gc_ext_new_bytes.load() - counted_before, 2 * depth) << "the buffer counts for the collector";
        EXPECT_EQ(gl.Calls(GlOp::GenTextures).size(), 1u);
    }
}

TEST_F(SurfaceLoadingTest, UnreadableOrUndecodableFilesGiveNoSurface) {
    std::vector<unsigned char> png;
    ASSERT_TRUE(WritePng(dir.File("good.png"), 16, 16, 4, std::vector<unsigned char>(16 * 16 * 4, 7)));
    png = ReadFileBytes(dir.File("good.png"));
    ASSERT_GT(png.size(), 40u);

    WriteFileBytes(dir.File("empty.png"), {});
    WriteFileBytes(dir.File("truncated.png"), std::vector<unsigned char>(png.begin(), png.begin() + png.size() / 2));
    WriteFileBytes(dir.File("text.png"), {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    std::vector<unsigned char> huge = png;
    huge[16] = 0x7f;  // width 2^31 - ish in the header
    WriteFileBytes(dir.File("huge.png"), huge);

    for (const char* name : {"missing.png", "empty.png", "truncated.png", "text.png", "huge.png", ""}) {
        gl.Clear();
        EXPECT_EQ(Load(dir.File(name)), nullptr) << name;
        EXPECT_TRUE(gl.calls.empty()) << name;
    }
    ASSERT_NE(Load(dir.File("good.png")), nullptr) << "the fixture itself is a valid image";
}

TEST_F(SurfaceLoadingTest, WithoutAHostNothingLoads) {
    ASSERT_TRUE(WritePng(dir.File("a.png"), 1, 1, 1, {9}));
    KzGlfwGame::_glfwGame = nullptr;
    EXPECT_EQ(Load(dir.File("a.png")), nullptr);
}
