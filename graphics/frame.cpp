// Frame begin and end: each frame is drawn into the other flip target over a
// translucent copy of the previous one, then copied to the back buffer and
// presented.
#include "app/play_log.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "util/failure.h"
#include "util/internal.h"

HRESULT SetTrailColor(D3DCOLOR color) {
  Gfx.trailColor = color;
  return 0;
}

HRESULT Clear(D3DCOLOR color) {
  IDirect3DDevice9* device = Gfx.lpDevice;
  if (device == NULL) return E_FAIL;
  const bool withDepth = Gfx.PresentParam.EnableAutoDepthStencil != 0;
  const DWORD flags = withDepth ? D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER : D3DCLEAR_TARGET;
  EndTargetLeftOpen();  // a game target left open ends with the frame

  device->Clear(0, NULL, flags, color, 1.0f, 0);  // whatever is bound; result unused
  ++Gfx.FlipCount;
  const DWORD current = FlipIndex(), previous = current ^ 1;
  HRESULT hr = device->SetRenderTarget(0, Gfx.lpFlipSurface[current]);
  if (hr != D3D_OK) return ReportFailure(FAIL_CLEAR_BIND_TARGET, hr);
  hr = device->SetDepthStencilSurface(Gfx.lpFlipZBuffer[current]);
  if (hr != D3D_OK) return ReportFailure(FAIL_CLEAR_BIND_DEPTH, hr);
  hr = device->Clear(0, NULL, flags, color, 1.0f, 0);
  if (hr != D3D_OK) {
    return ReportFailure(withDepth ? FAIL_CLEAR_TARGET_AND_DEPTH : FAIL_CLEAR_TARGET, hr);
  }
  // Nothing drawn and no scene to close; the failure is still the result.
  hr = BeginScene();
  if (hr != D3D_OK) return hr;

  // The previous frame, tinted by the trail colour, under the new one.
  SetDrawMode(DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR2);
  hr = device->SetTexture(0, Gfx.lpFlipTexture[previous]);
  SuspendCamera2D();  // the frame's own copy, in target pixels
  DrawRect(0.0f, 0.0f, (float)Gfx.targetWidth, (float)Gfx.targetHeight, Gfx.trailColor);
  ResumeCamera2D();
  EndRender();
  device->SetTexture(0, NULL);
  return hr;
}

HRESULT BeginScene() {
  if (Gfx.lpDevice == NULL) return E_FAIL;
  return Gfx.lpDevice->BeginScene();
}

HRESULT BeginRender(D3DCOLOR clearColor) {
  Clear(clearColor);
  return BeginScene();
}

HRESULT EndRender() {
  if (Gfx.lpDevice == NULL) return E_FAIL;
  return Gfx.lpDevice->EndScene();
}

HRESULT Flip(D3DCOLOR color) {
  IDirect3DDevice9* device = Gfx.lpDevice;
  if (device == NULL) return E_FAIL;
  EndTargetLeftOpen();
  if (device->BeginScene() == D3D_OK) {
    // On a failed bind the scene opened here is closed again: left open, every
    // later BeginScene would fail and no new frame would ever show.
    HRESULT hr = device->SetRenderTarget(0, Gfx.lpBackSurface);
    if (hr != D3D_OK) {
      EndRender();
      return ReportFailure(FAIL_FLIP_BIND_BACK_SURFACE, hr);
    }
    hr = device->SetDepthStencilSurface(Gfx.lpBackZBuffer);
    if (hr != D3D_OK) {
      EndRender();
      return ReportFailure(FAIL_FLIP_BIND_BACK_DEPTH, hr);
    }
    device->SetTexture(0, Gfx.lpFlipTexture[FlipIndex()]);
    SuspendCamera2D();  // the copy to the back buffer is in its pixels
    if (Gfx.logicalWidth != 0) {
      DrawScaledCopy(color);
    } else {
      // Ends at W - 0.5, H - 0.5, under whatever draw mode the frame left; but
      // point sampling would take the texel past the last, so filtered then.
      if (Gfx.drawMode & DRAWMODE_POINT) {
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
      }
      DrawRect(0.0f, 0.0f, (float)Gfx.PresentParam.BackBufferWidth - 0.5f,
               (float)Gfx.PresentParam.BackBufferHeight - 0.5f, color);
    }
    ResumeCamera2D();
    EndRender();
  }
  EndPlayFrame();  // a script's shots of this frame: the picture about to be presented
  HRESULT hr = device->Present(NULL, NULL, NULL, NULL);
  if (hr == D3D_OK) return 0;
  return HandlePresentParam(hr, 0);
}
