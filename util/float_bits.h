// Not for games: installed only because the inline vector calls of util/vec2.h need it.
// A float's bits as an unsigned integer. From +0 up they keep the float's order,
// and every negative float (-0 too) and NaN reads above any positive one.
#pragma once
#include <stdint.h>
#include <string.h>

inline uint32_t FloatBits(float value) {
  uint32_t bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}
