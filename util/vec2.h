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
