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

// Two quads of one colour with the whole texture, laid out as LayoutQuad lays out
// each, in 21 aligned 16-byte stores: out must be 16-byte aligned. a and b are
// the quads' left, top, right and bottom. For swarms: a quad costs half the
// shuffles it costs alone.
inline void LayoutQuadPair(Vertex2D pair[2 * QUAD_VERTICES], __m128 a, __m128 b, uint32_t argb) {
  float* out = reinterpret_cast<float*>(pair);
  const __m128 half = _mm_set1_ps(0.5f);
  const __m128 q = _mm_sub_ps(a, half), p = _mm_sub_ps(b, half);
  const __m128 color = _mm_castsi128_ps(_mm_set1_epi32((int)argb));
  const __m128 zw = _mm_setr_ps(0.5f, 1.0f, 0.5f, 1.0f), zero = _mm_setzero_ps();
  const __m128 one = _mm_set1_ps(1.0f);
  const __m128 c0 = _mm_unpacklo_ps(color, zero);  // c 0 c 0
  const __m128 c1 = _mm_unpacklo_ps(color, one);   // c 1 c 1
  const __m128 onec = _mm_unpacklo_ps(one, color);  // 1 c 1 c
  const __m128 one0 = _mm_unpacklo_ps(one, zero);   // 1 0 1 0
  const __m128 zc = LQ_PICK(zw, c0, 0, 1, 0, 1);       // .5 1 c 0
  const __m128 c10 = LQ_PICK(onec, one0, 0, 1, 0, 1);  // 1 c 1 0
  const __m128 zc1 = LQ_PICK(zw, c1, 0, 1, 0, 1);      // .5 1 c 1
  const __m128 c01 = LQ_PICK(onec, one0, 0, 1, 1, 0);  // 1 c 0 1
  const __m128 qt = LQ_PICK(q, zw, 1, 1, 0, 0), qr = LQ_PICK(q, zw, 2, 2, 1, 1);
  const __m128 ql = LQ_PICK(q, zw, 0, 0, 1, 1), qb = LQ_PICK(q, zw, 3, 3, 0, 0);
  _mm_store_ps(out + 0, LQ_PICK(q, zw, 0, 1, 0, 1));                        // l t .5 1
  _mm_store_ps(out + 4, LQ_PICK(c0, LQ_PICK(q, zero, 2, 2, 0, 0), 0, 1, 2, 0));  // c 0 0 r
  _mm_store_ps(out + 8, LQ_PICK(qt, onec, 0, 2, 0, 1));                     // t .5 1 c
  _mm_store_ps(out + 12, LQ_PICK(one0, q, 0, 1, 0, 3));                     // 1 0 l b
  _mm_store_ps(out + 16, zc);                                            // .5 1 c 0
  _mm_store_ps(out + 20, LQ_PICK(qr, qt, 2, 0, 0, 2));                      // 1 r t .5
  _mm_store_ps(out + 24, c10);                                           // 1 c 1 0
  _mm_store_ps(out + 28, LQ_PICK(q, zw, 2, 3, 0, 1));                       // r b .5 1
  _mm_store_ps(out + 32, LQ_PICK(c1, ql, 0, 1, 2, 0));                      // c 1 1 l
  _mm_store_ps(out + 36, LQ_PICK(qb, onec, 0, 2, 0, 1));                    // b .5 1 c
  _mm_store_ps(out + 40, LQ_PICK(one0, p, 1, 0, 0, 1));                     // 0 1 L T
  const __m128 pt = LQ_PICK(p, zw, 1, 1, 0, 0), pr = LQ_PICK(p, zw, 2, 2, 1, 1);
  const __m128 pl = LQ_PICK(p, zw, 0, 0, 1, 1), pb = LQ_PICK(p, zw, 3, 3, 0, 0);
  _mm_store_ps(out + 44, zc);                                            // .5 1 C 0
  _mm_store_ps(out + 48, LQ_PICK(LQ_PICK(p, zero, 2, 2, 0, 0), pt, 2, 0, 0, 2));  // 0 R T .5
  _mm_store_ps(out + 52, c10);                                           // 1 C 1 0
  _mm_store_ps(out + 56, LQ_PICK(p, zw, 0, 3, 0, 1));                       // L B .5 1
  _mm_store_ps(out + 60, LQ_PICK(c0, pr, 0, 1, 2, 0));                      // C 0 1 R
  _mm_store_ps(out + 64, LQ_PICK(pt, onec, 0, 2, 0, 1));                    // T .5 1 C
  _mm_store_ps(out + 68, LQ_PICK(one0, p, 0, 1, 2, 3));                     // 1 0 R B
  _mm_store_ps(out + 72, zc1);                                           // .5 1 C 1
  _mm_store_ps(out + 76, LQ_PICK(pl, pb, 2, 0, 0, 2));                      // 1 L B .5
  _mm_store_ps(out + 80, c01);                                           // 1 C 0 1
}

// One vertex at (x, y) as given (offset already applied), z 0.5, rhw 1.
void SetVertex2D(Vertex2D* v, float x, float y, uint32_t color, float u, float tv);

// A quad of half sizes hw, hh about its centre (cx, cy), turned so that its
// corner at (+hw, 0) lands at (cx + hw * cosA, cy + hw * sinA): clockwise on a
// screen whose y grows down. Vertex order, offset and texture corners as in
// LayoutQuad; with cosA 1 and sinA 0 the vertices are exactly those of
// LayoutQuad(cx - hw, cy - hh, cx + hw, cy + hh).
void LayoutTurnedQuad(Vertex2D out[QUAD_VERTICES], float cx, float cy, float hw, float hh,
                      float cosA, float sinA, uint32_t color, float uLeft, float vTop,
                      float uRight, float vBottom);
