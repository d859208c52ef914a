// Arithmetic of the sound device and the streamed WAV slots: playback format from
// the device capability flags, stream sizes, the refill decision and bounded,
// looping reads of the data chunk. Needs no platform header, so it also runs
// natively under the sanitizers.
#pragma once
#include <stdint.h>

enum : uint32_t {
  CAPS_PRIMARYSTEREO = 0x2,   // DSCAPS_PRIMARYSTEREO
  CAPS_SECONDARY16BIT = 0x800,  // DSCAPS_SECONDARY16BIT
};

uint32_t PlaybackChannels(uint32_t capsFlags);  // 2 or 1
uint32_t PlaybackBits(uint32_t capsFlags);      // 16 or 8

// Half of a streamed buffer: two seconds in whole blocks. 0 refuses the format
// (block align 0, no samples, or four seconds that do not fit in 32 bits).
uint32_t StreamHalfBytes(uint32_t rate, uint32_t blockAlign);

// Whether the half named by secondHalfNext is due for this play cursor: the
// first half once the cursor is past the middle, the second once it is back
// before it. A cursor exactly at the middle changes nothing.
int IsRefillDue(uint32_t cursor, uint32_t bufferBytes, int secondHalfNext);

// The byte that plays as silence: unsigned 8-bit samples centre on 0x80.
uint8_t SilenceByte(uint32_t bitsPerSample);

// Bytes a read may take at `position` of a data chunk of dataBytes bytes, at most want.
uint32_t ReadableBytes(uint32_t position, uint32_t dataBytes, uint32_t want);

// Bytes of a data chunk that a static buffer holds: the smaller of the chunk's
// size and what the file holds after the chunk's start, in whole blocks (0: none).
uint32_t PresentDataBytes(uint32_t chunkBytes, uint32_t fileBytesAfter, uint32_t blockAlign);

// Sequential reading of a data chunk through the caller's file functions.
struct DataReader {
  uint32_t position;    // bytes of the data chunk already read
  uint32_t dataBytes;   // size of the data chunk
  uint32_t loop;        // nonzero: at the end, reading goes back to loopOffset
  uint32_t loopOffset;  // where a loop resumes, from the first data byte (a whole block)
  uint32_t blockAlign;  // a last partial block is never read; 0 or 1: bytes
  void* file;
  int32_t (*read)(void* file, uint8_t* dest, uint32_t count);  // < 0: error
  int (*seek)(void* file, uint32_t position);                  // 0: done
};

// Reads up to count bytes into dest; returns how many (dest past them is left
// undefined). Nothing past the data chunk is read; a read error or a short read
// counts as the end of the data, and the partial block before that end is dropped.
// With the loop value set the reading goes back to the loop offset and goes on,
// unless a whole lap gave nothing (no whole block), which ends the read.
uint32_t ReadData(DataReader& reader, uint8_t* dest, uint32_t count);
