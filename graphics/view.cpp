// Drawing at a logical size, scaled into the back buffer at the end of the
// frame, and resets with new presentation parameters (a new back-buffer size).
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "graphics/view_scale.h"

// Made again at the wanted size: unbound first, as the device holds what is bound.
static HRESULT RebuildTargets() {
  EndTargetLeftOpen();  // it holds the flip target it came from
  UnbindResource();
  ReleaseResource();
  return CreateResource();
}

HRESULT SetTargetSize(DWORD width, DWORD height, DWORD scaling) {
  const DWORD oldWidth = Gfx.logicalWidth, oldHeight = Gfx.logicalHeight;
  const DWORD oldScaling = Gfx.scaling;
  Gfx.logicalWidth = width;
  Gfx.logicalHeight = height;
  Gfx.scaling = scaling;
  if (Gfx.lpDevice == NULL || Gfx.lpFlipTexture[0] == NULL) return 0;  // made at the start
  if (Gfx.targetWidth == WantedTargetWidth() && Gfx.targetHeight == WantedTargetHeight()) return 0;
  HRESULT hr = RebuildTargets();
  if (hr == D3D_OK) return 0;
  // Too big for the device: back to the size that worked.
  Gfx.logicalWidth = oldWidth;
  Gfx.logicalHeight = oldHeight;
  Gfx.scaling = oldScaling;
  RebuildTargets();
  return hr;
}

static HRESULT ResetWith(const D3DPRESENT_PARAMETERS& params) {
  HRESULT hr = OnLost();
  if (hr != 0) {
    RestoreFonts();  // those told before the one that refused
    return hr;
  }
  Gfx.PresentParam = params;
  D3DPRESENT_PARAMETERS asked = params;  // Reset writes into what it is given
  hr = Gfx.lpDevice->Reset(&asked);
  // A refused reset leaves nothing to make targets on: the caller resets again.
  return hr != D3D_OK ? hr : OnRestore();
}

HRESULT ResetPresentParam(const D3DPRESENT_PARAMETERS& params) {
  if (Gfx.lpDevice == NULL) return E_FAIL;
  const D3DPRESENT_PARAMETERS old = Gfx.PresentParam;
  HRESULT hr = ResetWith(params);
  // Should the old parameters fail as well, the device stays lost and Flip's
  // recovery resets it with them.
  if (hr != D3D_OK) ResetWith(old);
  return hr;
}

// Flip's copy at a logical size: the picture centred on black, point-sampled at
// whole multiples so that pixels stay square and sharp, filtered otherwise.
void DrawScaledCopy(D3DCOLOR color) {
  IDirect3DDevice9* device = Gfx.lpDevice;
  device->Clear(0, NULL, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
  const D3DPRESENT_PARAMETERS& pp = Gfx.PresentParam;
  const ViewRect place = PlaceView(Gfx.targetWidth, Gfx.targetHeight, pp.BackBufferWidth,
                                   pp.BackBufferHeight, Gfx.scaling);
  const DWORD filter = Gfx.scaling == VIEW_INTEGER ? D3DTEXF_POINT : D3DTEXF_LINEAR;
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
  device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
  DrawRect((float)place.x, (float)place.y, (float)(place.x + place.width),
           (float)(place.y + place.height), color);
}
