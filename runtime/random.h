// The game's one source of randomness: a 32-bit linear congruential generator
// whose whole state is the public global kz_random_Seed, which game code
// reads, saves, restores and sets to make sequences repeatable. Every call of
// any of the three functions advances it exactly once.
#pragma once

extern int kz_random_Seed;

// A multiple of 2^-24 in [0, 1).
float kz_random_Rnd();
// Rnd() x range.
float kz_random_Rnd3(float range);
// Rnd() x (high - low) + low.
float kz_random_Rnd2(float low, float high);
