// CRC-32, reflected polynomial 0xEDB88320. CalcCrc32 dispatches through a pointer
// that the first call rebinds, so later calls skip any "table built?" check.
#include "util/crc32.h"

#include "util/crc32_table.h"
#include "util/util_state.h"

void InitCrc32Table() {
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    Util.crcTable[n] = c;
  }
}

static uint32_t Crc32Bytes(uint32_t c, const void* data, int32_t length) {
  if (!data) return c;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  for (int32_t i = 0; i < length; ++i) c = (c >> 8) ^ Util.crcTable[(c ^ bytes[i]) & 0xFF];
  return c;
}

static uint32_t CalcCrc32Plain(const void* data, int32_t length) {
  return Crc32Bytes(0xFFFFFFFFu, data, length) ^ 0xFFFFFFFFu;
}

uint32_t CalcCrc32FirstCall(const void* data, int32_t length) {
  InitCrc32Table();
  Util.crcEntry = &CalcCrc32Plain;
  return CalcCrc32Plain(data, length);
}

uint32_t CalcCrc32(const void* data, int32_t length) { return Util.crcEntry(data, length); }

// Builds the table if no CalcCrc32 has yet, rather than hashing with a zero table.
uint32_t UpdateCrc32(uint32_t crc, const void* data, int32_t length) {
  if (Util.crcEntry != &CalcCrc32Plain) CalcCrc32FirstCall(nullptr, 0);
  return Crc32Bytes(crc ^ 0xFFFFFFFFu, data, length) ^ 0xFFFFFFFFu;
}
