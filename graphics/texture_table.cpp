// Shut-down of the texture-cache table.
#include <string.h>

#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "util/release.h"

void ReleaseTextures() {
  // Every texture goes, whatever its count.
  for (int i = 0; i < TEXTURE_SLOTS; ++i) ReleaseAndNull(&Gfx.textures[i].texture);
  memset(Gfx.textures, 0, sizeof Gfx.textures);
}
