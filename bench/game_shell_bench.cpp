// Game shell benchmarks: replaying a full display list, and the real start-up
// from the program's beginning to the end of loading. Budgets and last
// measurements: bench/BUDGETS.md.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "game/program.h"
#include "tests/integration/support/xvfb.h"
#include "tests/support/child_process.h"
#include "tests/support/headless_driver.h"
#include "tests/unit/devices/png_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFullList = 2499;

// One render of a full list of turned sprites from one 64-frame sheet at one
// blend mode, on the headless driver with OpenGL recorded (calls not kept).
void BM_ReplayFullListOneSheet(benchmark::State& state) {
    HeadlessDriver driver;
    driver.WatchDraws(false);
    driver.Gl().keep_calls = false;
    c_MyApp& app = driver.App();
    // At 640 x 480 the art is "-hd": 64 frames of 64 x 64 pixels.
    if (!WritePng(driver.DataDir() + "/sheet-hd.png", 512, 512, 4, std::vector<unsigned char>(512 * 512 * 4, 200))) {
        state.SkipWithError("the sheet could not be written");
        return;
    }
    app.p_LoadImg(1, String("sheet"), 32, 32, 64, 1);
    // The frame's own draw calls (the clear) without any record.
    app.p_CLS2D(0, 0, 0, 1);
    driver.Render();
    driver.Gl().Clear();
    driver.Render();
    const int clearOnly = driver.Gl().draw_calls;
    for (int i = 0; i < kFullList; ++i) {
        app.p_SetRot(static_cast<float>(i % 360));
        app.p_DrawImg(1, static_cast<float>(i * 37 % 640), static_cast<float>(i * 53 % 480), static_cast<float>(i % 64));
    }
    driver.Gl().Clear();

    for (auto _ : state) driver.Render();

    state.counters["records"] = app.m_drawCount / draw_record::kFloats;
    const double perFrame = static_cast<double>(driver.Gl().draw_calls) / state.iterations();
    state.counters["draw_calls_frame"] = perFrame;
    state.counters["draw_calls_replay"] = perFrame - clearOnly;
}
BENCHMARK(BM_ReplayFullListOneSheet)->Unit(benchmark::kMicrosecond);

// The real host loop on GLFW 3 and Mesa, timed from the program's first step
// until the update that finishes loading, which closes the window. Under
// Xvfb there is no window manager to give the window focus, and the game
// runs no updates without it: the bench focuses the window after the first
// frame and leaves that time out.
class TimedStartUp final : public KzZarnikGame {
public:
    Clock::duration focusing{};
    Clock::time_point loaded{};
    bool gaveUp = false;

    void RenderGame() override {
        KzZarnikGame::RenderGame();
        // A window that never gets focus never loads: end the loop.
        if (Clock::now() - created_ > std::chrono::seconds(30)) {
            gaveUp = true;
            glfw2::glfwCloseWindow();
        }
        if (focused_) return;
        focused_ = true;
        const Clock::time_point before = Clock::now();
        const CommandResult found = RunCommand({"xdotool", "search", "--sync", "--name", "^Tarvolan$"});
        RunCommand({"xdotool", "windowfocus", "--sync", found.out.substr(0, found.out.find('\n'))});
        focusing = Clock::now() - before;
    }

    void UpdateGame() override {
        KzZarnikGame::UpdateGame();
        if (loaded != Clock::time_point{} || static_cast<c_MyApp*>(kz_app__app)->m_loadStep != 0) return;
        loaded = Clock::now();
        glfw2::glfwCloseWindow();
    }

private:
    const Clock::time_point created_ = Clock::now();
    bool focused_ = false;
};

void BM_StartUpToEndOfLoadingXvfb(benchmark::State& state) {
    XvfbServer server;
    if (!server.Start()) {
        state.SkipWithError(server.Error().c_str());
        return;
    }
    const ScratchDir folder;
    std::filesystem::create_directory_symlink(TARVOLAN_DATA_DIR, folder.File("data"));
    std::ofstream(folder.File("alsoft.conf")) << "[general]\ndrivers=null\n";
    setenv("ALSOFT_CONF", folder.File("alsoft.conf").c_str(), 1);
    const std::string previous = std::filesystem::current_path().string();
    if (chdir(folder.path().c_str()) != 0) {
        state.SkipWithError("no scratch folder");
        return;
    }
    glfw2::UseBackend(nullptr);

    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        glfw2::glfwInit();
        auto* game = new TimedStartUp();
        kzInit();
        gc_mark();
        kzCreateApplication();
        game->Run();
        if (game->gaveUp) {
            state.SkipWithError("loading did not finish");
            break;
        }
        const Clock::duration taken = game->loaded - start - game->focusing;
        state.SetIterationTime(std::chrono::duration<double>(taken).count());
        delete game;
        glfw2::glfwTerminate();
    }
    glfwGraphicsSeq = 0;
    if (chdir(previous.c_str()) != 0) state.SkipWithError("could not return");
}
BENCHMARK(BM_StartUpToEndOfLoadingXvfb)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
