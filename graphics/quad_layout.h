// The pre-transformed vertex and the six vertices of a screen-space quad. No
// Windows header here: the layout is tested natively as well.
#pragma once
#include <stdint.h>

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

// Two clockwise triangles (top-left, top-right, bottom-left; top-right,
// bottom-right, bottom-left) for l < r and t < b. Corners are used as given, never
// sorted. The -0.5 puts the vertex of pixel x on that pixel's centre.
void LayoutQuad(Vertex2D out[QUAD_VERTICES], float left, float top, float right, float bottom,
                uint32_t color, float uLeft, float vTop, float uRight, float vBottom);

// A quad of half sizes hw, hh about its centre (cx, cy), turned so that its
// corner at (+hw, 0) lands at (cx + hw * cosA, cy + hw * sinA): clockwise on a
// screen whose y grows down. Vertex order, offset and texture corners as in
// LayoutQuad; with cosA 1 and sinA 0 the vertices are exactly those of
// LayoutQuad(cx - hw, cy - hh, cx + hw, cy + hh).
void LayoutTurnedQuad(Vertex2D out[QUAD_VERTICES], float cx, float cy, float hw, float hh,
                      float cosA, float sinA, uint32_t color, float uLeft, float vTop,
                      float uRight, float vBottom);
