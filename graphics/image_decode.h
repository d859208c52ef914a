// Image files (BMP, PNG, JPEG, TGA, GIF's first frame) decoded from memory into
// 32-bit ARGB texels, for the texture cache when D3DX is not there. Portable: the
// native build tests it under the sanitizers.
#pragma once
#include <stddef.h>
#include <stdint.h>

struct DecodedImage {
  int width, height;
  uint32_t* texels;  // width * height, rows top down, 0xAARRGGBB; free with FreeImage
};

// Decodes the bytes; opaque black (0xFF000000) becomes transparent black, as the
// texture cache's colour key asks. Sizes beyond maxWidth x maxHeight (the device's
// limits) are refused from the header, before anything is allocated. Returns 0,
// or -1 with the image all zero and nothing held.
int DecodeImage(const void* bytes, size_t size, int maxWidth, int maxHeight, DecodedImage* image);
void FreeImage(DecodedImage* image);
