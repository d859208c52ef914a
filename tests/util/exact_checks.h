// The documented sine entries and the exact vector table, checked natively and
// again under Wine once the real Direct3D device exists.
#pragma once
#include <gtest/gtest.h>

#include <math.h>

#include "util/sin_table.h"
#include "util/vec2.h"
#include "util/vec2_cases.h"

inline void ExpectDocumentedSinTable() {
  EXPECT_EQ(0.0f, GetSin(0));
  EXPECT_EQ(1.0f, GetSin(2048));
  EXPECT_EQ(-1.0f, GetSin(6144));
  EXPECT_EQ(-8.742278e-08f, GetSin(4096));  // the step keeps single-precision pi
  const double turn = 2 * 3.14159265358979323846;
  for (int i = 0; i < SIN_TABLE_SIZE; ++i) ASSERT_NEAR(sin(turn * i / 8192), GetSin(i), 1e-6) << i;
}

// Each result is the exact value rounded once, in every build: these inputs come
// out differently when the steps are rounded one by one.
inline void ExpectExactVec2Table() {
  for (const LengthCase& c : kLengthCases) {
    EXPECT_EQ(c.length, GetVec2Length(c.x, c.y)) << c.x << ", " << c.y;
    EXPECT_EQ(c.length, GetVec2Length(c.y, c.x)) << c.y << ", " << c.x;
  }
  for (const SetLengthCase& c : kSetLengthCases) {
    Vec2 v = {c.x, c.y};
    SetVec2Length(&v, c.length);
    EXPECT_TRUE(v.x == c.outX && v.y == c.outY) << c.x << ", " << c.y << " to " << c.length;
  }
}
