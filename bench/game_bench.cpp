// Game benchmarks: the text writer, building a level, a frame of stars and
// particles. Budgets and last measurements: bench/BUDGETS.md.
#include <benchmark/benchmark.h>

#include "game/myapp.h"
#include "game/play/level_report.h"

namespace {

constexpr int kFont = image_id::kFont;

// One 40-character line of mixed letters, digits and a button glyph, centred
// and scaled, into an emptied display list: 32 glyph records per call.
void BM_Text40Characters(benchmark::State& state) {
    c_MyApp* app = new c_MyApp();
    app->m_fontImage = kFont;
    app->m_imageInfo[image_info::Index(kFont, image_info::kFrameWidth)] = 7;
    app->m_imageInfo[image_info::Index(kFont, image_info::kFrameHeight)] = 10;
    app->p_CLS2D(0, 0, 0, 1);
    app->p_SetSize(1.5f, 1.5f);
    const Char text[] = {'P', 'r', 'e', 's', 's', ' ', 172, 'J', ' ', 't', 'o', ' ', 'w', 'a',
                         'l', 'k', ' ', 'o', 'n', ':', ' ', 'S', 'c', 'o', 'r', 'e', ' ', '0',
                         '0', '1', '2', '3', '4', '5', ' ', 'M', 'i', 'l', 'e', 's'};
    static_assert(sizeof text / sizeof text[0] == 40, "a 40-character line");
    const String line(text, 40);
    for (auto _ : state) {
        app->m_drawCount = 0;
        app->p_Text(320, 240, line, 1, 1);
        benchmark::DoNotOptimize(app->m_drawCount);
    }
    state.counters["records"] = static_cast<double>(app->m_drawCount / draw_record::kFloats);
}
BENCHMARK(BM_Text40Characters);

// The largest level the pinned tests cover, built from scratch as at a
// lift-off: 62 segments and 82 turrets asked for.
void BM_BuildMapDifficulty3Level20(benchmark::State& state) {
    LevelBuilder builder;
    for (auto _ : state) benchmark::DoNotOptimize(&builder.Build(3, 20));
    state.counters["turrets"] = builder.App().m_turretsPlaced;
}
BENCHMARK(BM_BuildMapDifficulty3Level20)->Unit(benchmark::kMicrosecond);

// One frame's stars and particles with both tables full (101 stars, 251
// particles, every one drawn), into an emptied display list. The particles
// are given a life that a hundredth a frame cannot wear down in float, so
// the table stays full however long the benchmark runs.
void BM_StarsAndParticlesFullTables(benchmark::State& state) {
    c_MyApp* app = new c_MyApp();
    app->p_ResetStars(star_record::kDefaultCount);
    for (int i = 0; i <= app->m_particleCount; ++i) {
        app->p_ThrowParticle(1600, 1600, 1 + i % 2, i % 10, kNoValue, kNoValue);
    }
    for (int i = 0; i <= app->m_particleCount; ++i) app->m_particles[TableIndex(i, particle_record::life)] = 1e9f;
    for (auto _ : state) {
        app->p_CLS2D(kNoValue, 0, 0, 0);
        app->p_DoStars(1.5f, -0.75f);
        app->p_DoParticles();
        benchmark::DoNotOptimize(app->m_drawCount);
    }
    state.counters["records"] = static_cast<double>(app->m_drawCount / draw_record::kFloats);
}
BENCHMARK(BM_StarsAndParticlesFullTables)->Unit(benchmark::kMicrosecond);

}  // namespace
