// The rare path of the vector helpers' exact rounding.
#include "util/vec2.h"

#include <math.h>

// The sum is within a double unit of the exact one and never passes a float
// midpoint, but it may land on one: then it is moved one double unit toward the
// exact sum.
double NudgeVec2SumOffMidpoint(double a, double b, double sum) {
  if (a < b) {
    double t = a;
    a = b;
    b = t;
  }
  const float rounded = (float)sum;
  if ((double)rounded == sum) return sum;
  const float other = nextafterf(rounded, sum > rounded ? INFINITY : -INFINITY);
  const double below = sum - rounded, above = other - sum;  // both exact
  if (below != above) return sum;
  const double error = (a - sum) + b;  // a - sum is exact as sum lies in [a, 2a]
  if (error == 0.0) return sum;
  return nextafter(sum, error > 0.0 ? INFINITY : -INFINITY);
}
