// Play benchmarks: one play update and one rendered play frame of a busy
// scene (difficulty 3, level 20, every bullet and particle record in use),
// on the headless driver with OpenGL recorded, and the same frame on Mesa's
// software renderer under Xvfb. Budgets and last measurements:
// bench/BUDGETS.md.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "bench/real_game.h"
#include "tests/support/headless_driver.h"

namespace {

constexpr int kDifficulty = 3;
constexpr int kLevel = 20;

// Difficulty 3, level 20 with its countdown over; the view on the party.
void BuildBusyLevel(c_MyApp& app) {
    app.m_difficulty = kDifficulty;
    app.m_padGlyphs = 0;
    app.p_LoadGame();
    app.m_party[party_table::kLevel] = kLevel;
    app.p_BuildMap(kLevel);
    app.m_party[party_table::kCountdown] = 0;
    app.m_keyLock = app.m_touchLock = 0;
}

// Every bullet and particle record busy, spread over the view.
void FillTables(c_MyApp& app) {
    for (int r = 0; r < bullet_record::kRecords; ++r) {
        float* bullet = &app.m_bullets[TableIndex(r, 0)];
        bullet[bullet_record::code] = 1;
        bullet[bullet_record::x] = app.m_camX + static_cast<float>(r * 37 % 640);
        bullet[bullet_record::y] = app.m_camY + static_cast<float>(r * 53 % 480);
        bullet[bullet_record::angle] = static_cast<float>(r % 360);
        bullet[bullet_record::life] = 5;
    }
    for (int r = 0; r <= app.m_particleCount; ++r) {
        float* particle = &app.m_particles[TableIndex(r, 0)];
        particle[particle_record::kind] = static_cast<float>(1 + r % 2);
        particle[particle_record::x] = app.m_camX + static_cast<float>(r * 41 % 640);
        particle[particle_record::y] = app.m_camY + static_cast<float>(r * 29 % 480);
        particle[particle_record::vx] = 1;
        particle[particle_record::vy] = -1;
        particle[particle_record::life] = 1.3f;
        particle[particle_record::colour] = static_cast<float>(r % 10);
        particle[particle_record::frame] = static_cast<float>(r % 256);
    }
}

// The tables one update changes, kept so that every update starts from the
// same scene.
class Snapshot {
public:
    explicit Snapshot(const c_MyApp& app)
        : party_(Copy(app.m_party)), bullets_(Copy(app.m_bullets)), particles_(Copy(app.m_particles)),
          camX_(app.m_camX), camY_(app.m_camY) {}
    void Restore(c_MyApp& app) const {
        Paste(party_, app.m_party);
        Paste(bullets_, app.m_bullets);
        Paste(particles_, app.m_particles);
        app.m_camX = camX_;
        app.m_camY = camY_;
        app.m_gameOver = 0;
    }

private:
    static std::vector<float> Copy(const Array<float>& from) { return {&from[0], &from[0] + from.Length()}; }
    static void Paste(const std::vector<float>& from, Array<float>& to) {
        for (size_t i = 0; i < from.size(); ++i) to[static_cast<int>(i)] = from[i];
    }
    std::vector<float> party_, bullets_, particles_;
    float camX_, camY_;
};

// Difficulty 3, level 20 on a driver that loaded the generated data folder
// (in place of its empty one) and keeps no record of its drawing; false when
// loading did not finish.
bool LoadedLevel(HeadlessDriver& driver) {
    driver.WatchDraws(false);
    driver.Gl().keep_calls = false;
    std::filesystem::remove(driver.DataDir());
    std::filesystem::create_directory_symlink(TARVOLAN_DATA_DIR, driver.DataDir());
    if (!driver.FinishLoading()) return false;
    BuildBusyLevel(driver.App());
    return true;
}

// That level with every bullet and particle record busy.
bool BusyScene(HeadlessDriver& driver) {
    if (!LoadedLevel(driver)) return false;
    FillTables(driver.App());
    return true;
}

// p_Game and the shell's per-update work (the scripted clock, events, input,
// locks), no render.
void BM_PlayUpdateBusyLevel(benchmark::State& state) {
    HeadlessDriver driver;
    if (!BusyScene(driver)) {
        state.SkipWithError("loading did not finish");
        return;
    }
    c_MyApp& app = driver.App();
    const Snapshot scene(app);
    for (auto _ : state) {
        state.PauseTiming();
        scene.Restore(app);
        state.ResumeTiming();
        driver.Update();
    }
    state.counters["records"] = app.m_drawCount / draw_record::kFloats;
}
BENCHMARK(BM_PlayUpdateBusyLevel)->Unit(benchmark::kMicrosecond);

// The render of that scene's display list; counter `draw_calls` for the whole
// frame, the clear included.
void BM_PlayRenderBusyLevel(benchmark::State& state) {
    HeadlessDriver driver;
    if (!BusyScene(driver)) {
        state.SkipWithError("loading did not finish");
        return;
    }
    c_MyApp& app = driver.App();
    driver.Update();
    driver.Render();
    driver.Gl().Clear();
    for (auto _ : state) driver.Render();
    state.counters["records"] = app.m_drawCount / draw_record::kFloats;
    state.counters["draw_calls"] = static_cast<double>(driver.Gl().draw_calls) / state.iterations();
}
BENCHMARK(BM_PlayRenderBusyLevel)->Unit(benchmark::kMicrosecond);

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Restarts the countdown as a new level does, with the tune stopped, and runs
// the updates until the countdown's end has started the tune again; the CPU
// time of the costliest of those updates, or a negative time when the tune
// did not start.
double WorstCountdownUpdate(HeadlessDriver& driver) {
    constexpr int kCountdownStart = 119;
    constexpr int kMaxUpdates = 200;
    c_MyApp& app = driver.App();
    app.m_musicOn = 0;
    app.m_party[party_table::kCountdown] = kCountdownStart;
    double worst = 0;
    for (int i = 0; i < kMaxUpdates && app.m_musicOn == 0; ++i) {
        const double start = ThreadCpuSeconds();
        driver.Update();
        worst = std::max(worst, ThreadCpuSeconds() - start);
    }
    return app.m_musicOn == 1 ? worst : -1;
}

// The worst update of a level change with the tune playing. The first
// countdown of a run decodes the tune (counter `first_ms`); the level changes
// after it, timed here, play the kept one.
void BM_WorstUpdateOfALevelChangeWithTheTune(benchmark::State& state) {
    HeadlessDriver driver;
    if (!LoadedLevel(driver)) {
        state.SkipWithError("loading did not finish");
        return;
    }
    constexpr int kEffectsAndMusic = 1;
    driver.App().m_settings[setting::kSound] = kEffectsAndMusic;
    const double first = WorstCountdownUpdate(driver);
    for (auto _ : state) {
        const double worst = WorstCountdownUpdate(driver);
        if (first < 0 || worst < 0) {
            state.SkipWithError("the countdown did not start the tune");
            return;
        }
        state.SetIterationTime(worst);
    }
    state.counters["first_ms"] = first * 1e3;
}
BENCHMARK(BM_WorstUpdateOfALevelChangeWithTheTune)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The same frame rendered for real: the program's own start-up on GLFW 3 in
// a 640 x 480 window under a private Xvfb with Mesa, then the busy scene;
// one iteration renders, reads one pixel back (which finishes the frame) and
// swaps.
void BM_RealPlayFrameLlvmpipe(benchmark::State& state) {
    RealGame game(TARVOLAN_DATA_DIR);
    if (!game.Ready()) {
        state.SkipWithError(game.Error().c_str());
        return;
    }
    c_MyApp& app = game.App();
    BuildBusyLevel(app);
    FillTables(app);
    game.Update();
    for (auto _ : state) {
        game.Render();
        benchmark::DoNotOptimize(game.ReadRgb(1, 1));
        game.Show();
    }
    state.counters["records"] = app.m_drawCount / draw_record::kFloats;
}
BENCHMARK(BM_RealPlayFrameLlvmpipe)->Unit(benchmark::kMillisecond);

}  // namespace
