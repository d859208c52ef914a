#include "sound/wave_math.h"

uint32_t PlaybackChannels(uint32_t capsFlags) {
  return (capsFlags & CAPS_PRIMARYSTEREO) ? 2 : 1;
}

uint32_t PlaybackBits(uint32_t capsFlags) {
  return (capsFlags & CAPS_SECONDARY16BIT) ? 16 : 8;
}

uint32_t StreamHalfBytes(uint32_t rate, uint32_t blockAlign) {
  if (blockAlign == 0) return 0;
  uint64_t whole = (uint64_t)rate * blockAlign * 4;
  if (whole > UINT32_MAX) return 0;
  uint32_t half = (uint32_t)whole / 2;
  return half - half % blockAlign;
}

int IsRefillDue(uint32_t cursor, uint32_t bufferBytes, int secondHalfNext) {
  uint32_t middle = bufferBytes / 2;
  return secondHalfNext ? cursor < middle : cursor > middle;
}

uint8_t SilenceByte(uint32_t bitsPerSample) { return bitsPerSample == 8 ? 0x80 : 0; }

uint32_t ReadableBytes(uint32_t position, uint32_t dataBytes, uint32_t want) {
  if (position >= dataBytes) return 0;
  uint32_t left = dataBytes - position;
  return want < left ? want : left;
}

uint32_t PresentDataBytes(uint32_t chunkBytes, uint32_t fileBytesAfter, uint32_t blockAlign) {
  if (blockAlign == 0) return 0;
  uint32_t bytes = chunkBytes < fileBytesAfter ? chunkBytes : fileBytesAfter;
  return bytes - bytes % blockAlign;
}

uint32_t ReadData(DataReader& reader, uint8_t* dest, uint32_t count) {
  uint32_t done = 0, lapStart = 0;
  int wentBack = 0;
  while (done < count) {
    uint32_t want = ReadableBytes(reader.position, reader.dataBytes, count - done);
    int32_t got = want ? reader.read(reader.file, dest + done, want) : 0;
    if (got > 0) {
      done += (uint32_t)got;
      reader.position += (uint32_t)got;
    }
    if (got > 0 && (uint32_t)got == want) continue;
    // The end of the data: the chunk's end, the file's end or a read error. Its
    // stray bytes are dropped: the next lap would otherwise start mid-sample.
    uint32_t stray = reader.blockAlign > 1 ? reader.position % reader.blockAlign : 0;
    done -= stray < done - lapStart ? stray : done - lapStart;
    reader.position = reader.dataBytes;
    if (!reader.loop || (wentBack && done == lapStart) || reader.loopOffset >= reader.dataBytes)
      break;
    if (reader.seek(reader.file, reader.loopOffset) != 0) break;
    reader.position = reader.loopOffset;
    wentBack = 1;
    lapStart = done;
  }
  return done;
}
