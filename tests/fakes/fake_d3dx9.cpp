// The D3DX functions the framework calls, recorded in the fakes' log. The matrix
// helpers compute the real left-handed matrices.
#include <math.h>

#include "fakes/fake_d3d9.h"

static std::string Floats(std::initializer_list<float> values) {
  std::string text;
  char number[32];
  for (float value : values) {
    snprintf(number, sizeof number, "%s%g", text.empty() ? "" : ",", value);
    text += number;
  }
  return text;
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, FLOAT fovy, FLOAT aspect, FLOAT zn,
                                              FLOAT zf) {
  fake_d3d::Record("D3DXMatrixPerspectiveFovLH", "", Floats({fovy, aspect, zn, zf}));
  if (out == nullptr) return out;
  const float yScale = 1.0f / tanf(fovy / 2.0f);
  *out = D3DXMATRIX(yScale / aspect, 0, 0, 0,
                    0, yScale, 0, 0,
                    0, 0, zf / (zf - zn), 1,
                    0, 0, -zn * zf / (zf - zn), 0);
  return out;
}

static D3DXVECTOR3 Normalized(const D3DXVECTOR3& v) {
  const float length = sqrtf(v.x * v.x + v.y * v.y + v.z * v.z);
  return length > 0 ? D3DXVECTOR3(v.x / length, v.y / length, v.z / length) : v;
}

static D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return D3DXVECTOR3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

static float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye,
                                      const D3DXVECTOR3* at, const D3DXVECTOR3* up) {
  if (out == nullptr || eye == nullptr || at == nullptr || up == nullptr) {
    fake_d3d::Record("D3DXMatrixLookAtLH", "", "null");
    return out;
  }
  fake_d3d::Record("D3DXMatrixLookAtLH", "",
                   Floats({eye->x, eye->y, eye->z, at->x, at->y, at->z, up->x, up->y, up->z}));
  const D3DXVECTOR3 z = Normalized(*at - *eye);
  const D3DXVECTOR3 x = Normalized(Cross(*up, z));
  const D3DXVECTOR3 y = Cross(z, x);
  *out = D3DXMATRIX(x.x, y.x, z.x, 0,
                    x.y, y.y, z.y, 0,
                    x.z, y.z, z.z, 0,
                    -Dot(x, *eye), -Dot(y, *eye), -Dot(z, *eye), 1);
  return out;
}
