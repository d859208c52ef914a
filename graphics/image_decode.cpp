// Image files decoded from memory into ARGB texels.
#include "graphics/image_decode.h"

#include <limits.h>
#include <string.h>

extern "C" {
int LqImageInfo(const unsigned char* bytes, int size, int* width, int* height);
unsigned char* LqImageLoad(const unsigned char* bytes, int size, int* width, int* height);
void LqImageFree(unsigned char* pixels);
}

int DecodeImage(const void* bytes, size_t size, int maxWidth, int maxHeight, DecodedImage* image) {
  memset(image, 0, sizeof *image);
  if (bytes == NULL || size == 0 || size > INT_MAX) return -1;
  const unsigned char* data = static_cast<const unsigned char*>(bytes);
  int width = 0, height = 0;
  // The header's size is checked before the decoder allocates for it.
  if (!LqImageInfo(data, (int)size, &width, &height)) return -1;
  // A top-down BMP's height is negative in its header, and so as reported.
  if (height < 0 && height != INT_MIN) height = -height;
  if (width <= 0 || height <= 0 || width > maxWidth || height > maxHeight) return -1;
  unsigned char* rgba = LqImageLoad(data, (int)size, &width, &height);
  if (rgba == NULL) return -1;
  // The decoder may read a different size than the header said (GIF frames): check again.
  if (width <= 0 || height <= 0 || width > maxWidth || height > maxHeight) {
    LqImageFree(rgba);
    return -1;
  }
  // RGBA bytes become ARGB words in place: both are four bytes a texel.
  uint32_t* texels = reinterpret_cast<uint32_t*>(rgba);
  const size_t count = (size_t)width * (size_t)height;
  for (size_t i = 0; i < count; ++i) {
    const unsigned char* p = rgba + i * 4;
    const uint32_t argb = (uint32_t)p[3] << 24 | (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2];
    texels[i] = argb == 0xFF000000u ? 0u : argb;
  }
  image->width = width;
  image->height = height;
  image->texels = texels;
  return 0;
}

void FreeImage(DecodedImage* image) {
  if (image->texels != NULL) LqImageFree(reinterpret_cast<unsigned char*>(image->texels));
  memset(image, 0, sizeof *image);
}
