// Image files decoded from memory into ARGB texels.
#include "graphics/image_decode.h"

#include <limits.h>
#include <string.h>

extern "C" {
int LqImageInfo(const unsigned char* bytes, int size, int* width, int* height);
unsigned char* LqImageLoad(const unsigned char* bytes, int size, int* width, int* height);
void LqImageFree(unsigned char* pixels);
}

// The decoder builds each JPEG Huffman table into room for 256 codes without
// checking that the table's counts stay within it: a crafted table writes past
// the end. A table may be read wherever the bytes FF C4 stand (as a marker between
// any segments or scans), so every such place is read as the decoder would read a
// table there (bytes past the end read as 0), and a file with a table of more than
// 256 codes is refused. A valid file never has one.
static bool HasOversizedHuffmanTable(const unsigned char* data, size_t size) {
  if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) return false;  // not a JPEG
  auto at = [&](size_t i) -> unsigned { return i < size ? data[i] : 0u; };
  for (size_t marker = 2; marker + 1 < size; ++marker) {
    if (data[marker] != 0xFF || data[marker + 1] != 0xC4) continue;
    size_t i = marker + 2;
    long left = (long)(at(i) << 8 | at(i + 1)) - 2;
    i += 2;
    while (left > 0 && i < size) {
      const unsigned q = at(i++);
      if ((q >> 4) > 1 || (q & 15) > 3) break;  // the decoder refuses this itself
      unsigned codes = 0;
      for (int bits = 0; bits < 16; ++bits) codes += at(i++);
      if (codes > 256) return true;
      i += codes;
      left -= 17 + (long)codes;
    }
  }
  return false;
}

int DecodeImage(const void* bytes, size_t size, int maxWidth, int maxHeight, DecodedImage* image) {
  memset(image, 0, sizeof *image);
  if (bytes == NULL || size == 0 || size > INT_MAX) return -1;
  const unsigned char* data = static_cast<const unsigned char*>(bytes);
  if (HasOversizedHuffmanTable(data, size)) return -1;
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
