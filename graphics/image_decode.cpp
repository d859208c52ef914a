// The black key and the release of decoded texels.
#include "graphics/image_decode.h"

#include <stdlib.h>
#include <string.h>

void KeyOutBlack(uint32_t* texels, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (texels[i] == 0xFF000000u) texels[i] = 0;
  }
}

void FreeImage(DecodedImage* image) {
  free(image->texels);
  memset(image, 0, sizeof *image);
}
