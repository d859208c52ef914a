#include <gtest/gtest.h>

#include "tools/virtual_pad/xinput_script.h"

// Reads as the framework makes them, one round up the slots a frame: the clock
// stands at 0 through a slow first frame and runs from the second frame's first
// read; rumble and the like begin no frame.
TEST(XPadClock, RunsFromTheSecondFrame) {
  const struct {
    uint32_t pad, tick, ms;
    bool read = true;
  } reads[] = {
      {0, 1000, 0}, {1, 1001, 0}, {2, 1001, 0}, {3, 1002, 0},  // frame 1, every slot asked
      {0, 3500, 0, false},                                       // a rumble while it draws
      {0, 4000, 0}, {0, 4016, 16}, {1, 4020, 20}, {0, 4033, 33},
      {0, 4050, 50, false}, {0, 4066, 66},
  };
  XPadClock clock;
  for (const auto& r : reads) {
    uint32_t ms = r.read ? XPadClockRead(&clock, r.pad, r.tick) : XPadClockNow(clock, r.tick);
    EXPECT_EQ(r.ms, ms) << r.tick;
  }
  // With no pad plugged in the game asks again a second later; ticks wrap.
  XPadClock empty;
  for (uint32_t pad = 0; pad < 4; ++pad) EXPECT_EQ(0u, XPadClockRead(&empty, pad, 0xFFFFFF00u));
  EXPECT_EQ(0u, XPadClockRead(&empty, 0, 0xFFFFFFF0u));
  EXPECT_EQ(0x110u, XPadClockRead(&empty, 1, 0x100u));
}
