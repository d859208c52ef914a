// The unit tests' LoadD3DX, in place of graphics/d3dx_library.cpp: no DLL; tests
// that need a font put a fake one (fake_d3d::NewFont) into its slot.
#include "graphics/d3dx_entry.h"

HRESULT LoadD3DX(D3DXEntryPoints* entries) {
  *entries = D3DXEntryPoints{};
  return E_FAIL;
}
