// 2D float vector helpers used for aiming and steering. Each result is the exact
// value rounded once to float. Inline, on the SSE2 unit: the demo runs them twice
// per enemy every frame; only the rare rounding repair is out of line.
#pragma once
#include "util/force_inline.h"
#include "util/vec2_exact.h"

struct Vec2 {
  float x, y;
};

// The length of (x, y).
LQ_INLINE float GetVec2Length(float x, float y);
// Scales the vector in place to the given length; a zero vector stays zero.
LQ_INLINE void SetVec2Length(Vec2* vector, float length);
// Writes into out the vector from -> to scaled to length (out may alias either).
LQ_INLINE void GetVec2Direction(Vec2* out, const Vec2* from, const Vec2* to, float length);
// Two vectors (x0, y0, x1, y1) scaled to length at once, each exactly as
// SetVec2Length scales it; for loops over many. 0, changing nothing, when either
// needs the rare rounding repair (a sum of squares on a float midpoint, below
// FLT_MIN or not finite) or would overflow in float: scale those one at a time.
LQ_INLINE int SetVec2LengthPair(__m128* vectors, float length);

LQ_INLINE float GetVec2Length(float x, float y) {
  return _mm_cvtss_f32(Vec2RootOfSum(_mm_set_sd((double)x * x), _mm_set_sd((double)y * y)));
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

LQ_INLINE int SetVec2LengthPair(__m128* vectors, float length) {
  const __m128 v = *vectors;
  const __m128d a = _mm_cvtps_pd(v), b = _mm_cvtps_pd(_mm_movehl_ps(v, v));
  const __m128d aa = _mm_mul_pd(a, a), bb = _mm_mul_pd(b, b);
  const __m128d sums = _mm_add_pd(_mm_unpacklo_pd(aa, bb), _mm_unpackhi_pd(aa, bb));
  // The repair's cases, as Vec2RootOfSum finds them, and anything not finite.
  const __m128i midpoint = _mm_cmpeq_epi32(
      _mm_and_si128(_mm_castpd_si128(sums), _mm_set1_epi64x(0x1FFFFFFF)),
      _mm_set1_epi64x(0x10000000));
  const __m128d inRange = _mm_and_pd(_mm_cmpge_pd(sums, _mm_set1_pd(FLT_MIN)),
                                     _mm_cmplt_pd(sums, _mm_set1_pd(FLT_MAX)));
  if ((_mm_movemask_epi8(midpoint) & 0x0F0F) != 0 || _mm_movemask_pd(inRange) != 3) return 0;
  const __m128 roots = _mm_sqrt_ps(_mm_cvtpd_ps(sums));  // r0 r1 0 0
  const __m128 divisors = _mm_unpacklo_ps(roots, roots);  // r0 r0 r1 r1
  __m128 scaled;
  if (IsVec2ScaleExactInFloat(_mm_set_ss(0.0f), length)) {
    const __m128 top = _mm_mul_ps(roots, _mm_set1_ps(length));
    if ((_mm_movemask_ps(_mm_cmple_ps(top, _mm_set1_ps(FLT_MAX / 2))) & 3) != 3) return 0;
    scaled = _mm_div_ps(_mm_mul_ps(v, _mm_set1_ps(length)), divisors);
  } else {
    const __m128d scale = _mm_set1_pd(length);
    const __m128 low = _mm_cvtpd_ps(_mm_div_pd(_mm_mul_pd(a, scale), _mm_cvtps_pd(divisors)));
    const __m128 high = _mm_cvtpd_ps(
        _mm_div_pd(_mm_mul_pd(b, scale), _mm_cvtps_pd(_mm_movehl_ps(divisors, divisors))));
    scaled = _mm_movelh_ps(low, high);
  }
  // Sums in range have roots above zero: no zero vector comes this far.
  *vectors = scaled;
  return 1;
}
