// The 2D camera's arithmetic: world points to screen pixels and back, and quads
// laid out through it. No Windows header: the native build tests it.
#pragma once
#include <stdint.h>

#include "graphics/camera2d.h"
#include "graphics/quad_layout.h"

// A camera ready for use: the turn and zoom folded into two factors, the turn's
// cosine and sine taken from the sine table as QuadDesc's are.
struct Camera2DTransform {
  float zoomCos, zoomSin;  // zoom * cos(angle), zoom * sin(angle)
  float cosA, sinA;        // the turn alone, for the inverse
  float targetX, targetY, offsetX, offsetY, zoom;
  int32_t angle;
};

// Fills the transform and returns 0; -1, the transform untouched, for a zoom not
// above 0 or anything not finite. Fills the sine table when it is empty.
int MakeCamera2DTransform(const Camera2D& camera, Camera2DTransform* out);

// offset + turn(angle) * zoom * (p - target), in place.
void Camera2DWorldToScreen(const Camera2DTransform& t, float* x, float* y);
// The inverse: target + turn(-angle) * (p - offset) / zoom, in place.
void Camera2DScreenToWorld(const Camera2DTransform& t, float* x, float* y);
// Vertices laid out in world units (x and y offset by -0.5), moved to the screen
// in place, the -0.5 kept on the screen side.
void Camera2DVertices(const Camera2DTransform& t, Vertex2D* vertices, uint32_t count);

// A quad given by world corners, laid out through the camera: the vertices of
// LayoutQuad's order, texture corners and offset, each corner moved by
// Camera2DWorldToScreen. Inline and in SSE: it runs once per pushed quad.
inline void LayoutQuadCamera2D(Vertex2D out[QUAD_VERTICES], const Camera2DTransform& t,
                               float left, float top, float right, float bottom,
                               uint32_t color, float uLeft, float vTop, float uRight,
                               float vBottom) {
  // Corners top-left, top-right, bottom-left, bottom-right.
  const __m128 dx = _mm_sub_ps(_mm_setr_ps(left, right, left, right), _mm_set1_ps(t.targetX));
  const __m128 dy = _mm_sub_ps(_mm_setr_ps(top, top, bottom, bottom), _mm_set1_ps(t.targetY));
  const __m128 c = _mm_set1_ps(t.zoomCos), s = _mm_set1_ps(t.zoomSin);
  const __m128 half = _mm_set1_ps(0.5f);
  // Rounded as Camera2DWorldToScreen rounds, then offset by -0.5.
  const __m128 x = _mm_sub_ps(
      _mm_add_ps(_mm_set1_ps(t.offsetX), _mm_sub_ps(_mm_mul_ps(c, dx), _mm_mul_ps(s, dy))), half);
  const __m128 y = _mm_sub_ps(
      _mm_add_ps(_mm_set1_ps(t.offsetY), _mm_add_ps(_mm_mul_ps(s, dx), _mm_mul_ps(c, dy))), half);
  const __m128 xy01 = _mm_unpacklo_ps(x, y), xy23 = _mm_unpackhi_ps(x, y);
  const __m128 rgba = _mm_castsi128_ps(_mm_set1_epi32((int)color));
  // z, rhw, colour, u of the left and right corners.
  const __m128 left4 = _mm_setr_ps(0.5f, 1.0f, 0.0f, uLeft);
  const __m128 right4 = _mm_setr_ps(0.5f, 1.0f, 0.0f, uRight);
  const __m128 zwcL = LQ_PICK(left4, LQ_PICK(rgba, left4, 0, 0, 3, 3), 0, 1, 0, 2);
  const __m128 zwcR = LQ_PICK(right4, LQ_PICK(rgba, right4, 0, 0, 3, 3), 0, 1, 0, 2);
  const __m128 vT = _mm_set_ss(vTop), vB = _mm_set_ss(vBottom);
  float* f = reinterpret_cast<float*>(out);
  // Vertex k: position (2 floats), z rhw colour u (4), v (1).
  _mm_storel_pi(reinterpret_cast<__m64*>(f + 0), xy01);  // top-left
  _mm_storeu_ps(f + 2, zwcL);
  _mm_store_ss(f + 6, vT);
  _mm_storeh_pi(reinterpret_cast<__m64*>(f + 7), xy01);  // top-right
  _mm_storeu_ps(f + 9, zwcR);
  _mm_store_ss(f + 13, vT);
  _mm_storel_pi(reinterpret_cast<__m64*>(f + 14), xy23);  // bottom-left
  _mm_storeu_ps(f + 16, zwcL);
  _mm_store_ss(f + 20, vB);
  _mm_storeh_pi(reinterpret_cast<__m64*>(f + 21), xy01);  // top-right
  _mm_storeu_ps(f + 23, zwcR);
  _mm_store_ss(f + 27, vT);
  _mm_storeh_pi(reinterpret_cast<__m64*>(f + 28), xy23);  // bottom-right
  _mm_storeu_ps(f + 30, zwcR);
  _mm_store_ss(f + 34, vB);
  _mm_storel_pi(reinterpret_cast<__m64*>(f + 35), xy23);  // bottom-left
  _mm_storeu_ps(f + 37, zwcL);
  _mm_store_ss(f + 41, vB);
}
