// printf-style formatting into a fixed buffer, cut to fit. No Windows header:
// tested natively as well.
#pragma once
#include <stdarg.h>
#include <stddef.h>

// Formats into out (size bytes) by the C library's printf rules, keeping at most
// size - 1 characters and the terminating zero, whatever the library does with a
// text that does not fit. A null format gives the empty text. Returns the length.
size_t FormatText(char* out, size_t size, const char* format, va_list args);
