#include "util/utf8.h"

uint32_t DecodeUtf8(const uint8_t* s, uint32_t n, uint32_t* cp) {
  if (n == 0) return 0;
  const uint8_t lead = s[0];
  if (lead < 0x80) {
    *cp = lead;
    return 1;
  }
  // The second byte's range rules out the overlong forms (E0, F0), the
  // surrogates (ED) and what lies past U+10FFFF (F4); later bytes are 80..BF.
  uint32_t length, low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    *cp = UTF8_INVALID;
    return 1;
  }
  uint32_t c = lead & (0x7F >> length);
  for (uint32_t i = 1; i < length; ++i) {
    if (i >= n || s[i] < low || s[i] > high) {
      *cp = UTF8_INVALID;
      return i;
    }
    c = c << 6 | (s[i] & 0x3F);
    low = 0x80, high = 0xBF;
  }
  *cp = c;
  return length;
}

uint32_t Utf8ToUtf16(const char* text, uint32_t n, uint16_t* out, uint32_t room) {
  const uint8_t* s = (const uint8_t*)text;
  uint32_t units = 0;
  for (uint32_t i = 0; i < n;) {
    uint32_t c;
    i += DecodeUtf8(s + i, n - i, &c);
    if (c == UTF8_INVALID) c = UNICODE_REPLACEMENT;
    uint16_t pair[2] = {(uint16_t)c, 0};
    uint32_t count = 1;
    if (c >= 0x10000) {
      pair[0] = (uint16_t)(0xD800 + ((c - 0x10000) >> 10));
      pair[1] = (uint16_t)(0xDC00 + ((c - 0x10000) & 0x3FF));
      count = 2;
    }
    for (uint32_t k = 0; k < count; ++k, ++units) {
      if (out != nullptr && units < room) out[units] = pair[k];
    }
  }
  return units;
}

uint32_t NextUtf16(const uint16_t* text, uint32_t n, uint32_t* i) {
  const uint32_t unit = text[(*i)++];
  if (unit < 0xD800 || unit > 0xDFFF) return unit;
  if (unit <= 0xDBFF && *i < n && text[*i] >= 0xDC00 && text[*i] <= 0xDFFF) {
    return 0x10000 + ((unit - 0xD800) << 10) + (text[(*i)++] - 0xDC00);
  }
  return UNICODE_REPLACEMENT;
}
