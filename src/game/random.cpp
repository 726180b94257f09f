// The game's two methods over the shared generator: seeding it, and an integer from an
// inclusive range. Every caller draws in a fixed order, so a seed replays a game exactly.
#include <cmath>

#include "game/app.h"
#include "runtime/random.h"

namespace {
constexpr int kSeedFromClock = -37171650;
}

int c_MyApp::p_SeedRnd(int n) {
    kv_random_Seed = static_cast<uint32_t>(n);
    if (n == kSeedFromClock) n = kv_app_Millisecs();
    uint32_t state = static_cast<uint32_t>(n);
    for (int i = 0; i < 21; ++i) state = kv_random_Next(state);
    kv_random_Seed = state;
    return 0;
}

int c_MyApp::p_Rand(float lo, float hi) {
    double span = static_cast<double>(hi + 0.99f) - lo;
    return static_cast<int>(std::floor(kv_random_Rnd() * span + lo));
}
