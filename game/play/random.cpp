// Random integers for the gameplay, and re-seeding.
#include "game/play/random.h"

#include <cmath>

#include "game/myapp.h"

void ReseedRandom(int seed, int discards) {
    kz_random_Seed = seed;
    for (int i = 0; i < discards; ++i) kz_random_Rnd();
}

// Floor before the truncation, so that a negative range rounds down too.
int c_MyApp::p_Rand(float low, float high) { return TruncToInt(std::floor(kz_random_Rnd2(low, high + 0.99f))); }

int c_MyApp::p_Rand2(float high) { return p_Rand(0, high); }
