// The 2D camera that SetCamera2D (graphics/graphics.h) takes. Not the device's
// 3D view and projection (SetView, SetProjection), which quads never see.
#pragma once
#include <stdint.h>

// What SetCamera2D takes: the world point target is drawn at offset, the world
// zoomed about it and turned clockwise on screen by angle (8192 a turn).
struct Camera2D {
  float targetX, targetY;  // the world point shown at the offset
  float offsetX, offsetY;  // where on the screen, in (logical) pixels
  float zoom;              // 1: one world unit a pixel
  int32_t angle;           // clockwise on screen about the offset, 8192 a turn (as QuadDesc)
};
