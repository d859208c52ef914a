#include <gtest/gtest.h>

#include <math.h>

#include "util/exact_checks.h"
#include "util/vec2.h"

TEST(Vec2, LengthAndSetLength) {
  EXPECT_EQ(5.0f, GetVec2Length(3, 4));
  EXPECT_EQ(5.0f, GetVec2Length(-3, -4));
  EXPECT_EQ(0.0f, GetVec2Length(0, 0));
  Vec2 v = {3, 4};
  SetVec2Length(&v, 10);
  EXPECT_EQ(6.0f, v.x);
  EXPECT_EQ(8.0f, v.y);
  SetVec2Length(&v, -5);
  EXPECT_FLOAT_EQ(-3.0f, v.x);
  EXPECT_FLOAT_EQ(-4.0f, v.y);
  Vec2 zero = {0, 0};
  SetVec2Length(&zero, 10);  // no direction: stays zero, no NaN
  EXPECT_EQ(0.0f, zero.x);
  EXPECT_EQ(0.0f, zero.y);
  SetVec2Length(nullptr, 1);
  // A length that is a power of two is scaled in float, unless x * length would
  // overflow there and give NaN.
  Vec2 top = {0x1p127f, 0};
  SetVec2Length(&top, 2);
  EXPECT_FALSE(isnan(top.x));
}

TEST(Vec2, DirectionAllowsOutToAliasEitherEnd) {
  Vec2 from = {0, 0}, to = {3, 4};
  GetVec2Direction(&from, &from, &to, 1);
  EXPECT_FLOAT_EQ(0.6f, from.x);
  EXPECT_FLOAT_EQ(0.8f, from.y);
  Vec2 start = {1, 1}, end = {4, 5};
  GetVec2Direction(&end, &start, &end, 10);
  EXPECT_FLOAT_EQ(6.0f, end.x);
  EXPECT_FLOAT_EQ(8.0f, end.y);
  Vec2 out = {7, 7}, same = {2, 2};
  GetVec2Direction(&out, &same, &same, 5);
  EXPECT_EQ(0.0f, out.x);
  EXPECT_EQ(0.0f, out.y);
  GetVec2Direction(nullptr, &same, &same, 5);
  GetVec2Direction(&out, nullptr, &same, 5);
}

TEST(Vec2, ExactValueRoundedOnce) { ExpectExactVec2Table(); }
