#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <vector>

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

// Beside the generated table, the edges of the exact paths: a length of 3 is no
// power of two, so scaling in float would round x * 3 before the division; and a
// sum of squares below FLT_MIN one double unit above a float midpoint, which the
// repair must leave where it is (below the midpoint it would round to even, down).
TEST(Vec2, EdgesOfTheExactPaths) {
  Vec2 v = {-0x1.7d931ep+7f, -0x1.dda176p+8f};
  SetVec2Length(&v, 3);
  EXPECT_TRUE(v.x == -0x1.1ce31p+0f && v.y == -0x1.649a6cp+1f) << v.x << ", " << v.y;
  EXPECT_EQ(0x1.002002p-64f, GetVec2Length(0x1.002p-64f, 0x1.8p-91f));
}

// From +0 up the bits keep the float's order; NaN and every negative read above.
TEST(FloatBits, AscendFromZeroThenNaNAndNegatives) {
  const float ascending[] = {0.0f, 0x1p-149f, FLT_MIN, 1.0f, FLT_MAX, INFINITY,
                             NAN,  -0.0f,     -1.0f,   -INFINITY};
  EXPECT_EQ(0x3F800000u, FloatBits(1.0f));
  for (size_t i = 1; i < sizeof ascending / sizeof ascending[0]; ++i)
    EXPECT_LT(FloatBits(ascending[i - 1]), FloatBits(ascending[i])) << i;
}

// The pair gives SetVec2Length's bits for both vectors, or 0 and both unchanged:
// the table's hard cases, the rare paths' edges and random vectors, at lengths
// scaled in double (0.07, 3) and in float (powers of two, one past overflow).
TEST(Vec2, PairScalesAsTheSingleCallOrLeavesBoth) {
  std::vector<Vec2> vectors = {{0, 0},       {0x1p-80f, 0},  {3e19f, 3e19f}, {1e19f, 0}, {NAN, 1},
                               {INFINITY, 0}, {0x1p127f, 0}, {-0.0f, 0x1p-130f}, {1, 2}};
  for (const SetLengthCase& c : kSetLengthCases) vectors.push_back({c.x, c.y});
  uint32_t seed = 3;
  for (int i = 0; i < 400; ++i) {
    seed = seed * 1103515245u + 12345u;
    const float x = static_cast<float>(static_cast<int32_t>(seed) >> 8) / 4096.0f;
    seed = seed * 1103515245u + 12345u;
    vectors.push_back({x, static_cast<float>(static_cast<int32_t>(seed) >> 12) / 1024.0f});
  }
  int paired = 0, tried = 0;
  for (float length : {0.07f, 3.0f, 2.0f, 0.5f, 0x1p64f, kSetLengthCases[0].length}) {
    for (size_t i = 0; i + 1 < vectors.size(); ++i) {
      const Vec2 a = vectors[i], b = vectors[(i * 7 + 1) % vectors.size()];
      __m128 both = _mm_setr_ps(a.x, a.y, b.x, b.y);
      float out[4];
      const int done = SetVec2LengthPair(&both, length);
      ASSERT_TRUE(done == 0 || done == 1);
      _mm_storeu_ps(out, both);
      Vec2 sa = a, sb = b;
      SetVec2Length(&sa, length), SetVec2Length(&sb, length);
      const Vec2 wa = done ? sa : a, wb = done ? sb : b;
      ASSERT_EQ(0, memcmp(out, &wa, 8)) << i << " at " << length;
      ASSERT_EQ(0, memcmp(out + 2, &wb, 8)) << i << " at " << length;
      paired += done, ++tried;
    }
  }
  EXPECT_GT(paired, tried * 9 / 10);  // the pair path is the common one
  __m128 zero = _mm_setr_ps(0, 0, 1, 1);
  EXPECT_EQ(0, SetVec2LengthPair(&zero, 1.0f));  // a zero vector goes one at a time
}
