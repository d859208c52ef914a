// 2D float vector helpers used for aiming and steering. Each result is the exact
// value rounded once to float. Inline, on the SSE2 unit: the demo runs them twice
// per enemy every frame; only the rare rounding repair is out of line.
#pragma once
#include <emmintrin.h>
#include <float.h>
#include <stdint.h>

#include "util/float_bits.h"
#include "util/force_inline.h"

struct Vec2 {
  float x, y;
};

// The length of (x, y).
LQ_INLINE float GetVec2Length(float x, float y);
// Scales the vector in place to the given length; a zero vector stays zero.
LQ_INLINE void SetVec2Length(Vec2* vector, float length);
// Writes into out the vector from -> to scaled to length (out may alias either).
LQ_INLINE void GetVec2Direction(Vec2* out, const Vec2* from, const Vec2* to, float length);

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

LQ_INLINE float GetVec2Length(float x, float y) {
  return _mm_cvtss_f32(Vec2RootOfSum(_mm_set_sd((double)x * x), _mm_set_sd((double)y * y)));
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

// Both components go through the SSE2 unit side by side, widened to double
// once for the squares and the scaling. x * length is exact in double, so the
// quotient is the only rounding before the float one, and a quotient of such
// numbers is never close enough to a float midpoint for that first rounding to
// matter.
LQ_INLINE void SetVec2Length(Vec2* vector, float length) {
  if (!vector) return;
  const double x = vector->x, y = vector->y;
  const __m128 current = Vec2RootOfSum(_mm_set_sd(x * x), _mm_set_sd(y * y));
  const __m128d v = _mm_setr_pd(x, y);
  // A zero vector has no direction to keep. The root is +0 or above (or NaN), so
  // one integer test finds the zero.
  if (_mm_cvtsi128_si32(_mm_castps_si128(current)) == 0) return;
  __m128 scaled;
  if (LQ_LIKELY(IsVec2ScaleExactInFloat(current, length))) {
    const __m128 xy = _mm_cvtpd_ps(v);  // the vector's own floats
    scaled = _mm_div_ps(_mm_mul_ps(xy, _mm_set1_ps(length)), _mm_shuffle_ps(current, current, 0));
  } else {
    const __m128d divisor = _mm_cvtps_pd(_mm_shuffle_ps(current, current, 0));
    scaled = _mm_cvtpd_ps(_mm_div_pd(_mm_mul_pd(v, _mm_set1_pd(length)), divisor));
  }
  vector->x = _mm_cvtss_f32(scaled);
  vector->y = _mm_cvtss_f32(_mm_shuffle_ps(scaled, scaled, 1));
}

// Both differences are taken before out is written: out may alias from or to.
LQ_INLINE void GetVec2Direction(Vec2* out, const Vec2* from, const Vec2* to, float length) {
  if (!out || !from || !to) return;
  const float dx = to->x - from->x;
  const float dy = to->y - from->y;
  out->x = dx;
  out->y = dy;
  SetVec2Length(out, length);
}
