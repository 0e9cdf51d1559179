// Graphics benchmarks: the processor cost of one sprite into the batch, the
// draw calls of a frame of sprites, and a real frame on Mesa's software
// renderer. Budgets and last measurements: bench/BUDGETS.md.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "devices/gl_recorder.h"
#include "framework/app.h"
#include "framework/graphics.h"
#include "host/glfw_facade.h"
#include "host/kzglfwgame.h"
#include "host/scripted_backend.h"
#include "tests/integration/support/xvfb.h"

namespace {

constexpr int kSprites = 2000;
constexpr int kSheetSize = 64;  // 64 frames of 8 x 8

gxtkSurface* OpaqueSurface(int width, int height) {
    const size_t bytes = size_t(width) * height * 4;
    auto* data = static_cast<unsigned char*>(std::malloc(bytes));
    for (size_t i = 0; i < bytes; ++i) data[i] = 255;
    auto* surface = new gxtkSurface();
    surface->SetData(data, width, height, 4);
    return surface;
}

c_Image* Sheet(int frame_size, int frames) {
    gxtkSurface* surface = OpaqueSurface(kSheetSize, kSheetSize);
    return (new c_Image())->m_new()->p_Init2(surface, 0, 0, frame_size, frame_size, frames,
                                             kImageCenterHandle, nullptr, 0, 0, kSheetSize, kSheetSize);
}

// The graphics module on a device whose OpenGL only counts draw calls.
class RecordedDevice {
public:
    RecordedDevice() {
        glfw2::UseBackend(&backend_);
        backend_.OpenWindow(640, 480, 8, 8, 8, 8, 0, 0, glfw2::WINDOW);
        gl_.keep_calls = false;
        UseGlApi(&gl_);
        glfwGraphicsSeq = 1;
        kz_graphics_InitGlobals();
        kz_graphics_SetGraphicsDevice(new gxtkGraphics(nullptr));
    }
    ~RecordedDevice() {
        UseGlApi(nullptr);
        glfw2::UseBackend(nullptr);
        glfwGraphicsSeq = 0;
    }
    GlRecorder& gl() { return gl_; }

private:
    glfw2::ScriptedBackend backend_;
    GlRecorder gl_;
};

void BeginFrame() {
    kz_app__devWidth = kz_graphics_device->Width();
    kz_app__devHeight = kz_graphics_device->Height();
    kz_graphics_device->BeginRender();
    kz_graphics_BeginRender();
}

void EndFrame() {
    kz_graphics_device->EndRender();
    kz_graphics_EndRender();
}

// One frame as the game draws it: the blend mode set before every sprite,
// and optionally a character of text from a second sheet every `text_every`.
void DrawSpriteFrame(c_Image* sprites, c_Image* text, int text_every) {
    for (int i = 0; i < kSprites; ++i) {
        kz_graphics_SetBlend(0);
        kz_graphics_DrawImage2(sprites, float(i % 80 * 8), float(i / 80 * 8), 30, 1, 1, i % 64);
        if (text && i % text_every == text_every - 1) kz_graphics_DrawImage(text, 4, 4, 0);
    }
}

// One sprite, turned and scaled; `angle_step` 0 keeps one angle for every
// sprite (as the glyphs of a line of text do), 1 turns each a degree further.
void DrawImage2OneSprite(benchmark::State& state, int angle_step) {
    RecordedDevice recorded;
    c_Image* sprites = Sheet(8, 64);
    BeginFrame();
    kz_graphics_Translate(3, 5);
    int i = 0;
    for (auto _ : state) {
        kz_graphics_DrawImage2(sprites, float(i & 511), float(i & 255), float(30 + (i & 255) * angle_step), 1.5f,
                               1.5f, i & 63);
        ++i;
    }
    EndFrame();
}

void BM_DrawImage2OneSprite(benchmark::State& state) { DrawImage2OneSprite(state, 0); }
BENCHMARK(BM_DrawImage2OneSprite);

void BM_DrawImage2OneSpriteNewAngle(benchmark::State& state) { DrawImage2OneSprite(state, 1); }
BENCHMARK(BM_DrawImage2OneSpriteNewAngle);

void DrawCallsPerFrame(benchmark::State& state, bool with_text) {
    RecordedDevice recorded;
    c_Image* sprites = Sheet(8, 64);
    c_Image* text = with_text ? Sheet(16, 16) : nullptr;
    for (auto _ : state) {
        recorded.gl().Clear();
        BeginFrame();
        DrawSpriteFrame(sprites, text, 100);
        EndFrame();
    }
    state.counters["draw_calls"] = recorded.gl().draw_calls;
}

void BM_DrawCalls2000SpritesOneSheet(benchmark::State& state) { DrawCallsPerFrame(state, false); }
BENCHMARK(BM_DrawCalls2000SpritesOneSheet);

void BM_DrawCalls2000SpritesWithTextEvery100(benchmark::State& state) { DrawCallsPerFrame(state, true); }
BENCHMARK(BM_DrawCalls2000SpritesWithTextEvery100);

// A whole frame of 2,000 sprites at 640 x 480 in a real window on Mesa's
// software renderer, finished (read back) and swapped.
void BM_RealFrame2000SpritesLlvmpipe(benchmark::State& state) {
    XvfbServer server;
    if (!server.Start()) {
        state.SkipWithError(server.Error().c_str());
        return;
    }
    glfw2::UseBackend(nullptr);
    glfw2::glfwInit();
    {
        KzGlfwGame game;
        game.SetDeviceWindow(640, 480, 0);
        kz_graphics_InitGlobals();
        kz_graphics_SetGraphicsDevice(new gxtkGraphics(&game));
        c_Image* sprites = Sheet(8, 64);
        Array<int> pixel(1);
        for (auto _ : state) {
            BeginFrame();
            kz_graphics_device->Cls(0, 0, 0);
            DrawSpriteFrame(sprites, nullptr, 0);
            EndFrame();
            kz_graphics_device->ReadPixels(pixel, 0, 0, 1, 1, 0, 1);
            glfw2::glfwSwapBuffers();
        }
    }
    glfw2::glfwTerminate();
    glfwGraphicsSeq = 0;
}
BENCHMARK(BM_RealFrame2000SpritesLlvmpipe)->Unit(benchmark::kMillisecond);

}  // namespace
