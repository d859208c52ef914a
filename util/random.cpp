#include "util/random.h"

#include "util/random_pcg.h"
#include "util/util_state.h"

void SeedPcg(RandomPcg* rng, uint64_t seed, uint64_t stream) {
  rng->state = 0;
  rng->increment = stream << 1 | 1;
  NextPcg(rng);
  rng->state += seed;
  NextPcg(rng);
}

uint32_t NextPcg(RandomPcg* rng) {
  const uint64_t old = rng->state;
  rng->state = old * 6364136223846793005ULL + rng->increment;
  const uint32_t shifted = (uint32_t)(((old >> 18) ^ old) >> 27);
  const uint32_t rotation = (uint32_t)(old >> 59);
  return (shifted >> rotation) | (shifted << ((0u - rotation) & 31));
}

uint32_t NextPcgBelow(RandomPcg* rng, uint32_t bound) {
  const uint32_t threshold = (0u - bound) % bound;  // 2^32 mod bound
  for (;;) {
    const uint32_t r = NextPcg(rng);
    if (r >= threshold) return r % bound;
  }
}

void SeedRandom(uint64_t seed) {
  if (Util.randomSeedHook != nullptr) seed = Util.randomSeedHook(seed);
  SeedPcg(&Util.random, seed, RANDOM_STREAM);
}

// Before any seed (a call ahead of InitApplication): the sequence of seed 0.
static RandomPcg* Generator() {
  if (Util.random.increment == 0) SeedPcg(&Util.random, 0, RANDOM_STREAM);
  return &Util.random;
}

uint32_t GetRandom() { return NextPcg(Generator()); }

int GetRandomRange(int low, int high) {
  if (high <= low) return low;
  // The span fits 32 bits unsigned even from INT_MIN to INT_MAX.
  const uint64_t span = (uint64_t)((int64_t)high - low) + 1;
  const uint32_t r = span > UINT32_MAX ? GetRandom() : NextPcgBelow(Generator(), (uint32_t)span);
  return (int)((int64_t)low + r);
}
