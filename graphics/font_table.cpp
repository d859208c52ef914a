// Device-loss notifications and shut-down over the font table.
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "util/release.h"

HRESULT InvalidateFonts() {
  for (int slot = 0; slot < FONT_SLOTS; ++slot) {
    // The first refusal stops the round; later fonts are not told.
    if (Gfx.fonts[slot] != NULL && Gfx.fonts[slot]->OnLostDevice() != D3D_OK) return E_FAIL;
  }
  return 0;
}

void RestoreFonts() {
  for (int slot = 0; slot < FONT_SLOTS; ++slot) {
    if (Gfx.fonts[slot] != NULL) Gfx.fonts[slot]->OnResetDevice();
  }
}

void ReleaseFonts() {
  for (int slot = 0; slot < FONT_SLOTS; ++slot) ReleaseAndNull(&Gfx.fonts[slot]);
}
