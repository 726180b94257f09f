// The shared generator: the top 24 bits of each new state, as an exact float in [0, 1).
#include "runtime/random.h"

uint32_t kv_random_Seed = 1234;

float kv_random_Rnd() {
    kv_random_Seed = kv_random_Next(kv_random_Seed);
    return static_cast<float>(kv_random_Seed >> 8) / 16777216.0f;
}

float kv_random_Rnd2(float lo, float hi) { return kv_random_Rnd() * (hi - lo) + lo; }

float kv_random_Rnd3(float range) { return kv_random_Rnd() * range; }
