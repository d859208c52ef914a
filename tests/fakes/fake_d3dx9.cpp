// D3DX as the unit tests see it: LoadD3DX (linked here in place of the game's
// loader, graphics/d3dx_library.cpp) hands out a font maker that makes the fake
// fonts; the image loaders find no file, so a load fails as a missing one does.
#include "fakes/fake_d3d9.h"
#include "graphics/d3dx_entry.h"

namespace {

HRESULT WINAPI FakeCreateFont(IDirect3DDevice9* device, INT, UINT, UINT, UINT, WINBOOL, DWORD,
                              DWORD, DWORD, DWORD, const char*, ID3DXFont** font) {
  if (font == nullptr) return D3DERR_INVALIDCALL;
  *font = device != nullptr ? fake_d3d::NewFont() : nullptr;
  return *font != nullptr ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT WINAPI FakeImageInfo(const char*, D3DXIMAGE_INFO*) { return D3DERR_INVALIDCALL; }

HRESULT WINAPI FakeCreateTexture(IDirect3DDevice9*, const char*, UINT, UINT, UINT, DWORD,
                                 D3DFORMAT, D3DPOOL, DWORD, DWORD, D3DCOLOR, D3DXIMAGE_INFO*,
                                 PALETTEENTRY*, IDirect3DTexture9**) {
  return D3DERR_INVALIDCALL;
}

}  // namespace

HRESULT LoadD3DX(D3DXEntryPoints* entries) {
  *entries = {FakeCreateFont, FakeImageInfo, FakeCreateTexture};
  return 0;
}
