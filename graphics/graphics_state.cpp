#include "graphics/graphics_state.h"

#include "app/application.h"
#include "graphics/graphics.h"

GraphicsState Gfx;
IDirect3DDevice9* const& GfxDeviceRef = Gfx.lpDevice;
QuadBatch* const GfxQuadBatch = &Gfx.batch;

HRESULT GfxFail(const char* message, HRESULT hr) {
  ErrorBox(message, "Error");
  return hr;
}

HRESULT GfxFatal(const char* message, HRESULT hr) {
  GfxFail(message, hr);
  PostQuitMessage(0);
  return hr;
}
