// The generator's arithmetic over a state of its own, for the module and its
// native table. Not installed.
#pragma once
#include <stdint.h>

struct RandomPcg {
  uint64_t state;
  uint64_t increment;  // odd: selects the sequence
};

// The generator's stream: one fixed sequence for every game.
enum : uint64_t { RANDOM_STREAM = 54 };

void SeedPcg(RandomPcg* rng, uint64_t seed, uint64_t stream);
uint32_t NextPcg(RandomPcg* rng);
// Uniform in 0..bound-1 (bound > 0) by rejecting the low values that would bias it.
uint32_t NextPcgBelow(RandomPcg* rng, uint32_t bound);
