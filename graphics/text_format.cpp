#include "graphics/text_format.h"

#include <stdio.h>
#include <string.h>

size_t FormatText(char* out, size_t size, const char* format, va_list args) {
  if (out == NULL || size == 0) return 0;
  out[0] = '\0';
  if (format != NULL) vsnprintf(out, size, format, args);
  // Some C libraries leave a cut text without its terminator.
  out[size - 1] = '\0';
  return strlen(out);
}
