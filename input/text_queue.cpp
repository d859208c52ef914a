#include "input/text_queue.h"

#include <string.h>

namespace {

bool IsControl(uint32_t c) {
  if (c == '\b' || c == '\t' || c == '\r') return false;
  return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

void Append(TextQueue* q, uint32_t c) {
  if (IsControl(c) || q->chars >= TEXT_CHARS_PER_POLL) return;
  char* p = q->utf8 + q->bytes;
  uint32_t n;
  if (c < 0x80) {
    p[0] = (char)c;
    n = 1;
  } else if (c < 0x800) {
    p[0] = (char)(0xC0 | c >> 6);
    p[1] = (char)(0x80 | (c & 0x3F));
    n = 2;
  } else if (c < 0x10000) {
    p[0] = (char)(0xE0 | c >> 12);
    p[1] = (char)(0x80 | (c >> 6 & 0x3F));
    p[2] = (char)(0x80 | (c & 0x3F));
    n = 3;
  } else {
    p[0] = (char)(0xF0 | c >> 18);
    p[1] = (char)(0x80 | (c >> 12 & 0x3F));
    p[2] = (char)(0x80 | (c >> 6 & 0x3F));
    p[3] = (char)(0x80 | (c & 0x3F));
    n = 4;
  }
  q->bytes += n;
  ++q->chars;
}

uint32_t CharLength(unsigned char lead) {
  return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace

void PushTextUnit(TextQueue* queue, uint16_t unit) {
  uint16_t high = queue->high;
  queue->high = 0;
  if (unit >= 0xD800 && unit < 0xDC00) {  // a new high half drops an unpaired one
    queue->high = unit;
  } else if (unit >= 0xDC00 && unit < 0xE000) {
    if (high != 0) Append(queue, 0x10000 + ((uint32_t)(high - 0xD800) << 10) + (unit - 0xDC00));
  } else {
    Append(queue, unit);
  }
}

void ClearTextQueue(TextQueue* queue) {
  queue->bytes = 0;
  queue->chars = 0;
}

uint32_t CopyWholeChars(const char* utf8, uint32_t bytes, char* out, uint32_t size) {
  if (out == NULL || size == 0) return 0;
  uint32_t written = 0;
  while (written < bytes) {
    uint32_t n = CharLength((unsigned char)utf8[written]);
    if (written + n > bytes || written + n + 1 > size) break;
    written += n;
  }
  memcpy(out, utf8, written);
  out[written] = '\0';
  return written;
}
