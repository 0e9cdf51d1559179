// Runtime benchmarks: allocation through the size caches, full and
// incremental collection with a large live heap, and the save text's split
// and join. Budgets and last measurements: bench/BUDGETS.md.
#include <benchmark/benchmark.h>

#include "runtime/runtime.h"

namespace {

struct Small : Object {
    int value = 0;
};

Array<Small*> g_live;

void MarkLive() { gc_mark_q(g_live); }

// Keeps `count` small objects alive through a registered root.
void MakeLiveHeap(int count) {
    gc_add_roots(MarkLive);
    gc_assign(g_live, Array<Small*>(count));
    for (int i = 0; i < count; ++i) gc_assign(g_live[i], new Small());
    gc_collect_all();
    gc_collect_all();
}

void DropLiveHeap() {
    gc_assign(g_live, Array<Small*>());
    gc_collect_all();
    gc_collect_all();
}

// Objects created and dropped between events, with the host's collection step
// after every 100 of them: in the steady state dead objects are destroyed by
// later allocations and their blocks come back from the cache.
void BM_AllocateAndDropSmallObject(benchmark::State& state) {
    int since_step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(new Small());
        if (++since_step == 100) {
            gc_step(nullptr);
            since_step = 0;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AllocateAndDropSmallObject);

void BM_FullCollection100kLive(benchmark::State& state) {
    MakeLiveHeap(100000);
    for (auto _ : state) gc_collect_all();
    DropLiveHeap();
}
BENCHMARK(BM_FullCollection100kLive)->Unit(benchmark::kMillisecond);

void BM_IncrementalStepAfter64KiB100kLive(benchmark::State& state) {
    constexpr int kNewBytes = 64 * 1024;
    MakeLiveHeap(100000);
    gc_step(nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        if (gc_new_bytes + kNewBytes > kGcFullCollectionBytes) gc_collect_all(), gc_new_bytes = 0;
        for (int made = 0; made < kNewBytes; made += 32) new Small();
        state.ResumeTiming();
        gc_step(nullptr);
    }
    DropLiveHeap();
}
BENCHMARK(BM_IncrementalStepAfter64KiB100kLive)->Unit(benchmark::kMicrosecond);

// 203 values each followed by "|", as the save text is written.
String SaveStyleText() {
    String text;
    for (int i = 0; i < 203; ++i) text = text + String(i * 7919 % 100000) + String("|");
    return text;
}

void BM_SplitAndJoinSaveText(benchmark::State& state) {
    const String text = SaveStyleText();
    const String bar("|");
    for (auto _ : state) {
        const Array<String> values = text.Split(bar);
        benchmark::DoNotOptimize(bar.Join(values));
        gc_step(nullptr);
    }
}
BENCHMARK(BM_SplitAndJoinSaveText)->Unit(benchmark::kMicrosecond);

}  // namespace
