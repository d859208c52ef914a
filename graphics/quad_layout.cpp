#include "graphics/quad_layout.h"

void SetVertex2D(Vertex2D* v, float x, float y, uint32_t color, float u, float tv) {
  v->x = x;
  v->y = y;
  v->z = 0.5f;
  v->rhw = 1.0f;
  v->diffuse = color;
  v->u = u;
  v->v = tv;
}

// The corner (dx, dy) of the upright quad, turned and offset. At no turn dx * 1 -
// dy * 0 is dx exactly, so cx + dx rounds as cx - hw does for LayoutQuad.
static void SetCorner(Vertex2D* v, float cx, float cy, float dx, float dy, float cosA,
                      float sinA, uint32_t color, float u, float tv) {
  const float x = cx + (dx * cosA - dy * sinA), y = cy + (dx * sinA + dy * cosA);
  SetVertex2D(v, x - 0.5f, y - 0.5f, color, u, tv);
}

void LayoutTurnedQuad(Vertex2D out[QUAD_VERTICES], float cx, float cy, float hw, float hh,
                      float cosA, float sinA, uint32_t color, float uLeft, float vTop,
                      float uRight, float vBottom) {
  SetCorner(&out[0], cx, cy, -hw, -hh, cosA, sinA, color, uLeft, vTop);
  SetCorner(&out[1], cx, cy, hw, -hh, cosA, sinA, color, uRight, vTop);
  SetCorner(&out[2], cx, cy, -hw, hh, cosA, sinA, color, uLeft, vBottom);
  out[3] = out[1];
  SetCorner(&out[4], cx, cy, hw, hh, cosA, sinA, color, uRight, vBottom);
  out[5] = out[2];
}
