// The glow: the frame drawn so far is shrunk to a quarter of the effect target and
// stretched back over itself additively in the caller's colour; the linear
// filtering of both passes does the softening.
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "util/failure.h"
#include "util/internal.h"

// Called inside the scene with the current flip target bound; leaves it bound,
// the effect texture on stage 0 and the caller's draw mode in force.
HRESULT DrawEffectGaussianBlur(D3DCOLOR color) {
  IDirect3DDevice9* device = Gfx.lpDevice;
  if (device == NULL) return E_FAIL;
  IDirect3DTexture9* source = Gfx.lpFlipTexture[FlipIndex()];
  if (source == NULL) return E_FAIL;  // targets released by a device loss
  if (InGameTarget()) return E_FAIL;  // the glow is the frame's, not a game target's

  HRESULT hr = device->SetTexture(0, source);
  if (hr != D3D_OK) return ReportFailure(FAIL_BLUR_BIND_SOURCE, hr);
  hr = device->SetRenderTarget(0, Gfx.lpEffectSurface);
  if (hr != D3D_OK) return ReportFailure(FAIL_BLUR_BIND_EFFECT_TARGET, hr);
  hr = device->SetDepthStencilSurface(NULL);
  if (hr != D3D_OK) return ReportFailure(FAIL_BLUR_UNBIND_DEPTH, hr);
  hr = device->Clear(0, NULL, D3DCLEAR_TARGET, 0, 1.0f, 0);
  if (hr != D3D_OK) return ReportFailure(FAIL_BLUR_CLEAR, hr);

  const DWORD callerMode = GetDrawMode();
  SetDrawMode(DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR);
  // Integer halves: an odd size drops its remainder.
  const DWORD halfWidth = Gfx.targetWidth / 2;
  const DWORD halfHeight = Gfx.targetHeight / 2;
  SuspendCamera2D();  // the glow's passes are in target pixels
  DrawRect(0.0f, 0.0f, (float)halfWidth, (float)halfHeight, 0xFFFFFFFF);
  ResumeCamera2D();

  SetRenderTarget();  // each reports its own failure
  SetDepthStencilSurface();
  hr = device->SetTexture(0, Gfx.lpEffectTexture);
  if (hr != D3D_OK) return ReportFailure(FAIL_BLUR_BIND_EFFECT_TEXTURE, hr);
  SetDrawMode(DRAWMODE_BLEND_ADD | DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR2);
  // Only the quarter drawn above, over the whole flip target.
  SuspendCamera2D();
  DrawRectUV(0.0f, 0.0f, (float)Gfx.targetWidth, (float)Gfx.targetHeight, color, 0.0f, 0.0f,
             0.5f, 0.5f);
  ResumeCamera2D();
  return SetDrawMode(callerMode);
}
