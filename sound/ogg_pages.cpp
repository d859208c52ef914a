#include "sound/ogg_pages.h"

#include <string.h>

enum : uint32_t { PAGE_HEADER = 27, CRC_AT = 22, LAST_PAGE = 0x4 };

static uint32_t Le32(const uint8_t* p) {
  return p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

int IsOggData(const uint8_t* bytes, uint32_t size) {
  return size >= 4 && memcmp(bytes, "OggS", 4) == 0;
}

// The page checksum's table (polynomial 0x04C11DB7, most significant bit first),
// made by the compiler: a byte a step, not a bit, since every page a game loads
// is checked.
struct CrcTable {
  uint32_t entry[256];
  constexpr CrcTable() : entry() {
    for (uint32_t b = 0; b < 256; ++b) {
      uint32_t crc = b << 24;
      for (int k = 0; k < 8; ++k) crc = crc & 0x80000000u ? crc << 1 ^ 0x04C11DB7u : crc << 1;
      entry[b] = crc;
    }
  }
};
static constexpr CrcTable CRC;

static uint32_t CrcBytes(uint32_t crc, const uint8_t* bytes, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) crc = crc << 8 ^ CRC.entry[(crc >> 24) ^ bytes[i]];
  return crc;
}

uint32_t OggPageCrc(const uint8_t* page, uint32_t size) {
  if (size < PAGE_HEADER) return 0;
  static const uint8_t ZERO[4] = {0, 0, 0, 0};  // the checksum's own field counts as zeros
  uint32_t crc = CrcBytes(0, page, CRC_AT);
  crc = CrcBytes(crc, ZERO, 4);
  return CrcBytes(crc, page + CRC_AT + 4, size - CRC_AT - 4);
}

uint32_t OggIntactBytes(const uint8_t* bytes, uint32_t size) {
  uint32_t at = 0, serial = 0;
  for (uint32_t sequence = 0; size - at >= PAGE_HEADER; ++sequence) {
    const uint8_t* page = bytes + at;
    uint32_t segments = page[26], length = PAGE_HEADER + segments;
    if (!IsOggData(page, size - at) || page[4] != 0 || size - at < length) break;
    for (uint32_t i = 0; i < segments; ++i) length += page[PAGE_HEADER + i];
    if (sequence == 0) serial = Le32(page + 14);
    if (size - at < length || Le32(page + 14) != serial || Le32(page + 18) != sequence ||
        Le32(page + CRC_AT) != OggPageCrc(page, length))
      break;
    at += length;
    if (page[5] & LAST_PAGE) break;
  }
  return at;
}
