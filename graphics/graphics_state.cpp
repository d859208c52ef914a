#include "graphics/graphics_state.h"

GraphicsState Gfx;
