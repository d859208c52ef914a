// 2D vector helpers. Each stored result is the exact value rounded once to float:
// products of two floats are exact in double, and the one inexact double step in
// each function is kept from tipping the float rounding. That needs every float
// and double step rounded as its type says (SSE2 arithmetic): the x87 unit keeps
// wider values in its registers, and the Direct3D device narrows it to single
// precision.
#include "util/vec2.h"

#include <float.h>
#include <math.h>
#include <stdint.h>
#include <string.h>

#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
#error "float and double must be evaluated as their types (GCC: -msse2 -mfpmath=sse)"
#endif

// The rare case of SumOfSquares: a double sum that lies on a float midpoint, or
// below the float's normal range. The sum is within a double unit of the exact
// one and never passes a float midpoint, but it may land on one: then it is moved
// one double unit toward the exact sum.
static float RoundSumNearMidpoint(double a, double b, double sum) {
  if (a < b) {
    double t = a;
    a = b;
    b = t;
  }
  const float rounded = (float)sum;
  if ((double)rounded == sum) return rounded;
  const float other = nextafterf(rounded, sum > rounded ? INFINITY : -INFINITY);
  const double below = sum - rounded, above = other - sum;  // both exact
  if (below != above) return rounded;
  const double error = (a - sum) + b;  // a - sum is exact as sum lies in [a, 2a]
  if (error == 0.0) return rounded;
  const double moved = nextafter(sum, error > 0.0 ? INFINITY : -INFINITY);
  return (float)moved;
}

// x * x + y * y rounded once to float. The squares are exact in double; their sum
// is rounded to a double.
static float SumOfSquares(float x, float y) {
  const double a = (double)x * x, b = (double)y * y;
  const double s = a + b;
  uint64_t bits;
  memcpy(&bits, &s, sizeof bits);
  // In the float's normal range a double halfway between two floats has its 29
  // bits below the float's precision at exactly 1 followed by zeros.
  if (s >= FLT_MIN && (bits & 0x1FFFFFFFu) != 0x10000000u) return (float)s;
  return RoundSumNearMidpoint(a, b, s);
}

float GetVec2Length(float x, float y) {
  const float s = SumOfSquares(x, y);
  // Rounding the double root again to float is harmless: 53 bits are more than
  // twice the float's 24 plus two.
  return (float)sqrt((double)s);
}

// x * length is exact in double, so the quotient is the only rounding before the
// float one, and a quotient of such numbers is never close enough to a float
// midpoint for that first rounding (to double) to matter.
static float Scaled(float v, float length, float current) {
  return (float)((double)v * length / current);
}

void SetVec2Length(Vec2* vector, float length) {
  if (!vector) return;
  float current = GetVec2Length(vector->x, vector->y);
  if (current == 0.0f) return;  // a zero vector has no direction to keep
  float x = Scaled(vector->x, length, current);
  float y = Scaled(vector->y, length, current);
  vector->x = x;
  vector->y = y;
}

// Both differences are taken before out is written: out may alias from or to.
void GetVec2Direction(Vec2* out, const Vec2* from, const Vec2* to, float length) {
  if (!out || !from || !to) return;
  const float dx = to->x - from->x;
  const float dy = to->y - from->y;
  out->x = dx;
  out->y = dy;
  SetVec2Length(out, length);
}
