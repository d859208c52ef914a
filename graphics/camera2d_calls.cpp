// The game's 2D camera: kept made ready in the module state, so that a push
// tests one flag and lays its quad out through two factors.
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"

static void UpdateCamera2DOn() {
  Gfx.camera2dOn = Gfx.camera2dSet && Gfx.camera2dSuspended == 0;
}

HRESULT SetCamera2D(const Camera2D* camera) {
  if (camera == NULL) {
    Gfx.camera2dSet = 0;
  } else {
    Camera2DTransform transform;
    if (MakeCamera2DTransform(*camera, &transform) != 0) return E_INVALIDARG;
    Gfx.camera2d = transform;
    Gfx.camera2dSet = 1;
  }
  UpdateCamera2DOn();
  return 0;
}

void WorldToScreen(float* x, float* y) {
  if (x != NULL && y != NULL && Gfx.camera2dOn) Camera2DWorldToScreen(Gfx.camera2d, x, y);
}

void ScreenToWorld(float* x, float* y) {
  if (x != NULL && y != NULL && Gfx.camera2dOn) Camera2DScreenToWorld(Gfx.camera2d, x, y);
}

void SuspendCamera2D() {
  ++Gfx.camera2dSuspended;
  Gfx.camera2dOn = 0;
}

void ResumeCamera2D() {
  if (Gfx.camera2dSuspended > 0) --Gfx.camera2dSuspended;
  UpdateCamera2DOn();
}
