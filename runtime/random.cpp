#include "runtime/random.h"

#include <cstdint>

int kz_random_Seed = 1234;

float kz_random_Rnd() {
    const uint32_t state = static_cast<uint32_t>(kz_random_Seed) * 1664525u + 1013904223u;
    kz_random_Seed = static_cast<int>(state);
    return static_cast<float>(state >> 8) * 5.9604645e-08f;  // 2^-24
}

float kz_random_Rnd3(float range) { return kz_random_Rnd() * range; }

float kz_random_Rnd2(float low, float high) { return kz_random_Rnd() * (high - low) + low; }
