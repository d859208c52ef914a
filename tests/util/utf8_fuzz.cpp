// Fuzz target: any bytes as text to draw (a typed name, a line from a save):
// read character by character and turned into UTF-16 with too little room and
// with enough, the two agreeing; well-formed text comes back byte for byte.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "util/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const uint32_t n = (uint32_t)size;
  std::string again;
  bool wellFormed = true;
  uint32_t needed = 0;
  for (uint32_t i = 0; i < n;) {
    uint32_t cp = 0;
    const uint32_t step = DecodeUtf8(bytes + i, n - i, &cp);
    if (step == 0 || step > n - i || step > 4) __builtin_trap();
    if (cp == UTF8_INVALID) {
      wellFormed = false;
      cp = UNICODE_REPLACEMENT;
    } else {
      again.append(reinterpret_cast<const char*>(bytes + i), step);
    }
    needed += cp >= 0x10000 ? 2 : 1;
    i += step;
  }
  const char* text = reinterpret_cast<const char*>(bytes);
  std::vector<uint16_t> units(needed);
  std::vector<uint16_t> half(needed / 2);  // exactly sized: ASan sees a unit too many
  if (Utf8ToUtf16(text, n, units.data(), needed) != needed) __builtin_trap();
  if (Utf8ToUtf16(text, n, half.data(), needed / 2) != needed) __builtin_trap();
  for (uint32_t k = 0; k < needed / 2; ++k) {
    if (half[k] != units[k]) __builtin_trap();
  }
  if (wellFormed && again.size() != size) __builtin_trap();
  // The units read back: as many characters, none a lone surrogate.
  for (uint32_t i = 0; i < needed;) {
    const uint32_t c = NextUtf16(units.data(), needed, &i);
    if (c >= 0xD800 && c <= 0xDFFF) __builtin_trap();
  }
  return 0;
}
