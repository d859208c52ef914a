// Render-state presets chosen by one flag word, and the linear fog parameters.
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "util/float_bits.h"

static void SetBlend(IDirect3DDevice9* device, DWORD destBlend) {
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, destBlend);
}

static void SetLinearFilter(IDirect3DDevice9* device) {
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
}

// Point sampling while DRAWMODE_POINT is set (over the linear flags); a call
// without it after one with it goes back to the smooth filtering of the frame.
static void SetPointFilter(IDirect3DDevice9* device, DWORD flags, DWORD before) {
  const bool point = (flags & DRAWMODE_POINT) != 0;
  const bool linear = (flags & (DRAWMODE_LINEAR | DRAWMODE_LINEAR2)) != 0;
  if (!point && !(before & DRAWMODE_POINT)) return;
  if (!point && linear) return;  // set just now
  const DWORD filter = point ? D3DTEXF_POINT : D3DTEXF_LINEAR;
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
}

// The first five flags only switch states on; the last four set theirs either
// way on every call, and DRAWMODE_POINT while set. Only the last call's result
// is reported.
HRESULT SetDrawMode(DWORD flags) {
  const DWORD before = Gfx.drawMode;
  Gfx.drawMode = flags;  // remembered even without a device
  IDirect3DDevice9* device = Gfx.lpDevice;
  if (device == NULL) return E_FAIL;

  if (flags & DRAWMODE_BLEND_ALPHA) SetBlend(device, D3DBLEND_INVSRCALPHA);
  if (flags & DRAWMODE_BLEND_ADD) SetBlend(device, D3DBLEND_ONE);  // wins over alpha
  if (flags & DRAWMODE_TEXTURE_MODULATE) {
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  }
  if (flags & DRAWMODE_LINEAR) SetLinearFilter(device);
  if (flags & DRAWMODE_LINEAR2) SetLinearFilter(device);
  SetPointFilter(device, flags, before);

  const bool zbuffer = (flags & DRAWMODE_ZBUFFER) != 0;
  device->SetRenderState(D3DRS_ZWRITEENABLE, zbuffer ? TRUE : FALSE);
  device->SetRenderState(D3DRS_ZENABLE, zbuffer ? D3DZB_TRUE : D3DZB_FALSE);
  device->SetRenderState(D3DRS_CULLMODE, (flags & DRAWMODE_CULL) ? D3DCULL_CCW : D3DCULL_NONE);
  device->SetRenderState(D3DRS_FOGENABLE, (flags & DRAWMODE_FOG) ? TRUE : FALSE);
  const BOOL lighting = (flags & DRAWMODE_LIGHTING) ? TRUE : FALSE;
  device->LightEnable(0, lighting);  // the device's default light 0
  return device->SetRenderState(D3DRS_LIGHTING, lighting);
}

HRESULT RestoreDrawMode() { return SetDrawMode(Gfx.drawMode); }

DWORD GetDrawMode() { return Gfx.drawMode; }

// Sets the parameters of linear table fog; DRAWMODE_FOG switches it on.
HRESULT SetFog(float start, float end, D3DCOLOR color) {
  IDirect3DDevice9* device = Gfx.lpDevice;
  if (device == NULL) return E_FAIL;
  device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_NONE);
  device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
  device->SetRenderState(D3DRS_FOGSTART, FloatBits(start));  // floats go as their bits
  device->SetRenderState(D3DRS_FOGEND, FloatBits(end));
  return device->SetRenderState(D3DRS_FOGCOLOR, color);
}
