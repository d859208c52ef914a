#include "app/save_check.h"

#include <string.h>

#include "util/crc32.h"
#include "util/utf8.h"

static int SameLetters(const char* a, const char* b, uint32_t n) {
  for (uint32_t i = 0; i < n; ++i) {
    char c = a[i] >= 'a' && a[i] <= 'z' ? (char)(a[i] - 32) : a[i];
    if (c != b[i]) return 0;
  }
  return 1;
}

// The part before the first dot, trailing spaces dropped (Windows drops them too),
// names a device: opening it would open the device, not a file.
static int IsDeviceName(const char* name, uint32_t length) {
  const char* dot = (const char*)memchr(name, '.', length);
  uint32_t n = dot ? (uint32_t)(dot - name) : length;
  while (n > 0 && name[n - 1] == ' ') --n;
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* device : kDevices) {
    if (n == strlen(device) && SameLetters(name, device, n)) return 1;
  }
  if (n < 4 || !(SameLetters(name, "COM", 3) || SameLetters(name, "LPT", 3))) return 0;
  // A digit 1 to 9, or superscript 1, 2 or 3, which Windows counts as digits here.
  if (n == 4) return name[3] >= '1' && name[3] <= '9';
  const uint8_t* tail = (const uint8_t*)name + 3;
  return n == 5 && tail[0] == 0xC2 && (tail[1] == 0xB9 || tail[1] == 0xB2 || tail[1] == 0xB3);
}

// Could be the short (8.3) name the file system gives some other file, which
// opens that file: Wine's are 1 to 4 characters, '~' up to the fifth, 3 of a hash
// ("_X~~~IAK.PRE" for ".x.previous"); NTFS's end the base in '~' and a number
// ("X~1.PRE"). Both are a base of at most 8 and an extension of at most 3 without
// the characters short names never hold, with a '~' in the base.
static int CouldBeShortName(const char* name, uint32_t length) {
  const char* dot = (const char*)memchr(name, '.', length);
  const uint32_t base = dot ? (uint32_t)(dot - name) : length;
  if (base == 0 || base > 8 || !memchr(name, '~', base)) return 0;
  if (dot && (length - base - 1 > 3 || memchr(dot + 1, '.', length - base - 1))) return 0;
  for (uint32_t i = 0; i < length; ++i) {
    if ((uint8_t)name[i] >= 0x80 || strchr(" +,;=[]", name[i])) return 0;
  }
  return 1;
}

int IsSaveNameValid(const char* name) {
  if (!name) return 0;
  const uint32_t length = (uint32_t)strnlen(name, SAVE_NAME_MAX + 1);
  if (length == 0 || length > SAVE_NAME_MAX) return 0;
  const char first = name[0], last = name[length - 1];
  if (first == ' ' || first == '.' || last == ' ' || last == '.') return 0;
  const uint8_t* s = (const uint8_t*)name;
  for (uint32_t i = 0; i < length;) {
    uint32_t c;
    uint32_t step = DecodeUtf8(s + i, length - i, &c);
    if (c == UTF8_INVALID) return 0;  // the conversion to UTF-16 would refuse it
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c < 0x80 && strchr("\\/:*?\"<>|", (int)c))) {
      return 0;
    }
    i += step;
  }
  return !IsDeviceName(name, length) && !CouldBeShortName(name, length);
}

// Little-endian whatever the machine, so a save moves between machines.
static void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = (uint8_t)(v >> (8 * i));
}
static uint32_t GetLe32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24;
}

void WriteSaveHeader(uint8_t header[SAVE_HEADER_SIZE], const void* data, uint32_t size) {
  PutLe32(header, SAVE_MAGIC);
  PutLe32(header + 4, size);
  PutLe32(header + 8, UpdateCrc32(0, data, (int32_t)size));
}

int ReadSaveHeader(const uint8_t header[SAVE_HEADER_SIZE], uint64_t fileSize, uint32_t* size,
                   uint32_t* crc) {
  if (fileSize < SAVE_HEADER_SIZE || GetLe32(header) != SAVE_MAGIC) return 0;
  const uint32_t claimed = GetLe32(header + 4);
  if (claimed > SAVE_SIZE_MAX || claimed != fileSize - SAVE_HEADER_SIZE) return 0;
  *size = claimed;
  *crc = GetLe32(header + 8);
  return 1;
}
