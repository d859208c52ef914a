// The D3DX matrix functions the framework calls. The arithmetic is D3DX's own:
// the fakes write their arguments into the matrix, so a test sees which ones
// reached the device.
#include "fakes/fake_d3d9.h"

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, FLOAT fovy, FLOAT aspect, FLOAT zn,
                                              FLOAT zf) {
  if (out != nullptr) *out = D3DXMATRIX(fovy, aspect, zn, zf, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  return out;
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye,
                                      const D3DXVECTOR3* at, const D3DXVECTOR3* up) {
  if (out == nullptr || eye == nullptr || at == nullptr || up == nullptr) return out;
  *out = D3DXMATRIX(eye->x, eye->y, eye->z, 0, at->x, at->y, at->z, 0, up->x, up->y, up->z, 0,
                    0, 0, 0, 0);
  return out;
}
