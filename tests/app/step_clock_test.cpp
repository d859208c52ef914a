// The fixed step's count over a made-up clock of 1000 ticks a second.
#include <gtest/gtest.h>

#include "app/step_clock.h"

namespace {

TEST(StepClock, CountsWholeStepsCarriesTheRestAndDropsStalls) {
  struct Row {
    uint32_t rate;  // 0: not set
    uint64_t now;
    int due;
  };
  const Row rows[] = {
      {0, 5000, 1},     // the first count, whenever it comes
      {0, 5010, 0},     // 10 ms: short of a 60 Hz step (16.7 ms)
      {0, 5017, 1},     // 17 ms in all: one step, 0.3 ms carried
      {0, 5050, 2},     // 33 + 0.3 ms: two
      {0, 5050, 0},     // no time
      {0, 4000, 0},     // a clock that steps back: none, and no wrap-around
      {0, 4100, 5},     // 100 ms, six steps' worth: the cap
      {0, 9000000, 5},  // a long stall: five, the rest dropped
      {0, 9000010, 0},  // and nothing of it replayed
      {1000, 9000013, 3},  // 1000 a second: 3 ms, three steps
      {7, 9000013, 0},
      {0, 9000156, 1},  // 0 refused: still 7 a second (143 ms a step)
  };
  StepClock clock = {};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.now);
    SetStepClockRate(&clock, r.rate);
    EXPECT_EQ(CountStepsDue(&clock, r.now, 1000), r.due);
  }
  StepClock still = {};  // a clock that does not run: one step a call
  for (int i = 0; i < 3; ++i) EXPECT_EQ(CountStepsDue(&still, 0, 0), 1);
}

}  // namespace
