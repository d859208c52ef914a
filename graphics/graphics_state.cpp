#include "graphics/graphics_state.h"

#include "app/application.h"

GraphicsState Gfx;

HRESULT GfxFail(const char* message, HRESULT hr) {
  ErrorBox(message, "Error");
  return hr;
}

HRESULT GfxFatal(const char* message, HRESULT hr) {
  GfxFail(message, hr);
  PostQuitMessage(0);
  return hr;
}
