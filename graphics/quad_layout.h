// Not for games: installed only because the inline PushRect of graphics/graphics.h needs it.
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

// One vertex in three stores: x, y, z, rhw; colour and u (the low or the high
// half of cu); v.
inline void StoreVertex(Vertex2D* vertex, __m128 xyzw, __m128 cu, bool high, float v) {
  _mm_storeu_ps(&vertex->x, xyzw);
  __m64* colourAndU = reinterpret_cast<__m64*>(&vertex->diffuse);
  if (high) {
    _mm_storeh_pi(colourAndU, cu);
  } else {
    _mm_storel_pi(colourAndU, cu);
  }
  vertex->v = v;
}

// Two clockwise triangles (top-left, top-right, bottom-left; top-right,
// bottom-right, bottom-left) for l < r and t < b. Corners are used as given, never
// sorted. The -0.5 puts the vertex of pixel x on that pixel's centre.
//
// Inline, and written with SSE: it runs once per quad into the batch's storage,
// where plain code spends one store per field (42 a quad). Here each vertex is
// one 16-byte store of x, y, z, rhw, one 8-byte store of colour and u, and v.
inline void LayoutQuad(Vertex2D out[QUAD_VERTICES], float left, float top, float right,
                       float bottom, uint32_t color, float uLeft, float vTop, float uRight,
                       float vBottom) {
  // Each offset result is a 32-bit float: l, t, r, b.
  const __m128 corners = _mm_sub_ps(_mm_setr_ps(left, top, right, bottom), _mm_set1_ps(0.5f));
  const __m128 depth = _mm_setr_ps(0.5f, 1.0f, 0.5f, 1.0f);  // z, rhw
  const __m128 lt = _mm_shuffle_ps(corners, depth, _MM_SHUFFLE(1, 0, 1, 0));
  const __m128 rt = _mm_shuffle_ps(corners, depth, _MM_SHUFFLE(1, 0, 1, 2));
  const __m128 lb = _mm_shuffle_ps(corners, depth, _MM_SHUFFLE(1, 0, 3, 0));
  const __m128 rb = _mm_shuffle_ps(corners, depth, _MM_SHUFFLE(1, 0, 3, 2));
  // Colour and u: left in the low half, right in the high half.
  const __m128 colour = _mm_castsi128_ps(_mm_cvtsi32_si128((int)color));
  const __m128 cu = _mm_movelh_ps(_mm_unpacklo_ps(colour, _mm_set_ss(uLeft)),
                                  _mm_unpacklo_ps(colour, _mm_set_ss(uRight)));
  StoreVertex(&out[0], lt, cu, false, vTop);
  StoreVertex(&out[1], rt, cu, true, vTop);
  StoreVertex(&out[2], lb, cu, false, vBottom);
  StoreVertex(&out[3], rt, cu, true, vTop);
  StoreVertex(&out[4], rb, cu, true, vBottom);
  StoreVertex(&out[5], lb, cu, false, vBottom);
}

// A quad of half sizes hw, hh about its centre (cx, cy), turned so that its
// corner at (+hw, 0) lands at (cx + hw * cosA, cy + hw * sinA): clockwise on a
// screen whose y grows down. Vertex order, offset and texture corners as in
// LayoutQuad; with cosA 1 and sinA 0 the vertices are exactly those of
// LayoutQuad(cx - hw, cy - hh, cx + hw, cy + hh).
void LayoutTurnedQuad(Vertex2D out[QUAD_VERTICES], float cx, float cy, float hw, float hh,
                      float cosA, float sinA, uint32_t color, float uLeft, float vTop,
                      float uRight, float vBottom);
