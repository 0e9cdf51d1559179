#include "synth.h"

#include <algorithm>

namespace assetgen {

void normalise(Samples& samples, double peak) {
    float loudest = 0;
    for (float s : samples) loudest = std::max(loudest, std::fabs(s));
    if (loudest == 0) return;
    const float gain = float(peak / loudest);
    for (float& s : samples) s *= gain;
}

}  // namespace assetgen
