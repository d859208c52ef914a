// Shut-down of the texture-cache table.
#include <string.h>

#include "graphics/graphics.h"
#include "graphics/graphics_state.h"

void ReleaseTextures() {
  // Every texture goes, whatever its count.
  for (int i = 0; i < TEXTURE_SLOTS; ++i) {
    if (Gfx.textures[i].texture != NULL) {
      Gfx.textures[i].texture->Release();
      Gfx.textures[i].texture = NULL;
    }
  }
  memset(Gfx.textures, 0, sizeof Gfx.textures);
}
