#include "sound/wave_chunks.h"

#include <string.h>

static uint32_t Le32(const uint8_t* p) {
  return p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

int FindWaveChunks(void* file, WaveReadAt readAt, WaveChunks* chunks) {
  memset(chunks, 0, sizeof *chunks);
  uint8_t header[12];
  if (readAt(file, 0, header, 12) != 12 || memcmp(header, "RIFF", 4) != 0 ||
      memcmp(header + 8, "WAVE", 4) != 0)
    return 0;
  int haveFormat = 0, haveData = 0;
  // 64 bits: a chunk size near 4 GiB must not wrap the walk back into the file.
  for (uint64_t at = 12; at <= UINT32_MAX - 8 && !(haveFormat && haveData);) {
    uint8_t chunk[8];
    if (readAt(file, (uint32_t)at, chunk, 8) != 8) break;
    const uint32_t size = Le32(chunk + 4), body = (uint32_t)at + 8;
    if (!haveFormat && memcmp(chunk, "fmt ", 4) == 0) {
      haveFormat = 1;
      uint32_t want = size < sizeof chunks->format ? size : (uint32_t)sizeof chunks->format;
      chunks->formatBytes = readAt(file, body, chunks->format, want);
      if (chunks->formatBytes < 16) return 0;
    } else if (!haveData && memcmp(chunk, "data", 4) == 0) {
      haveData = 1;
      chunks->dataOffset = body;
      chunks->dataBytes = size;
    }
    at = (uint64_t)body + size + (size & 1);
  }
  return haveFormat && haveData;
}
