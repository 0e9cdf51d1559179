// Game benchmarks: the text writer. Budgets and last measurements:
// bench/BUDGETS.md.
#include <benchmark/benchmark.h>

#include "game/myapp.h"

namespace {

constexpr int kFont = 90;

// One 40-character line of mixed letters, digits and a button glyph, centred
// and scaled, into an emptied display list: 32 glyph records per call.
void BM_Text40Characters(benchmark::State& state) {
    c_MyApp* app = new c_MyApp();
    app->m_fontImage = kFont;
    app->m_imageInfo[kFont * 3] = 7;
    app->m_imageInfo[kFont * 3 + 1] = 10;
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

}  // namespace
