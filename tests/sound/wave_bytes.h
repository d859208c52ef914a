// WAV files put together in memory by the sound tests.
#pragma once
#include <stdint.h>

#include <string>

inline std::string Le(uint32_t v, int bytes) { return std::string((const char*)&v, bytes); }

// A chunk whose size field is off by lie; an odd body gets its pad byte if pad.
inline std::string Chunk(const char* id, const std::string& body, int64_t lie = 0,
                         bool pad = true) {
  return std::string(id, 4) + Le((uint32_t)(body.size() + lie), 4) + body +
         std::string(pad ? body.size() & 1 : 0, '\0');
}

// The 16 bytes of a "fmt " chunk's body.
inline std::string FmtBody(int tag, int channels, uint32_t rate, int align, int bits = 16) {
  return Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) + Le(align, 2) +
         Le(bits, 2);
}
