// The cost of one frame of play on a busy level: a generated cave with the column among many
// enemies, bullets in flight and floating numbers, every table restored before each frame so
// each measured frame is as busy as the first. Also counts the heap allocations per frame.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "test_host.h"

// Every heap allocation of the process passes through here, the C++ ones included.
namespace {
std::atomic<long> allocations{0};
}
extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void* malloc(size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* old, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(old, size);
}

namespace {

constexpr int kEnemies = 90;
constexpr int kBullets = 80;
constexpr int kNumbers = 120;

struct Snapshot {
    std::vector<float> objects, bullets, particles, vars;
    float camX, camY;
};

void save(c_MyApp* app, Snapshot& s) {
    s.objects.assign(&app->m_objects[0], &app->m_objects[0] + kRecordTableLength);
    s.bullets.assign(&app->m_bullets[0], &app->m_bullets[0] + kRecordTableLength);
    s.particles.assign(&app->m_particles[0], &app->m_particles[0] + kRecordTableLength);
    s.vars.assign(&app->m_vars[0], &app->m_vars[0] + kVarsLength);
    s.camX = app->m_camX;
    s.camY = app->m_camY;
}

void restore(c_MyApp* app, const Snapshot& s) {
    for (int i = 0; i < kRecordTableLength; ++i) {
        app->m_objects[i] = s.objects[i];
        app->m_bullets[i] = s.bullets[i];
        app->m_particles[i] = s.particles[i];
    }
    for (int i = 0; i < kVarsLength; ++i) app->m_vars[i] = s.vars[i];
    app->m_camX = s.camX;
    app->m_camY = s.camY;
}

// A level played from its start: the intro run through the real frames, then the screen
// around the column filled with enemies, both kinds of bullets and (unless `quiet`) popups.
// Quiet also hides the score panel and mutes the effects: what is left is play's own work.
c_MyApp* busy_level(bool quiet) {
    TestHost& host = TestHost::Start();
    c_MyApp* app = host.app;
    host.FinishLoading();
    app->m_gameState = kStateStartGame;
    host.Frame();
    while (app->m_introTimer != 0) host.Frame();

    const float x = app->m_vars[kVarPlayerX], y = app->m_vars[kVarPlayerY];
    std::srand(7);
    auto around = [](float centre, float reach) { return centre + (std::rand() % 2001 - 1000) / 1000.0f * reach; };
    for (int i = 0; i < kEnemies; ++i) app->p_SpawnBaddie(around(x, 300), around(y, 220), kKindEnemy);
    for (int i = 0; i < kBullets; ++i) {
        float* b = &app->m_bullets[i * kRecordSize];
        const bool mine = i % 2 == 0;
        b[kBulKind] = mine ? kKindPlayerBullet : kKindEnemyBullet;
        b[kBulX] = around(x, 300);
        b[kBulY] = around(y, 220);
        b[kBulDx] = mine ? 4 : -2.5f;
        b[kBulLife] = 60;
    }
    for (int i = 0; i < kParticleSlotsMax; ++i) app->m_particles[i * kRecordSize + kPartKind] = 0;
    for (int i = 0; i < (quiet ? 0 : kNumbers); ++i) app->p_AddParticle(kKindNumber, around(x, 300), around(y, 220), 0, -0.25f, 25, 3, 0);
    app->m_hudHidden = quiet ? 1 : 0;
    app->m_settings[kSetSoundMode] = quiet ? 0 : 1;
    return app;
}

// Arg 0: the whole frame; arg 1: quiet (see busy_level).
void BM_PlayFrame(benchmark::State& state) {
    c_MyApp* app = busy_level(state.range(0) == 1);
    Snapshot start;
    save(app, start);
    long allocated = 0, frames = 0;
    int drawn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        restore(app, start);
        state.ResumeTiming();
        const long before = allocations.load(std::memory_order_relaxed);
        app->p_Game();
        allocated += allocations.load(std::memory_order_relaxed) - before;
        ++frames;
        drawn = app->m_drawCount / kDrawRecordSize;
    }
    state.counters["allocs_per_frame"] = static_cast<double>(allocated) / static_cast<double>(frames);
    state.counters["draw_records"] = drawn;
}
BENCHMARK(BM_PlayFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
