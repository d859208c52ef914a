// 2D vector helpers. Intermediates go through float variables marked volatile so
// the x87 build rounds where the native build does.
#include "util/vec2.h"

#include <math.h>

float GetVec2Length(float x, float y) {
  volatile float xx = x * x;
  volatile float yy = y * y;
  volatile float sum = xx + yy;
  volatile float length = sqrtf(sum);
  return length;
}

void SetVec2Length(Vec2* vector, float length) {
  if (!vector) return;
  float current = GetVec2Length(vector->x, vector->y);
  if (current == 0.0f) return;  // a zero vector has no direction to keep
  volatile float x = vector->x / current;
  volatile float y = vector->y / current;
  vector->x = x * length;
  vector->y = y * length;
}

// Both differences are taken before out is written: out may alias from or to.
void GetVec2Direction(Vec2* out, const Vec2* from, const Vec2* to, float length) {
  if (!out || !from || !to) return;
  float dx = to->x - from->x;
  float dy = to->y - from->y;
  out->x = dx;
  out->y = dy;
  SetVec2Length(out, length);
}
