// Not for games: the exact rounding behind the inline vector calls of util/vec2.h,
// installed only because their bodies need it.
#pragma once
#include <emmintrin.h>
#include <float.h>
#include <stdint.h>

#include "util/float_bits.h"
#include "util/force_inline.h"

// For a sum of squares a + b that lies on a float midpoint or below the float's
// normal range: a double whose rounding to float is the exact sum's.
double NudgeVec2SumOffMidpoint(double a, double b, double sum);

// Exactness needs every float and double step rounded as its type says (SSE2
// arithmetic): the x87 unit keeps wider values in its registers, and the
// Direct3D device narrows it to single precision.
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
#error "float and double must be evaluated as their types (GCC: -msse2 -mfpmath=sse)"
#endif
#if !defined(__SSE2__) && !defined(_M_X64) && !(defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#error "the vector helpers need SSE2"
#endif

// The root of the sum of the squares in the low halves of a and b. The squares
// are exact in double, so only their sum is rounded before the float: harmless
// unless it lands on a float midpoint. In the float's normal range such a double
// has its 29 bits below the float's precision at exactly 1 followed by zeros.
// The float root of a float is rounded once (sqrtss; a double root rounded again
// to float would give the same: 53 bits are more than twice 24 plus two). Kept in
// SSE registers throughout: this is the steering's critical path.
LQ_INLINE __m128 Vec2RootOfSum(__m128d a, __m128d b) {
  __m128d sum = _mm_add_sd(a, b);
  if (_mm_comilt_sd(sum, _mm_set_sd(FLT_MIN)) ||
      (_mm_cvtsi128_si32(_mm_castpd_si128(sum)) & 0x1FFFFFFF) == 0x10000000) {
    const double nudged =
        NudgeVec2SumOffMidpoint(_mm_cvtsd_f64(a), _mm_cvtsd_f64(b), _mm_cvtsd_f64(sum));
    sum = _mm_set_sd(nudged);
  }
  const __m128 rounded = _mm_cvtsd_ss(_mm_castpd_ps(sum), sum);
  return _mm_sqrt_ss(rounded);
}

// A power of two from 1 to 2^64 as the length (the compiler settles this for a
// constant one), and the root small enough that x * length cannot overflow
// (|x| is at most a float step above the root): then x * length is exact in
// float too, and a float division rounds the same exact quotient once.
LQ_INLINE bool IsVec2ScaleExactInFloat(__m128 root, float length) {
  const uint32_t bits = FloatBits(length);
  return (bits & 0x007FFFFFu) == 0 && bits >= 0x3F800000u && bits <= 0x5F800000u &&
         _mm_comile_ss(_mm_mul_ss(root, _mm_set_ss(length)), _mm_set_ss(FLT_MAX / 2));
}
