// Image files becoming surfaces, or null (no crash) for anything that is not
// a readable image.
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

    gxtkSurface* Load(const std::string& name) { return device->LoadSurface(String(dir.File(name).c_str())); }

    KzGlfwGame game;
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

    for (const char* name : {"missing.png", "empty.png", "truncated.png", "text.png", "huge.png", ""}) {
        gl.Clear();
        EXPECT_EQ(Load(name), nullptr) << name;
        EXPECT_TRUE(gl.calls.empty()) << name;
    }
    ASSERT_NE(Load("good.png"), nullptr) << "the fixture itself is a valid image";
    KzGlfwGame::_glfwGame = nullptr;
    EXPECT_EQ(Load("good.png"), nullptr) << "without a host nothing loads";
}
