// The off-screen targets: the back buffer and its depth buffer held by reference,
// the effect target and the two flip targets with their depth buffers. All live in
// the default pool, so they go before a device reset and come back after it.
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "util/failure.h"
#include "util/internal.h"
#include "util/release.h"

DWORD WantedTargetWidth() {
  return Gfx.logicalWidth != 0 ? Gfx.logicalWidth : Gfx.PresentParam.BackBufferWidth;
}
DWORD WantedTargetHeight() {
  return Gfx.logicalHeight != 0 ? Gfx.logicalHeight : Gfx.PresentParam.BackBufferHeight;
}

static HRESULT CreateTarget(IDirect3DTexture9** texture) {
  return Gfx.lpDevice->CreateTexture(Gfx.targetWidth, Gfx.targetHeight, 1, D3DUSAGE_RENDERTARGET,
                                     Gfx.PresentParam.BackBufferFormat, D3DPOOL_DEFAULT, texture,
                                     NULL);
}

static HRESULT CreateFlipTarget(int i) {
  IDirect3DDevice9* device = Gfx.lpDevice;
  const D3DPRESENT_PARAMETERS& pp = Gfx.PresentParam;
  HRESULT hr = CreateTarget(&Gfx.lpFlipTexture[i]);
  if (hr != D3D_OK) return ReportFailure(FAIL_FLIP_TEXTURE, hr);
  hr = Gfx.lpFlipTexture[i]->GetSurfaceLevel(0, &Gfx.lpFlipSurface[i]);
  if (hr != D3D_OK) return ReportFailure(FAIL_FLIP_SURFACE_LEVEL, hr);

  // The depth buffer must match the target's multisampling or nothing draws. A
  // failed query leaves the zeroed record: no multisampling.
  D3DSURFACE_DESC desc = {};
  Gfx.lpFlipSurface[i]->GetDesc(&desc);
  hr = device->CreateDepthStencilSurface(Gfx.targetWidth, Gfx.targetHeight,
                                         pp.AutoDepthStencilFormat, desc.MultiSampleType,
                                         desc.MultiSampleQuality, FALSE, &Gfx.lpFlipZBuffer[i],
                                         NULL);
  if (hr != D3D_OK) return ReportFailure(FAIL_FLIP_DEPTH, hr);
  hr = device->SetRenderTarget(0, Gfx.lpFlipSurface[i]);
  if (hr != D3D_OK) return ReportFailure(FAIL_BIND_FLIP_TARGET, hr);
  hr = device->SetDepthStencilSurface(Gfx.lpFlipZBuffer[i]);
  if (hr != D3D_OK) return ReportFailure(FAIL_BIND_FLIP_DEPTH_AT_START, hr);
  // Target and depth, whatever the automatic depth buffer setting.
  hr = device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  if (hr != D3D_OK) return ReportFailure(FAIL_CLEAR_FLIP_TARGET, hr);
  return D3D_OK;
}

// Called only while the targets are absent: at start-up and after OnLost.
HRESULT CreateResource() {
  IDirect3DDevice9* device = Gfx.lpDevice;
  if (device == NULL) return E_FAIL;
  Gfx.targetWidth = WantedTargetWidth();
  Gfx.targetHeight = WantedTargetHeight();

  HRESULT hr = device->GetRenderTarget(0, &Gfx.lpBackSurface);
  if (hr != D3D_OK) return ReportFailure(FAIL_GET_BACK_SURFACE, hr);
  hr = device->GetDepthStencilSurface(&Gfx.lpBackZBuffer);
  if (hr != D3D_OK) return ReportFailure(FAIL_GET_BACK_DEPTH, hr);
  hr = CreateTarget(&Gfx.lpEffectTexture);
  if (hr != D3D_OK) return ReportFailure(FAIL_EFFECT_TEXTURE, hr);
  hr = Gfx.lpEffectTexture->GetSurfaceLevel(0, &Gfx.lpEffectSurface);
  if (hr != D3D_OK) return ReportFailure(FAIL_EFFECT_SURFACE_LEVEL, hr);
  for (int i = 0; i < 2; ++i) {
    hr = CreateFlipTarget(i);
    if (hr != D3D_OK) return hr;
  }
  hr = device->SetRenderTarget(0, Gfx.lpBackSurface);
  if (hr != D3D_OK) return ReportFailure(FAIL_BIND_BACK_SURFACE, hr);
  hr = device->SetDepthStencilSurface(Gfx.lpBackZBuffer);
  if (hr != D3D_OK) return ReportFailure(FAIL_BIND_BACK_DEPTH, hr);
  return D3D_OK;
}

// The device holds a reference to what is bound, and a reset needs every
// default-pool object gone: back to the start-up binding.
void UnbindResource() {
  IDirect3DDevice9* device = Gfx.lpDevice;
  if (device == NULL) return;
  for (DWORD stage = 0; stage < TEXTURE_STAGES; ++stage) device->SetTexture(stage, NULL);
  if (Gfx.lpBackSurface != NULL) device->SetRenderTarget(0, Gfx.lpBackSurface);
  device->SetDepthStencilSurface(Gfx.lpBackZBuffer);
}

HRESULT ReleaseResource() {
  ReleaseAndNull(&Gfx.lpEffectSurface);
  ReleaseAndNull(&Gfx.lpEffectTexture);
  for (int i = 0; i < 2; ++i) {
    ReleaseAndNull(&Gfx.lpFlipZBuffer[i]);
    ReleaseAndNull(&Gfx.lpFlipSurface[i]);
    ReleaseAndNull(&Gfx.lpFlipTexture[i]);
  }
  ReleaseAndNull(&Gfx.lpBackZBuffer);
  ReleaseAndNull(&Gfx.lpBackSurface);
  return 0;
}

HRESULT SetRenderTarget() {
  if (Gfx.lpDevice == NULL) return E_FAIL;
  HRESULT hr = Gfx.lpDevice->SetRenderTarget(0, Gfx.lpFlipSurface[FlipIndex()]);
  if (hr != D3D_OK) ReportFailure(FAIL_BIND_FLIP_TARGET, hr);
  return hr;
}

HRESULT SetDepthStencilSurface() {
  if (Gfx.lpDevice == NULL) return E_FAIL;
  HRESULT hr = Gfx.lpDevice->SetDepthStencilSurface(Gfx.lpFlipZBuffer[FlipIndex()]);
  if (hr != D3D_OK) ReportFailure(FAIL_BIND_FLIP_DEPTH, hr);
  return hr;
}

IDirect3DTexture9* GetFlipTexture() { return Gfx.lpFlipTexture[FlipIndex()]; }
IDirect3DSurface9* GetFlipSurface() { return Gfx.lpFlipSurface[FlipIndex()]; }
