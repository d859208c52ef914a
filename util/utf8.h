// Unicode text: UTF-8 read one character at a time, UTF-8 turned into UTF-16,
// UTF-16 read one character at a time. No platform header: tested natively.
#pragma once
#include <stdint.h>

enum : uint32_t {
  UTF8_INVALID = 0xFFFFFFFFu,  // DecodeUtf8's code for an ill-formed sequence
  UNICODE_REPLACEMENT = 0xFFFD,  // what text shows for one
};

// One character of s (n bytes left): returns the bytes it takes (0 only for
// n 0) with the code point in *cp, or UTF8_INVALID in *cp for an ill-formed
// sequence (a stray continuation byte, a lead byte C0, C1 or F5 to FF, a
// sequence cut short, overlong, a surrogate, past U+10FFFF). An ill-formed
// sequence takes its lead byte and the continuation bytes that could still have
// completed it (the maximal subpart), so the next call starts at the byte that
// broke it. Never reads past n.
uint32_t DecodeUtf8(const uint8_t* s, uint32_t n, uint32_t* cp);

// The UTF-16 of n bytes of UTF-8, each ill-formed sequence as U+FFFD. Writes at
// most room units to out (none for a null out); returns the units the whole
// text needs.
uint32_t Utf8ToUtf16(const char* text, uint32_t n, uint16_t* out, uint32_t room);

// The character at text[*i] (n units): a surrogate pair joined, a lone surrogate
// as U+FFFD; *i moves past it. Call with *i < n.
uint32_t NextUtf16(const uint16_t* text, uint32_t n, uint32_t* i);
