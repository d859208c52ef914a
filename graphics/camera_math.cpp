// The matrices of the camera, computed here so that no D3DX is needed for them.
#include "graphics/camera_math.h"

#include <math.h>
#include <string.h>

void PerspectiveFovLH(float out[16], float fovY, float aspect, float zNear, float zFar) {
  const float yScale = 1.0f / tanf(fovY / 2);
  const float depth = zFar / (zFar - zNear);
  memset(out, 0, 16 * sizeof(float));
  out[0] = yScale / aspect;
  out[5] = yScale;
  out[10] = depth;
  out[11] = 1.0f;
  out[14] = -zNear * depth;
}

static void Cross(float out[3], const float a[3], const float b[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

static float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// A zero vector stays zero rather than becoming NaN.
static void Normalize(float v[3]) {
  const float length = sqrtf(Dot(v, v));
  if (length > 0) v[0] /= length, v[1] /= length, v[2] /= length;
}

void LookAtLH(float out[16], const float eye[3], const float at[3], const float up[3]) {
  float z[3] = {at[0] - eye[0], at[1] - eye[1], at[2] - eye[2]}, x[3], y[3];
  Normalize(z);
  Cross(x, up, z);
  Normalize(x);
  Cross(y, z, x);
  const float* axes[3] = {x, y, z};
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 3; ++row) out[row * 4 + column] = axes[column][row];
    out[12 + column] = -Dot(axes[column], eye);
    out[column * 4 + 3] = 0.0f;
  }
  out[15] = 1.0f;
}
