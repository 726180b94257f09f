// The cost of the distance field on generated caves: the flood play rebuilds from the column
// every frame, the flood from the base when a level is made, and a whole level's generation.
#include <benchmark/benchmark.h>

#include "test_host.h"

namespace {

// The running app with a level of the given clock generated, as the intro leaves it.
c_MyApp* app_with_level(int clockMs) {
    TestHost& host = TestHost::Start();
    host.clockMs = clockMs;
    c_MyApp* app = host.app;
    app->m_difficulty = 2;
    app->m_vars[kVarLevel] = 0;
    app->p_GetLevelA();
    app->p_GetLevB();
    app->p_GetLevC();
    app->p_GetLevD();
    return app;
}

// One frame's rebuild from the column's start cell; the argument is the clock that seeds the
// cave, so the reachable area differs from run to run.
void BM_PlayFieldRebuild(benchmark::State& state) {
    c_MyApp* app = app_with_level(static_cast<int>(state.range(0)));
    int c = cell_column(app->m_vars[kVarPlayerX]), r = cell_row(app->m_vars[kVarPlayerY]);
    int reached = 0;
    for (auto _ : state) {
        reached = app->BuildDistanceField(c, r, kPlayFloodPasses);
        benchmark::DoNotOptimize(app->m_grid[cell_index(c, r)]);
    }
    state.counters["largest"] = reached;
}
BENCHMARK(BM_PlayFieldRebuild)->Arg(1000)->Arg(424242)->Arg(98765);

// The same rebuild on a cave with no rock inside the outer ring: the flood reaches the most
// cells it ever can (every cell within 25 steps).
void BM_PlayFieldRebuildOpenCave(benchmark::State& state) {
    c_MyApp* app = app_with_level(1000);
    for (int c = 0; c < kGridSide; ++c) {
        for (int r = 0; r < kGridSide; ++r) app->m_grid[cell_index(c, r) + kCellSolid] = 0;
    }
    for (auto _ : state) {
        app->BuildDistanceField(64, 65, kPlayFloodPasses);
        benchmark::DoNotOptimize(app->m_grid[cell_index(64, 65)]);
    }
}
BENCHMARK(BM_PlayFieldRebuildOpenCave);

void BM_BaseFlood(benchmark::State& state) {
    c_MyApp* app = app_with_level(1000);
    for (auto _ : state) benchmark::DoNotOptimize(app->BuildDistanceField(64, 64, 257));
}
BENCHMARK(BM_BaseFlood);

void BM_WholeLevel(benchmark::State& state) {
    int clock = 0;
    for (auto _ : state) benchmark::DoNotOptimize(app_with_level(++clock));
}
BENCHMARK(BM_WholeLevel)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
