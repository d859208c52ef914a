// The vertex layout of a quad: for games that fill PushQuadSpace's room themselves.
// The pre-transformed vertex and the six vertices of a screen-space quad. No
// Windows header here: the layout is tested natively as well.
#pragma once
#include <stdint.h>

#include <emmintrin.h>

struct Vertex2D {
  float x, y;     // pixels of the bound target, already offset by -0.5
  float z;        // always 0.5
  float rhw;      // always 1.0
  uint32_t diffuse;  // ARGB
  float u, v;
};
static_assert(sizeof(Vertex2D) == 28, "the device reads 28-byte vertices");

enum : uint32_t {
  VERTEX2D_FVF = 0x144,  // XYZRHW | DIFFUSE | TEX1
  VERTEX2D_STRIDE = sizeof(Vertex2D),
  QUAD_VERTICES = 6,
};

// [a[i], a[j], b[k], b[l]]: one shufps.
#define LQ_PICK(a, b, i, j, k, l) _mm_shuffle_ps(a, b, _MM_SHUFFLE(l, k, j, i))

// Two clockwise triangles (top-left, top-right, bottom-left; top-right,
// bottom-right, bottom-left) for l < r and t < b. Corners are used as given, never
// sorted. The -0.5 puts the vertex of pixel x on that pixel's centre.
//
// Inline, and written with SSE: it runs once per quad into the batch's storage,
// where plain code spends one store per field (42 a quad). The six vertices are
// 42 floats: ten 16-byte stores and one 8-byte store, the 8-byte one first when
// out sits 8 bytes past a 16-byte boundary (every other quad of a batch), so that
// on 8-byte aligned storage no store crosses a cache line.
inline void LayoutQuad(Vertex2D out[QUAD_VERTICES], float left, float top, float right,
                       float bottom, uint32_t color, float uLeft, float vTop, float uRight,
                       float vBottom) {
  // Each offset result is a 32-bit float: l, t, r, b.
  const __m128 q = _mm_sub_ps(_mm_setr_ps(left, top, right, bottom), _mm_set1_ps(0.5f));
  const __m128 zw = _mm_setr_ps(0.5f, 1.0f, 0.5f, 1.0f);  // z, rhw
  const __m128 c = _mm_castsi128_ps(_mm_set1_epi32((int)color));
  const __m128 uv = _mm_setr_ps(uLeft, vTop, uRight, vBottom);
  // Pairs for the picks below: each name lists its lanes.
  const __m128 ttzz = LQ_PICK(q, zw, 1, 1, 0, 0), bbzz = LQ_PICK(q, zw, 3, 3, 0, 0);
  const __m128 wwcc = LQ_PICK(zw, c, 1, 1, 0, 0);
  const __m128 ccul = LQ_PICK(c, uv, 0, 0, 0, 1), ccur = LQ_PICK(c, uv, 0, 0, 2, 3);
  const __m128 vtrr = LQ_PICK(uv, q, 1, 1, 2, 2), vbrr = LQ_PICK(uv, q, 3, 3, 2, 2);
  const __m128 vbll = LQ_PICK(uv, q, 3, 3, 0, 0);
  float* f = reinterpret_cast<float*>(out);
  if ((reinterpret_cast<uintptr_t>(out) & 8) == 0) {
    _mm_storeu_ps(f + 0, LQ_PICK(q, zw, 0, 1, 0, 1));         // l t z w
    _mm_storeu_ps(f + 4, LQ_PICK(ccul, vtrr, 0, 2, 0, 2));    // c uL vT r
    _mm_storeu_ps(f + 8, LQ_PICK(ttzz, wwcc, 0, 2, 0, 2));    // t z w c
    _mm_storeu_ps(f + 12, LQ_PICK(uv, q, 2, 1, 0, 3));        // uR vT l b
    _mm_storeu_ps(f + 16, LQ_PICK(zw, ccul, 0, 1, 0, 2));     // z w c uL
    _mm_storeu_ps(f + 20, LQ_PICK(vbrr, ttzz, 0, 2, 0, 2));   // vB r t z
    _mm_storeu_ps(f + 24, LQ_PICK(wwcc, uv, 0, 2, 2, 1));     // w c uR vT
    _mm_storeu_ps(f + 28, LQ_PICK(q, zw, 2, 3, 0, 1));        // r b z w
    _mm_storeu_ps(f + 32, LQ_PICK(ccur, vbll, 0, 2, 0, 2));   // c uR vB l
    _mm_storeu_ps(f + 36, LQ_PICK(bbzz, wwcc, 0, 2, 0, 2));   // b z w c
    _mm_storel_pi(reinterpret_cast<__m64*>(f + 40), LQ_PICK(uv, uv, 0, 3, 0, 3));  // uL vB
  } else {
    _mm_storel_pi(reinterpret_cast<__m64*>(f), q);            // l t
    _mm_storeu_ps(f + 2, LQ_PICK(zw, ccul, 0, 1, 0, 2));      // z w c uL
    _mm_storeu_ps(f + 6, LQ_PICK(vtrr, ttzz, 0, 2, 0, 2));    // vT r t z
    _mm_storeu_ps(f + 10, LQ_PICK(wwcc, uv, 0, 2, 2, 1));     // w c uR vT
    _mm_storeu_ps(f + 14, LQ_PICK(q, zw, 0, 3, 0, 1));        // l b z w
    _mm_storeu_ps(f + 18, LQ_PICK(ccul, vbrr, 0, 2, 0, 2));   // c uL vB r
    _mm_storeu_ps(f + 22, LQ_PICK(ttzz, wwcc, 0, 2, 0, 2));   // t z w c
    _mm_storeu_ps(f + 26, LQ_PICK(uv, q, 2, 1, 2, 3));        // uR vT r b
    _mm_storeu_ps(f + 30, LQ_PICK(zw, ccur, 0, 1, 0, 2));     // z w c uR
    _mm_storeu_ps(f + 34, LQ_PICK(vbll, bbzz, 0, 2, 0, 2));   // vB l b z
    _mm_storeu_ps(f + 38, LQ_PICK(wwcc, uv, 0, 2, 0, 3));     // w c uL vB
  }
}

// A quad of half sizes hw, hh about its centre (cx, cy), turned so that its
// corner at (+hw, 0) lands at (cx + hw * cosA, cy + hw * sinA): clockwise on a
// screen whose y grows down. Vertex order, offset and texture corners as in
// LayoutQuad; with cosA 1 and sinA 0 the vertices are exactly those of
// LayoutQuad(cx - hw, cy - hh, cx + hw, cy + hh).
void LayoutTurnedQuad(Vertex2D out[QUAD_VERTICES], float cx, float cy, float hw, float hh,
                      float cosA, float sinA, uint32_t color, float uLeft, float vTop,
                      float uRight, float vBottom);
