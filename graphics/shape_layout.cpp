#include "graphics/shape_layout.h"

#include <math.h>

static const double kPi = 3.14159265358979323846;

uint32_t CircleSegments(float radius) {
  if (!(radius > 0) || !isfinite(radius)) return 0;
  if (radius <= 0.5f) return CIRCLE_MIN_SEGMENTS;  // no chord can stray half a pixel
  // The smallest n with cos(pi / n) >= 1 - 0.5 / r, then up to even; the loop
  // mends the one step the rounding of acos can miss.
  const double bound = kPi / acos(1.0 - 0.5 / radius);
  if (!(bound < CIRCLE_MAX_SEGMENTS)) return CIRCLE_MAX_SEGMENTS;
  uint32_t n = (uint32_t)ceil(bound);
  while (n < CIRCLE_MAX_SEGMENTS && radius * (1.0 - cos(kPi / n)) > 0.5) ++n;
  n += n & 1;
  if (n < CIRCLE_MIN_SEGMENTS) n = CIRCLE_MIN_SEGMENTS;
  return n > CIRCLE_MAX_SEGMENTS ? (uint32_t)CIRCLE_MAX_SEGMENTS : n;
}

static void Point(Vertex2D* v, float x, float y, uint32_t color) {
  SetVertex2D(v, x - 0.5f, y - 0.5f, color, 0.0f, 0.0f);
}

// Six vertices on one point: two triangles that cover no pixel.
static void LayoutEmpty(Vertex2D out[QUAD_VERTICES], float x, float y, uint32_t color) {
  for (uint32_t i = 0; i < QUAD_VERTICES; ++i) Point(&out[i], x, y, color);
}

void LayoutTriangle(Vertex2D out[QUAD_VERTICES], float x0, float y0, float x1, float y1,
                    float x2, float y2, uint32_t color) {
  // Positive when clockwise on a screen whose y points down.
  const double winding = ((double)x1 - x0) * ((double)y2 - y0) - ((double)y1 - y0) * ((double)x2 - x0);
  Point(&out[0], x0, y0, color);
  if (winding >= 0) {
    Point(&out[1], x1, y1, color);
    Point(&out[2], x2, y2, color);
  } else {
    Point(&out[1], x2, y2, color);
    Point(&out[2], x1, y1, color);
  }
  out[3] = out[4] = out[5] = out[0];
}

void LayoutLine(Vertex2D out[QUAD_VERTICES], float x0, float y0, float x1, float y1,
                float width, uint32_t color) {
  const double dx = (double)x1 - x0, dy = (double)y1 - y0;
  const double length = sqrt(dx * dx + dy * dy);
  if (!(length > 0) || !(width > 0) || !isfinite(length) || !isfinite(width)) {
    LayoutEmpty(out, x0, y0, color);
    return;
  }
  // Half the width along the normal turned clockwise from the direction: the
  // corners then run as LayoutQuad's, clockwise.
  const double nx = -dy / length * width / 2, ny = dx / length * width / 2;
  Point(&out[0], (float)(x0 - nx), (float)(y0 - ny), color);
  Point(&out[1], (float)(x1 - nx), (float)(y1 - ny), color);
  Point(&out[2], (float)(x0 + nx), (float)(y0 + ny), color);
  out[3] = out[1];
  Point(&out[4], (float)(x1 + nx), (float)(y1 + ny), color);
  out[5] = out[2];
}

// The corner k of n round the unit circle, clockwise on screen from the right.
static void UnitCorner(uint32_t k, uint32_t n, double* x, double* y) {
  const double a = 2 * kPi * (double)(k % n) / n;
  *x = cos(a);
  *y = sin(a);
}

// The polygon's corners at radius * this have the area of the circle.
static double AreaScale(uint32_t n) {
  const double a = 2 * kPi / n;
  return sqrt(a / sin(a));
}

void LayoutCircle(Vertex2D* out, float cx, float cy, float radius, uint32_t segments,
                  uint32_t color) {
  const double r = radius * AreaScale(segments);
  double x0, y0, x1, y1, x2, y2;
  for (uint32_t k = 0; k < segments; k += 2, out += QUAD_VERTICES) {
    UnitCorner(k, segments, &x0, &y0);
    UnitCorner(k + 1, segments, &x1, &y1);
    UnitCorner(k + 2, segments, &x2, &y2);
    Point(&out[0], cx, cy, color);
    Point(&out[1], (float)(cx + r * x0), (float)(cy + r * y0), color);
    Point(&out[2], (float)(cx + r * x1), (float)(cy + r * y1), color);
    out[3] = out[0];
    out[4] = out[2];
    Point(&out[5], (float)(cx + r * x2), (float)(cy + r * y2), color);
  }
}

void LayoutRing(Vertex2D* out, float cx, float cy, float radius, float width,
                uint32_t segments, uint32_t color) {
  const double scale = AreaScale(segments);
  const double outer = radius * scale;
  const double inner = width < radius ? (radius - width) * scale : 0.0;
  double x0, y0, x1, y1;
  for (uint32_t k = 0; k < segments; ++k, out += QUAD_VERTICES) {
    UnitCorner(k, segments, &x0, &y0);
    UnitCorner(k + 1, segments, &x1, &y1);
    // Outer k, outer k + 1, inner k; outer k + 1, inner k + 1, inner k: clockwise.
    Point(&out[0], (float)(cx + outer * x0), (float)(cy + outer * y0), color);
    Point(&out[1], (float)(cx + outer * x1), (float)(cy + outer * y1), color);
    Point(&out[2], (float)(cx + inner * x0), (float)(cy + inner * y0), color);
    out[3] = out[1];
    Point(&out[4], (float)(cx + inner * x1), (float)(cy + inner * y1), color);
    out[5] = out[2];
  }
}

void LayoutRectLine(Vertex2D out[RECT_LINE_GROUPS * QUAD_VERTICES], float left, float top,
                    float right, float bottom, float width, uint32_t color) {
  const float l = fminf(left, right), r = fmaxf(left, right);
  const float t = fminf(top, bottom), b = fmaxf(top, bottom);
  for (uint32_t g = 0; g < RECT_LINE_GROUPS; ++g) LayoutEmpty(out + g * QUAD_VERTICES, l, t, color);
  if (!(width > 0) || !isfinite(width)) return;
  if (2 * width >= r - l || 2 * width >= b - t) {
    LayoutQuad(out, l, t, r, b, color, 0, 0, 0, 0);  // no hole left
    return;
  }
  LayoutQuad(out, l, t, r, t + width, color, 0, 0, 0, 0);
  LayoutQuad(out + QUAD_VERTICES, l, b - width, r, b, color, 0, 0, 0, 0);
  LayoutQuad(out + 2 * QUAD_VERTICES, l, t + width, l + width, b - width, color, 0, 0, 0, 0);
  LayoutQuad(out + 3 * QUAD_VERTICES, r - width, t + width, r, b - width, color, 0, 0, 0, 0);
}
