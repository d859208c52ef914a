// The framework's random numbers: PCG32 (a 64-bit linear congruential state
// with a permuted 32-bit output), the same sequence on every machine, so that a
// recorded run replays exactly. Seeded from the clock at the start; a recording
// writes its seed and a replay applies it.
#pragma once
#include <stdint.h>

// Starts the sequence over from seed; a playing script's recorded seed takes
// the place of the game's.
void SeedRandom(uint64_t seed);
// The next 32 random bits.
uint32_t GetRandom();
// A number from low to high, both included, every one as likely (no modulo
// bias); low when high < low.
int GetRandomRange(int low, int high);
