#include "graphics/quad_layout.h"

static void SetVertex(Vertex2D* v, float x, float y, uint32_t color, float u, float tv) {
  v->x = x;
  v->y = y;
  v->z = 0.5f;
  v->rhw = 1.0f;
  v->diffuse = color;
  v->u = u;
  v->v = tv;
}

void LayoutQuad(Vertex2D out[QUAD_VERTICES], float left, float top, float right, float bottom,
                uint32_t color, float uLeft, float vTop, float uRight, float vBottom) {
  // Each offset result is stored as a 32-bit float before it is used.
  const float l = left - 0.5f, t = top - 0.5f, r = right - 0.5f, b = bottom - 0.5f;
  SetVertex(&out[0], l, t, color, uLeft, vTop);
  SetVertex(&out[1], r, t, color, uRight, vTop);
  SetVertex(&out[2], l, b, color, uLeft, vBottom);
  SetVertex(&out[3], r, t, color, uRight, vTop);
  SetVertex(&out[4], r, b, color, uRight, vBottom);
  SetVertex(&out[5], l, b, color, uLeft, vBottom);
}
