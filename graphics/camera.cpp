// Projection and view transforms; the framework's own quads are pre-transformed
// and do not see them.
#include "graphics/camera_math.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"

HRESULT SetProjection(float fovY, float aspect, float zNear, float zFar) {
  if (Gfx.lpDevice == NULL) return E_FAIL;
  D3DMATRIX matrix;
  PerspectiveFovLH(&matrix.m[0][0], fovY, aspect, zNear, zFar);
  return Gfx.lpDevice->SetTransform(D3DTS_PROJECTION, &matrix);
}

HRESULT SetView(const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up) {
  if (Gfx.lpDevice == NULL) return E_FAIL;
  if (eye == NULL || at == NULL || up == NULL) return E_FAIL;  // nothing to build from
  D3DMATRIX matrix;
  LookAtLH(&matrix.m[0][0], &eye->x, &at->x, &up->x);
  return Gfx.lpDevice->SetTransform(D3DTS_VIEW, &matrix);
}
