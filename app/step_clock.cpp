#include "app/step_clock.h"

void SetStepClockRate(StepClock* clock, uint32_t stepsPerSecond) {
  if (stepsPerSecond == 0) return;
  // The time carried is kept: ticks times the old rate become ticks times the new.
  const uint32_t old = clock->rate != 0 ? clock->rate : (uint32_t)STEP_RATE_DEFAULT;
  // Divided first: the rates' ratios telescope, so this stays far from overflowing.
  const uint64_t c = clock->carried;
  clock->carried = c / old * stepsPerSecond + c % old * stepsPerSecond / old;
  clock->rate = stepsPerSecond;
}

int CountStepsDue(StepClock* clock, uint64_t now, uint64_t frequency) {
  const uint64_t rate = clock->rate != 0 ? clock->rate : (uint32_t)STEP_RATE_DEFAULT;
  // A clock that steps back counts as standing still.
  uint64_t elapsed = clock->started && now > clock->last ? now - clock->last : 0;
  clock->last = now;
  if (!clock->started || frequency == 0) {
    clock->started = 1;
    clock->carried = 0;
    return 1;
  }
  // Anything past a step beyond the cap is dropped before it is multiplied, so the
  // product stays far from overflowing.
  const uint64_t capTicks = frequency * (STEPS_DUE_MAX + 1) / rate + 1;
  if (elapsed > capTicks) elapsed = capTicks;
  uint64_t worth = clock->carried + elapsed * rate;
  uint64_t steps = worth / frequency;
  clock->carried = worth % frequency;
  return steps > STEPS_DUE_MAX ? STEPS_DUE_MAX : (int)steps;
}
