// Fuzz target: a save file as a player's disk may hold it (any bytes), read as
// LoadGameFile reads one: the header, then the data checked against its CRC-32;
// and the same bytes as a save name.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "app/save_check.h"
#include "util/crc32.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  uint32_t dataSize = 0, crc = 0;
  if (size >= SAVE_HEADER_SIZE && ReadSaveHeader(bytes, size, &dataSize, &crc)) {
    // A header that is read promises exactly the rest of the file.
    if (dataSize != size - SAVE_HEADER_SIZE) __builtin_trap();
    const bool whole = CalcCrc32(bytes + SAVE_HEADER_SIZE, (int32_t)dataSize) == crc;
    uint8_t header[SAVE_HEADER_SIZE];
    WriteSaveHeader(header, bytes + SAVE_HEADER_SIZE, dataSize);
    if (whole != (memcmp(header, bytes, SAVE_HEADER_SIZE) == 0)) __builtin_trap();
  }
  const std::string name(reinterpret_cast<const char*>(bytes), size);
  IsSaveNameValid(name.c_str());
  return 0;
}
