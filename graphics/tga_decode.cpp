// The TGA reader: every field is checked against the bytes there are before it is
// used, and the texels are allocated only once the header has promised no more
// than the file can hold.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "graphics/image_decode.h"

namespace {

enum { HEADER = 18, MAPPED = 1, TRUE_COLOUR = 2, GREY = 3, RLE = 8 };

struct TgaHeader {
  unsigned idLength, mapType, imageType, mapFirst, mapLength, mapBits;
  unsigned width, height, bits, descriptor;
};

unsigned Word(const uint8_t* p) { return p[0] | (unsigned)p[1] << 8; }

// A pixel of 1 to 4 bytes as ARGB. 15/16-bit ones carry alpha in their top bit
// only when the descriptor says there is an alpha bit; 5-bit channels spread to
// 0..255 as v * 255 / 31.
uint32_t Colour(const uint8_t* p, unsigned bytes, bool grey, bool alphaBit) {
  if (grey) return 0xFF000000u | p[0] * 0x010101u;
  if (bytes == 2) {
    const unsigned v = Word(p);
    const uint32_t a = alphaBit && !(v & 0x8000) ? 0u : 0xFFu;
    return a << 24 | ((v >> 10 & 31) * 255 / 31) << 16 | ((v >> 5 & 31) * 255 / 31) << 8 |
           (v & 31) * 255 / 31;
  }
  const uint32_t a = bytes == 4 ? p[3] : 0xFFu;
  return a << 24 | (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
}

unsigned BytesOf(unsigned bits) { return (bits + 7) / 8; }

// The header's layout is one the reader knows: a known image type with the pixel
// size that type allows, and a colour map exactly when the type needs one.
bool Known(const TgaHeader& h) {
  const unsigned kind = h.imageType & ~(unsigned)RLE;
  if (h.imageType > 11 || kind < MAPPED || kind > GREY || h.mapType > 1) return false;
  const bool mapBitsKnown = h.mapBits == 15 || h.mapBits == 16 || h.mapBits == 24 || h.mapBits == 32;
  if (kind == MAPPED) return h.mapType == 1 && h.bits == 8 && h.mapLength > 0 && mapBitsKnown;
  if (h.mapType == 1 && h.mapLength > 0 && !mapBitsKnown) return false;  // skipped, but sized
  if (kind == GREY) return h.bits == 8;
  return h.bits == 15 || h.bits == 16 || h.bits == 24 || h.bits == 32;
}

}  // namespace

int DecodeTga(const void* bytes, size_t size, int maxWidth, int maxHeight, DecodedImage* image) {
  memset(image, 0, sizeof *image);
  const uint8_t* data = static_cast<const uint8_t*>(bytes);
  if (data == NULL || size < HEADER) return -1;
  const TgaHeader h = {data[0], data[1], data[2], Word(data + 3), Word(data + 5), data[7],
                       Word(data + 12), Word(data + 14), data[16], data[17]};
  if (!Known(h) || h.width == 0 || h.height == 0 || (int)h.width > maxWidth ||
      (int)h.height > maxHeight) {
    return -1;
  }
  const unsigned kind = h.imageType & ~(unsigned)RLE;
  const bool alphaBit = (h.descriptor & 15) > 0;
  const size_t mapBytes = h.mapType == 1 ? (size_t)h.mapLength * BytesOf(h.mapBits) : 0;
  size_t at = HEADER + h.idLength + mapBytes;
  if (at > size) return -1;
  const uint8_t* map = data + HEADER + h.idLength;

  const size_t count = (size_t)h.width * h.height, pixelBytes = BytesOf(h.bits);
  if (count > SIZE_MAX / sizeof(uint32_t)) return -1;  // a 32-bit system's limit
  // The least the pixels can take: all their bytes raw; with RLE, a packet (its
  // count and one pixel) for every 128 pixels.
  const size_t least = h.imageType & RLE ? (count + 127) / 128 * (1 + pixelBytes) : count * pixelBytes;
  if (size - at < least) return -1;
  uint32_t* texels = static_cast<uint32_t*>(malloc(count * sizeof(uint32_t)));
  if (texels == NULL) return -1;

  // Pixels in file order, each placed by the descriptor's origin: rows bottom up
  // unless bit 5, columns left to right unless bit 4.
  const bool topDown = h.descriptor & 0x20, rightToLeft = h.descriptor & 0x10;
  size_t done = 0;
  bool ok = true;
  while (done < count && ok) {
    size_t run = 1, literal = 1;  // pixels in the packet; pixels read from the file
    if (h.imageType & RLE) {
      if (at >= size) { ok = false; break; }
      const uint8_t packet = data[at++];
      run = (packet & 0x7F) + 1u;
      if (run > count - done) run = count - done;  // a packet past the last pixel is cut
      literal = packet & 0x80 ? 1 : run;
    } else {
      run = literal = count;  // one packet of raw pixels
    }
    if (literal * pixelBytes > size - at) { ok = false; break; }
    uint32_t colour = 0;
    for (size_t i = 0; i < run && ok; ++i, ++done) {
      if (i < literal) {
        const uint8_t* p = data + at;
        at += pixelBytes;
        if (kind == MAPPED) {
          const unsigned entry = p[0] - h.mapFirst;  // wraps above the map when below its first
          ok = p[0] >= h.mapFirst && entry < h.mapLength;
          if (ok) colour = Colour(map + entry * BytesOf(h.mapBits), BytesOf(h.mapBits), false, alphaBit);
        } else {
          colour = Colour(p, (unsigned)pixelBytes, kind == GREY, alphaBit);
        }
      }
      const size_t row = done / h.width, column = done % h.width;
      const size_t y = topDown ? row : h.height - 1 - row, x = rightToLeft ? h.width - 1 - column : column;
      texels[y * h.width + x] = colour;
    }
  }
  if (!ok) {
    free(texels);
    return -1;
  }
  image->width = (int)h.width;
  image->height = (int)h.height;
  image->texels = texels;
  return 0;
}
