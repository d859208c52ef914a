// The fixed logic step's arithmetic over any clock that counts ticks. No Windows
// header: tested natively over a made-up clock.
#pragma once
#include <stdint.h>

enum { STEP_RATE_DEFAULT = 60, STEPS_DUE_MAX = 5 };

struct StepClock {
  uint64_t last;     // the clock at the last count
  uint64_t carried;  // ticks times the rate not yet worth a whole step
  uint32_t rate;     // steps a second; 0 until set, meaning STEP_RATE_DEFAULT
  int started;       // counted once since the start
};

// Sets the steps a second; 0 is refused and keeps the rate.
void SetStepClockRate(StepClock* clock, uint32_t stepsPerSecond);

// The whole steps due between the last count and now (the clock reads now and
// runs at frequency ticks a second): the first count gives 1; later ones at most
// STEPS_DUE_MAX, dropping the rest of a stall; what is short of a step is carried.
int CountStepsDue(StepClock* clock, uint64_t now, uint64_t frequency);
