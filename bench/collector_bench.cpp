// The cost of one collector step while a live heap of 1, 10 or 100 MiB is kept and 16 KiB of
// garbage is made before every step, and how much of each full collection's marking the
// incremental steps had already done.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "runtime/array.h"
#include "runtime/gc.h"

namespace {

class Holder : public Object {
public:
    Array<gc_object*> items;
    void mark() override { gc_mark_q(items); }
};

Holder* root_holder;
gc_roots roots([] { gc_mark_q(root_holder); });

// About one KiB: the header, the length and 248 ints.
gc_object* kibibyte_block() { return Array<int>(248).rep; }

void make_garbage() {
    for (int g = 0; g < 16; ++g) kibibyte_block();
}

void build_live_heap(int mebibytes) {
    gc_init_lists();
    gc_new_bytes = gc_alloced_bytes = gc_marked_bytes = gc_free_bytes = 0;
    gc_ext_new_bytes = 0;
    root_holder = new Holder;
    int chunks = mebibytes * 16;
    gc_assign(root_holder->items, Array<gc_object*>(chunks));
    for (int c = 0; c < chunks; ++c) {
        Holder* chunk = new Holder;
        gc_assign(root_holder->items[c], chunk);
        gc_assign(chunk->items, Array<gc_object*>(64));
        for (int i = 0; i < 64; ++i) gc_assign(chunk->items[i], kibibyte_block());
    }
}

void BM_CollectorStep(benchmark::State& state) {
    build_live_heap(static_cast<int>(state.range(0)));
    Object* delegate = new Object;
    gc_mark();
    // Settle through two full collections so the live heap has been found and kept.
    for (int bit = gc_markbit, flips = 0; flips < 2;) {
        make_garbage();
        gc_collect(delegate);
        if (gc_markbit != bit) bit = gc_markbit, ++flips;
    }
    double incremental_share = 0;
    int full_collections = 0;
    double slowest_full_us = 0;
    for (auto _ : state) {
        state.PauseTiming();
        make_garbage();
        bool full = gc_new_bytes + gc_ext_new_bytes > kGcFullCollectBytes;
        int marked_before = gc_marked_bytes;
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        gc_collect(delegate);
        double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        if (full) {
            slowest_full_us = std::max(slowest_full_us, us);
            ++full_collections;
            incremental_share += double(marked_before) / gc_alloced_bytes;
        }
    }
    state.counters["heap_MiB"] = gc_alloced_bytes / 1048576.0;
    state.counters["slowest_full_us"] = slowest_full_us;
    state.counters["full_collections"] = full_collections;
    state.counters["marked_in_advance"] = full_collections ? incremental_share / full_collections : 0;
}
BENCHMARK(BM_CollectorStep)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond)->Iterations(4000);

}  // namespace

BENCHMARK_MAIN();
