// The picture Flip is about to present, read back for a play script's shot: the
// back buffer resolved into a plain target (it may be multisampled), copied to
// system memory and turned into RGB rows.
#include <string.h>

#include "app/play_log.h"
#include "graphics/graphics_state.h"
#include "util/release.h"

long ReadPresentedFrame(std::vector<uint8_t>* rgb, uint32_t* width, uint32_t* height) {
  IDirect3DDevice9* device = Gfx.lpDevice;
  if (device == NULL || Gfx.lpBackSurface == NULL) return E_FAIL;
  D3DSURFACE_DESC desc;
  HRESULT hr = Gfx.lpBackSurface->GetDesc(&desc);
  if (hr != D3D_OK) return hr;
  if (desc.Format != D3DFMT_X8R8G8B8 && desc.Format != D3DFMT_A8R8G8B8) return E_NOTIMPL;
  IDirect3DSurface9 *plain = NULL, *copy = NULL;
  hr = device->CreateRenderTarget(desc.Width, desc.Height, desc.Format, D3DMULTISAMPLE_NONE, 0,
                                  FALSE, &plain, NULL);
  if (hr == D3D_OK) hr = device->StretchRect(Gfx.lpBackSurface, NULL, plain, NULL, D3DTEXF_NONE);
  if (hr == D3D_OK) {
    hr = device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                             D3DPOOL_SYSTEMMEM, &copy, NULL);
  }
  if (hr == D3D_OK) hr = device->GetRenderTargetData(plain, copy);
  D3DLOCKED_RECT locked;
  if (hr == D3D_OK) hr = copy->LockRect(&locked, NULL, D3DLOCK_READONLY);
  if (hr == D3D_OK) {
    rgb->resize((size_t)desc.Width * desc.Height * 3);
    uint8_t* out = rgb->data();
    for (UINT y = 0; y < desc.Height; ++y) {
      const uint8_t* row = (const uint8_t*)locked.pBits + (size_t)locked.Pitch * y;
      for (UINT x = 0; x < desc.Width; ++x, out += 3) {  // B G R X in memory
        out[0] = row[4 * x + 2];
        out[1] = row[4 * x + 1];
        out[2] = row[4 * x];
      }
    }
    copy->UnlockRect();
    *width = desc.Width;
    *height = desc.Height;
  }
  ReleaseAndNull(&copy);
  ReleaseAndNull(&plain);
  return hr;
}
