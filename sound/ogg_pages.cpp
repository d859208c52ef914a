#include "sound/ogg_pages.h"

#include <string.h>

enum : uint32_t { PAGE_HEADER = 27, CRC_AT = 22, LAST_PAGE = 0x4 };

static uint32_t Le32(const uint8_t* p) {
  return p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

int IsOggData(const uint8_t* bytes, uint32_t size) {
  return size >= 4 && memcmp(bytes, "OggS", 4) == 0;
}

uint32_t OggPageCrc(const uint8_t* page, uint32_t size) {
  if (size < PAGE_HEADER) return 0;
  uint32_t crc = 0;
  for (uint32_t i = 0; i < size; ++i) {
    crc ^= (uint32_t)(i - CRC_AT < 4 ? 0 : page[i]) << 24;
    for (int k = 0; k < 8; ++k) crc = crc & 0x80000000u ? crc << 1 ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
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
