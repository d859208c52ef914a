#include "graphics/graphics_state.h"

#include "graphics/graphics.h"

GraphicsState Gfx;
IDirect3DDevice9* const& GfxDeviceRef = Gfx.lpDevice;
QuadBatch* const GfxQuadBatch = &Gfx.batch;
const int& GfxCamera2DOn = Gfx.camera2dOn;
