// The shared generator and the game's two methods over it.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "runtime/random.h"
#include "test_host.h"

namespace {

TEST(Random, SequenceFromTheStartValueIsFixed) {
    kv_random_Seed = 1234;
    uint32_t state = 1234;
    for (int i = 0; i < 5; ++i) {
        state = state * 1664525u + 1013904223u;
        EXPECT_EQ(kv_random_Rnd(), float(state >> 8) / 16777216.0f);
    }
    kv_random_Seed = 1234;
    EXPECT_FLOAT_EQ(kv_random_Rnd(), float((1234u * 1664525u + 1013904223u) >> 8) / 16777216.0f);
}

TEST(Random, SeedingAdvancesTwentyOneTimes) {
    c_MyApp* app = bare_app();
    app->p_SeedRnd(0);
    uint32_t state = 0;
    for (int i = 0; i < 21; ++i) state = state * 1664525u + 1013904223u;
    EXPECT_EQ(kv_random_Seed, state);
    kv_random_Rnd();
    EXPECT_EQ(kv_random_Seed, state * 1664525u + 1013904223u);
}

TEST(Random, NeverReturnsOne) {
    // Find a state whose next draw has all top 24 bits set: the largest possible value.
    uint32_t before = (0xFFFFFF00u - 1013904223u) * 0xFEE058C5u;  // 1664525's inverse mod 2^32
    kv_random_Seed = before;
    EXPECT_EQ(kv_random_Rnd(), 16777215.0f / 16777216.0f);
}

TEST(Random, RandCoversTheInclusiveRange) {
    c_MyApp* app = bare_app();
    struct Range {
        int lo, hi;
    };
    for (Range range : {Range{27, 31}, Range{1, 9}, Range{-3, 9}}) {
        std::map<int, int> seen;
        for (int i = 0; i < 20000; ++i) ++seen[app->p_Rand(float(range.lo), float(range.hi))];
        EXPECT_EQ(seen.begin()->first, range.lo);
        EXPECT_EQ(seen.rbegin()->first, range.hi);
        EXPECT_EQ(int(seen.size()), range.hi - range.lo + 1);
    }
}

}  // namespace
