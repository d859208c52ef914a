// 2D vector helpers. Each stored result is the exact value rounded once to float,
// the same in the x87 build (extended intermediates) and the SSE build: products
// of two floats are exact in double, and the one inexact double step in each
// function is kept from tipping the float rounding. Intermediates go through
// volatile variables so that no register keeps more precision than its type.
#include "util/vec2.h"

#include <math.h>

// x * x + y * y rounded once to float. The double sum of the exact squares is
// within a double unit of the exact sum and never passes a float midpoint, but it
// may land on one: then it is moved one double unit toward the exact sum.
static float SumOfSquares(float x, float y) {
  volatile double a = (double)x * x, b = (double)y * y;
  if (a < b) {
    double t = a;
    a = b;
    b = t;
  }
  volatile double sum = a + b;
  volatile float rounded = (float)sum;
  if ((double)rounded == sum) return rounded;
  volatile float other = nextafterf(rounded, sum > rounded ? INFINITY : -INFINITY);
  volatile double below = sum - rounded, above = other - sum;  // both exact
  if (below != above) return rounded;
  volatile double error = (a - sum) + b;  // a - sum is exact as sum lies in [a, 2a]
  if (error == 0.0) return rounded;
  sum = nextafter(sum, error > 0.0 ? INFINITY : -INFINITY);
  rounded = (float)sum;
  return rounded;
}

float GetVec2Length(float x, float y) {
  volatile float s = SumOfSquares(x, y);
  // Rounding the double root again to float is harmless: 53 bits are more than
  // twice the float's 24 plus two.
  volatile float length = (float)sqrt((double)s);
  return length;
}

// x * length is exact in double, so the quotient is the only rounding before the
// float one, and a quotient of such numbers is never close enough to a float
// midpoint for that first rounding to matter.
static float Scaled(float v, float length, float current) {
  volatile double scaled = (double)v * length / current;
  volatile float rounded = (float)scaled;
  return rounded;
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
  volatile float dx = to->x - from->x;
  volatile float dy = to->y - from->y;
  out->x = dx;
  out->y = dy;
  SetVec2Length(out, length);
}
