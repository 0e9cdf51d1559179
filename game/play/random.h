// The gameplay's use of the one random generator: levels, stars and the
// revival of a walker are reproducible because the generator is re-seeded
// and a fixed number of draws is thrown away before the first one counts.
#pragma once

// Seeds the generator with `seed` and takes `discards` draws.
void ReseedRandom(int seed, int discards);
