// The one shared linear congruential generator behind all of the game's randomness. Every
// caller draws in a fixed order, so the same seed and the same inputs give the same game.
#pragma once

#include <cstdint>

extern uint32_t kv_random_Seed;

// One step of the recurrence: the generator and seeding advance the state the same way.
inline uint32_t kv_random_Next(uint32_t state) { return state * 1664525u + 1013904223u; }

float kv_random_Rnd();
float kv_random_Rnd2(float lo, float hi);
float kv_random_Rnd3(float range);
