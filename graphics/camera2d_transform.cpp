#include "graphics/camera2d_transform.h"

#include <math.h>

#include "util/sin_table.h"

int MakeCamera2DTransform(const Camera2D& camera, Camera2DTransform* out) {
  const float values[] = {camera.targetX, camera.targetY, camera.offsetX, camera.offsetY,
                          camera.zoom};
  for (float value : values) {
    if (!isfinite(value)) return -1;
  }
  if (!(camera.zoom > 0)) return -1;
  if (GetSin(SIN_TABLE_SIZE / 4) == 0) InitSinTable();  // the game has not filled it
  // A quarter turn on is the cosine; unsigned, so that any angle wraps.
  const float cosA = GetSin((int32_t)((uint32_t)camera.angle + SIN_TABLE_SIZE / 4));
  const float sinA = GetSin(camera.angle);
  out->zoomCos = camera.zoom * cosA;
  out->zoomSin = camera.zoom * sinA;
  out->cosA = cosA;
  out->sinA = sinA;
  out->targetX = camera.targetX;
  out->targetY = camera.targetY;
  out->offsetX = camera.offsetX;
  out->offsetY = camera.offsetY;
  out->zoom = camera.zoom;
  out->angle = camera.angle;
  return 0;
}

void Camera2DWorldToScreen(const Camera2DTransform& t, float* x, float* y) {
  const float dx = *x - t.targetX, dy = *y - t.targetY;
  *x = t.offsetX + (t.zoomCos * dx - t.zoomSin * dy);
  *y = t.offsetY + (t.zoomSin * dx + t.zoomCos * dy);
}

// The turn's table entries are within a float's rounding of a unit vector, so
// turning back by the transpose undoes the turn to that rounding.
void Camera2DScreenToWorld(const Camera2DTransform& t, float* x, float* y) {
  const float dx = (*x - t.offsetX) / t.zoom, dy = (*y - t.offsetY) / t.zoom;
  *x = t.targetX + (t.cosA * dx + t.sinA * dy);
  *y = t.targetY + (t.cosA * dy - t.sinA * dx);
}

void Camera2DVertices(const Camera2DTransform& t, Vertex2D* vertices, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    float x = vertices[i].x + 0.5f, y = vertices[i].y + 0.5f;
    Camera2DWorldToScreen(t, &x, &y);
    vertices[i].x = x - 0.5f;
    vertices[i].y = y - 0.5f;
  }
}
