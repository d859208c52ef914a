// Fuzz target: a TGA file as a player may hand one over (any bytes), read as the
// texture cache reads it, within a device's limits.
#include <stddef.h>
#include <stdint.h>

#include "graphics/image_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  DecodedImage image;
  if (DecodeTga(bytes, size, 4096, 4096, &image) == 0) {
    // The sizes are within the limits and the texels all there (AddressSanitizer).
    const size_t count = (size_t)image.width * image.height;
    uint32_t sum = 0;
    for (size_t i = 0; i < count; ++i) sum += image.texels[i];
    if (image.width <= 0 || image.height <= 0 || image.width > 4096 || image.height > 4096) __builtin_trap();
    KeyOutBlack(image.texels, count);
    volatile uint32_t keep = sum;
    (void)keep;
  }
  FreeImage(&image);
  return 0;
}
