/* The image decoder (Debian's libstb-dev), compiled into the library here and
   only here. It reads from memory; only the formats the texture cache accepts are
   built, and no image larger than 16384 on a side is decoded at all. */
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_TGA
#define STBI_ONLY_GIF
#define STBI_MAX_DIMENSIONS (1 << 14)
#include <stb_image.h>

/* The two calls image_decode.cpp makes, under names of ours. */
int LqImageInfo(const unsigned char* bytes, int size, int* width, int* height) {
  int channels;
  return stbi_info_from_memory(bytes, size, width, height, &channels);
}

unsigned char* LqImageLoad(const unsigned char* bytes, int size, int* width, int* height) {
  int channels;
  return stbi_load_from_memory(bytes, size, width, height, &channels, 4);
}

void LqImageFree(unsigned char* pixels) { stbi_image_free(pixels); }
