// The fixed step's count over a made-up clock of 1000 ticks a second.
#include <gtest/gtest.h>

#include "app/step_clock.h"

TEST(StepClock, CountsWholeStepsCarriesTheRestAndDropsStalls) {
  const struct { uint32_t rate; uint64_t now; int due; } rows[] = {  // rate 0: none set
      {0, 5000, 1},        // the first count, whenever it comes
      {0, 5010, 0},        // 10 ms: short of a 60 Hz step (16.7 ms)
      {0, 5017, 1},        // 17 ms in all: one step, 0.3 ms carried
      {0, 5033, 0},        // 33 ms: 1.98 steps in all
      {0, 5050, 2},        // 50 ms: three in all, exactly, at 60 a second
      {0, 4000, 0},        // a clock that steps back: none, and no wrap-around
      {0, 4100, 5},        // 100 ms, six steps' worth: the cap
      {0, 9000000, 5},     // a long stall: five, the rest dropped
      {0, 9000010, 0},     // and nothing of it replayed
      {1000, 9000013, 5},  // 1000 a second: 3 ms and the 10 ms carried, the cap
      {0, 9000016, 3},     // 0 refused: still 1000 a second
      {60, 9000026, 0},    // 10 ms at 60 Hz: carried
      {100, 9000026, 1},   // the same 10 ms at 100 Hz: a whole step
      {1000, 9000026 + (1ull << 61), 5},  // a jump of 2^61 ticks: five (times 1000, 0 mod 2^64)
  };
  StepClock clock = {};
  for (const auto& r : rows) {
    SetStepClockRate(&clock, r.rate);
    EXPECT_EQ(CountStepsDue(&clock, r.now, 1000), r.due) << r.now;
  }
  // A clock of no frequency counts one step and drops what was carried; a stall
  // keeps exactly one step's worth past the cap's five (480 carried here, 420 before).
  const struct { uint64_t now, frequency; int due; } more[] = {
      {5000, 1000, 1}, {5010, 1000, 0}, {5011, 0, 1}, {5018, 1000, 0},
      {900000, 1000, 5}, {900008, 1000, 0}, {900009, 1000, 1}};
  clock = {};
  for (const auto& r : more) EXPECT_EQ(CountStepsDue(&clock, r.now, r.frequency), r.due) << r.now;
}
