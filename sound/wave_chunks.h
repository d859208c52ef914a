// The chunk walk of a RIFF WAVE file: its format and where its data lies, read
// through the caller's file function so that a large file is never held whole.
// Needs no platform header: fuzzed natively (tests/sound/wav_fuzz.cpp).
#pragma once
#include <stdint.h>

// Reads up to count bytes at offset into dest; returns how many (0 past the end).
typedef uint32_t (*WaveReadAt)(void* file, uint32_t offset, uint8_t* dest, uint32_t count);

struct WaveChunks {
  uint8_t format[18];    // the "fmt " chunk's first bytes (WAVEFORMATEX), zero past formatBytes
  uint32_t formatBytes;  // how many the chunk holds, at most 18 (16 or more when found)
  uint32_t dataOffset;   // the "data" chunk's first byte in the file
  uint32_t dataBytes;    // its size as written: the file may hold less
};

// 1 when the file is RIFF WAVE with a "fmt " chunk of 16 bytes or more and a
// "data" chunk, each the first of its name, in any order; else 0. The chunks are
// walked from the first after "WAVE" to the end of the file, each padded to an
// even size (a RIFF size that lies is not trusted).
int FindWaveChunks(void* file, WaveReadAt readAt, WaveChunks* chunks);

