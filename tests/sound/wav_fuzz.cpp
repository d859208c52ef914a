// Fuzz target: a WAV file as a player may hand it over, read as wave_slot.cpp
// reads one: the chunk walk, then the data read block by block, looping, as a
// static slot and a stream read it.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "sound/wave_chunks.h"
#include "sound/wave_math.h"

namespace {

struct MemoryFile {
  const uint8_t* bytes;
  uint32_t size, position;
  uint32_t dataOffset, dataBytes;  // reads must stay inside the data chunk
};

uint32_t ReadAt(void* file, uint32_t offset, uint8_t* dest, uint32_t count) {
  const MemoryFile& f = *(MemoryFile*)file;
  if (offset >= f.size) return 0;
  const uint32_t n = count < f.size - offset ? count : f.size - offset;
  memcpy(dest, f.bytes + offset, n);
  return n;
}

int32_t ReadOn(void* file, uint8_t* dest, uint32_t count) {
  MemoryFile& f = *(MemoryFile*)file;
  if ((uint64_t)f.position + count > (uint64_t)f.dataOffset + f.dataBytes) __builtin_trap();
  const uint32_t n = ReadAt(file, f.position, dest, count);
  f.position += n;
  return (int32_t)n;
}

int SeekData(void* file, uint32_t position) {
  MemoryFile& f = *(MemoryFile*)file;
  f.position = f.dataOffset + position;
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size > UINT32_MAX) return 0;
  MemoryFile file = {bytes, (uint32_t)size, 0, 0, 0};
  WaveChunks chunks;
  if (!FindWaveChunks(&file, ReadAt, &chunks)) return 0;
  if (chunks.formatBytes < 16 || chunks.formatBytes > 18 || chunks.dataOffset > size)
    __builtin_trap();
  const uint32_t align = chunks.format[12] | chunks.format[13] << 8;
  const uint32_t rate = chunks.format[4] | chunks.format[5] << 8 | chunks.format[6] << 16 |
                        (uint32_t)chunks.format[7] << 24;
  const uint32_t present = PresentDataBytes(chunks.dataBytes, file.size - chunks.dataOffset, align);
  if (present > chunks.dataBytes || present > file.size - chunks.dataOffset ||
      (align && present % align))
    __builtin_trap();
  const uint32_t half = StreamHalfBytes(rate, align);
  if (align && half % align) __builtin_trap();
  // A static read, then a looping one from a block into the data.
  file.dataOffset = chunks.dataOffset;
  file.dataBytes = chunks.dataBytes;
  static uint8_t dest[1 << 16];
  for (uint32_t loop = 0; loop < 2; ++loop) {
    file.position = chunks.dataOffset;
    DataReader reader = {0, chunks.dataBytes, loop, loop ? align : 0, align, &file, ReadOn, SeekData};
    const uint32_t want = (uint32_t)sizeof dest - (loop ? 7 : 0);
    const uint32_t got = ReadData(reader, dest, want);
    // A read that ends before the buffer is full ends on a whole block; a static
    // read gives exactly the data present.
    if (got > want || (got < want && align > 1 && got % align)) __builtin_trap();
    if (!loop && align && (present < want ? got != present : got > want)) __builtin_trap();
  }
  return 0;
}
