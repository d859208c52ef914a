// Typed text: UTF-16 units as the window receives them, gathered into UTF-8
// for one poll. Needs no platform header, so it also runs natively under the
// sanitizers.
#pragma once
#include <stdint.h>

enum { TEXT_CHARS_PER_POLL = 256, TEXT_BYTES_PER_POLL = TEXT_CHARS_PER_POLL * 4 };

struct TextQueue {
  char utf8[TEXT_BYTES_PER_POLL];
  uint32_t bytes;
  uint32_t chars;
  uint16_t high;  // a high surrogate waiting for its other half, else 0
};

// Adds one unit: surrogate pairs are joined, a lone half dropped, control
// characters dropped except backspace, tab and Enter; past TEXT_CHARS_PER_POLL
// characters the rest is dropped.
void PushTextUnit(TextQueue* queue, uint16_t unit);
// Empties the queue for the next poll; a high surrogate still waits for its pair.
void ClearTextQueue(TextQueue* queue);
// Copies as many whole characters of utf8 (bytes long) as fit into out with a
// closing NUL; returns the bytes written without the NUL (0 for a null out or
// size 0).
uint32_t CopyWholeChars(const char* utf8, uint32_t bytes, char* out, uint32_t size);
