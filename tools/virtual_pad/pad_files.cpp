#include "tools/virtual_pad/pad_files.h"

#include <stdio.h>

bool EnvPath(const char* name, char* path, DWORD size) {
  char value[MAX_PATH];
  DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  if (n == 0 || n >= sizeof value) return false;
  int written = snprintf(path, size, "%s%s", value[0] == '/' ? "Z:" : "", value);
  return written > 0 && (DWORD)written < size;
}

bool ReadEnvFile(const char* name, std::string* text, char* path, DWORD size) {
  text->clear();
  if (!EnvPath(name, path, size)) return true;
  FILE* f = fopen(path, "rb");
  if (f == NULL) return false;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, f)) > 0 && text->size() < (8u << 20)) {
    text->append(chunk, n);
  }
  fclose(f);
  return true;
}

void LogLineTo(const char* name, const char* format, va_list args) {
  char path[MAX_PATH + 2];
  if (!EnvPath(name, path, sizeof path)) return;
  FILE* f = fopen(path, "a");
  if (f == NULL) return;
  vfprintf(f, format, args);
  fputc('\n', f);
  fclose(f);
}
