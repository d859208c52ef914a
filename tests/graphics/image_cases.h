// Damaged and crafted images from the samples (make_images.py), case n from n alone:
// hostile header fields in well-formed files (PNG CRC mended), cuts, flipped bytes.
#pragma once
#include <stdint.h>
#include <stdlib.h>

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
// Header fields, {offset, size}: BMP sizes, offset, planes, bits, compression,
// palette, masks; PNG's IHDR; TGA colour map, type, origin, sizes, bits, descriptor.
inline const int kFields[FORMATS][12][2] = {
    {{2, 4}, {10, 4}, {14, 4}, {18, 4}, {22, 4}, {26, 2}, {28, 2}, {30, 4}, {34, 4}, {46, 4}, {54, 4}, {58, 4}},
    {{16, 4}, {20, 4}, {24, 1}, {25, 1}, {26, 1}, {28, 1}},
    {},
    {{0, 1}, {1, 1}, {2, 1}, {3, 2}, {5, 2}, {7, 1}, {12, 2}, {14, 2}, {16, 1}, {17, 1}}};
inline const int kFieldCount[FORMATS] = {12, 6, 0, 10};

inline Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline std::vector<Bytes> Samples() {
  std::vector<Bytes> samples;
  for (const char* name : kNames) samples.push_back(ReadFile(std::string(LQ_IMAGES) + "/" + name));
  return samples;
}
inline int EnvInt(const char* name, int fallback) { return getenv(name) ? atoi(getenv(name)) : fallback; }

inline Bytes MakeCase(const std::vector<Bytes>& samples, uint32_t n, Format* format) {
  static const uint32_t kHostile[] = {0, 1, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFF, 0x10000,
                                      0x4000, 0x4001, 0x8000, 0x3FFFFFFF, 0x40000001, 0xFF, 0x100};
  std::mt19937 r(0x1A6E0000u + n);
  auto below = [&](size_t limit) { return limit ? (uint32_t)(r() % limit) : 0u; };
  auto put = [](Bytes& b, size_t at, uint32_t value, int size, bool big) {
    for (int i = 0; i < size && at + i < b.size(); ++i) b[at + i] = (char)(value >> 8 * (big ? size - 1 - i : i));
  };
  *format = (Format)(n % FORMATS);
  Bytes b = samples[*format];
  const uint32_t kind = below(4);  // 0: crafted, 1: damaged, else both
  for (uint32_t i = 0, crafts = kind == 1 ? 0 : 1 + below(3); i < crafts; ++i) {
    const uint32_t value = below(3) ? kHostile[below(14)] : r();
    if (*format == JPEG) {  // a field of a marker segment: lengths, sizes, counts, table ids
      std::vector<size_t> markers;
      for (size_t m = 2; m + 4 < b.size(); ++m)
        if ((uint8_t)b[m] == 0xFF && (uint8_t)b[m + 1] >= 0xC0 && (uint8_t)b[m + 1] <= 0xFE) markers.push_back(m);
      if (!markers.empty()) put(b, markers[below(markers.size())] + 2 + below(10), value, 1 + below(2), true);
      continue;
    }
    const int* field = kFields[*format][below(kFieldCount[*format])];
    put(b, field[0], value, field[1], *format == PNG);
    if (*format == PNG) put(b, 29, CalcCrc32(b.data() + 12, 17), 4, true);
  }
  if (kind != 0 && !b.empty()) {
    if (below(2)) b.resize(below(b.size()));
    for (uint32_t i = 0, flips = below(16); i < flips && !b.empty(); ++i) b[below(b.size())] ^= (char)(1 + below(255));
  }
  return b;
}

}  // namespace image_cases
