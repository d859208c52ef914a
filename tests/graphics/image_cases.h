// Damaged and crafted image files made from the sample images (make_images.py):
// case n comes from n alone, so LQ_IMAGE_FIRST=n LQ_IMAGE_FILES=1 replays it.
// Damage breaks what it hits (cut, flipped bytes, lying fields); crafting writes
// hostile header fields into a file that stays well formed, PNG checksums mended.
#pragma once
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "util/crc32.h"

namespace image_cases {

typedef std::string Bytes;
enum Format { BMP, PNG, JPEG, TGA, FORMATS };
inline const char* const kNames[FORMATS] = {"sample.bmp", "sample.png", "sample.jpg", "sample.tga"};

inline Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline int EnvInt(const char* name, int fallback) {
  const char* value = getenv(name);
  return value != NULL && *value != 0 ? atoi(value) : fallback;
}

typedef std::mt19937 Rng;
inline uint32_t Below(Rng& r, uint32_t n) { return n ? r() % n : 0; }
// Values that size and offset arithmetic trips over.
inline uint32_t Hostile(Rng& r) {
  static const uint32_t kValues[] = {0, 1, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFF, 0x10000,
                                     0x4000, 0x4001, 0x8000, 0x3FFFFFFF, 0x40000001, 0xFF, 0x100};
  return Below(r, 3) ? kValues[Below(r, sizeof kValues / 4)] : r();
}
inline void Put(Bytes& b, size_t at, uint32_t value, int size, bool big) {
  for (int i = 0; i < size && at + i < b.size(); ++i) {
    b[at + i] = (char)(value >> (8 * (big ? size - 1 - i : i)));
  }
}

// A header field of the format, written with a hostile value.
inline void Craft(Rng& r, Format format, Bytes& b) {
  switch (format) {
    case BMP: {  // sizes, offset, planes, bits, compression, palette, masks
      static const int kFields[][2] = {{2, 4}, {10, 4}, {14, 4}, {18, 4}, {22, 4}, {26, 2},
                                       {28, 2}, {30, 4}, {34, 4}, {46, 4}, {54, 4}, {58, 4}};
      const int* f = kFields[Below(r, 12)];
      Put(b, f[0], Hostile(r), f[1], false);
      break;
    }
    case PNG: {  // IHDR's fields (width, height, depth, colour type, interlace), CRC mended
      static const int kFields[][2] = {{16, 4}, {20, 4}, {24, 1}, {25, 1}, {26, 1}, {28, 1}};
      const int* f = kFields[Below(r, 6)];
      Put(b, f[0], Hostile(r), f[1], true);
      Put(b, 29, CalcCrc32(b.data() + 12, 17), 4, true);
      break;
    }
    case JPEG: {  // a field of a marker segment: lengths, sizes, counts, table ids
      std::vector<size_t> markers;
      for (size_t i = 2; i + 4 < b.size(); ++i) {
        if ((uint8_t)b[i] == 0xFF && (uint8_t)b[i + 1] >= 0xC0 && (uint8_t)b[i + 1] <= 0xFE) markers.push_back(i);
      }
      if (markers.empty()) break;
      const size_t at = markers[Below(r, (uint32_t)markers.size())] + 2 + Below(r, 10);
      Put(b, at, Hostile(r), 1 + Below(r, 2), true);
      break;
    }
    default: {  // TGA: colour map, origin, sizes, bits, descriptor, image type
      static const int kFields[][2] = {{0, 1}, {1, 1}, {2, 1}, {3, 2}, {5, 2}, {7, 1},
                                       {12, 2}, {14, 2}, {16, 1}, {17, 1}};
      const int* f = kFields[Below(r, 10)];
      Put(b, f[0], Hostile(r), f[1], false);
      break;
    }
  }
}

// Case n: a format, then crafting, damage or both.
inline Bytes MakeCase(const std::vector<Bytes>& samples, uint32_t n, Format* format) {
  Rng r(0x1A6E0000u + n);
  *format = (Format)(n % FORMATS);
  Bytes b = samples[*format];
  const uint32_t kind = Below(r, 4);
  if (kind != 1) {
    for (uint32_t i = 0, crafts = 1 + Below(r, 3); i < crafts; ++i) Craft(r, *format, b);
  }
  if (kind != 0 && !b.empty()) {
    if (Below(r, 2)) b.resize(Below(r, (uint32_t)b.size()));  // cut
    for (uint32_t i = 0, flips = Below(r, 16); i < flips && !b.empty(); ++i) {
      b[Below(r, (uint32_t)b.size())] ^= (char)(1 + Below(r, 255));
    }
  }
  return b;
}

}  // namespace image_cases
