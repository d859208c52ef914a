// The framework's own image code, portable (the native build tests it under the
// sanitizers): the TGA reader, which the platform's decoder lacks, and the black
// key every texture gets. Other formats are the platform's (texture_file.cpp).
#pragma once
#include <stddef.h>
#include <stdint.h>

struct DecodedImage {
  int width, height;
  uint32_t* texels;  // width * height, rows top down, 0xAARRGGBB; free with FreeImage
};

// Reads a TGA file: uncompressed or RLE; true colour of 15/16, 24 or 32 bits,
// 8-bit indices into a map of 15/16, 24 or 32-bit entries, or 8-bit grey; any
// corner of origin. Sizes beyond maxWidth x maxHeight (the device's limits) and
// files shorter than their header says are refused before the texels are
// allocated. Returns 0, or -1 with the image all zero and nothing held.
int DecodeTga(const void* bytes, size_t size, int maxWidth, int maxHeight, DecodedImage* image);
// Frees the texels of DecodeTga and zeroes the image.
void FreeImage(DecodedImage* image);

// The texture cache's colour key: opaque black (0xFF000000) becomes transparent
// black (0) in count texels.
void KeyOutBlack(uint32_t* texels, size_t count);
