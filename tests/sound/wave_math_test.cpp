#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sound/wave_math.h"

TEST(WaveMath, PlaybackFormatFromTheRightCapsFlags) {
  // 0x8 is the primary buffer's 16-bit flag and 0x200 the secondary's stereo
  // flag: neither counts.
  struct Case { uint32_t flags, channels, bits; };
  const Case cases[] = {{0, 1, 8}, {0x2, 2, 8}, {0x800, 1, 16}, {0x802, 2, 16},
                        {0x8 | 0x200, 1, 8}, {0xFFFFFFFF, 2, 16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    EXPECT_EQ(PlaybackChannels(c.flags), c.channels);
    EXPECT_EQ(PlaybackBits(c.flags), c.bits);
  }
}

TEST(WaveMath, StreamHalfIsTwoSecondsOrRefused) {
  struct Case { uint32_t rate, align, half; };
  const Case cases[] = {
      {44100, 4, 352800}, {22050, 1, 44100}, {11025, 3, 66150},
      {44100, 0, 0},                   // block align 0
      {0, 4, 0},                       // no samples
      {48000, 0xFFFF, 0},              // four seconds overflow 32 bits
      {0x3FFFFFFF, 1, 0x7FFFFFFE},     // the largest that fits
      {0x40000000, 1, 0}, {0x20000000, 2, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rate << " x " << c.align);
    EXPECT_EQ(StreamHalfBytes(c.rate, c.align), c.half);
  }
}

TEST(WaveMath, RefillDecisionOverCursorLaps) {
  // The service's successive play cursors in a 1000-byte buffer; F: the first
  // half is refilled, S: the second, .: nothing. The due half flips after each
  // refill, as the slot does it.
  struct Case { std::vector<uint32_t> cursors; const char* refills; };
  const Case cases[] = {
      {{100, 200, 300, 400, 500, 600, 700, 800, 900, 0, 100}, ".....F...S."},
      {{600, 800, 100, 300, 700, 900, 200}, "F.S.F.S"},  // each half once per lap
      {{500, 500, 501, 500, 499}, "..F.S"},              // the middle changes nothing
      {{700, 400, 100, 800}, "FS.F"},                    // a late service
      {{0, 499, 999}, "..F"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refills);
    int secondHalfNext = 0;
    std::string seen;
    for (uint32_t cursor : c.cursors) {
      int due = IsRefillDue(cursor, 1000, secondHalfNext);
      seen += due ? (secondHalfNext ? 'S' : 'F') : '.';
      if (due) secondHalfNext = !secondHalfNext;
    }
    EXPECT_EQ(seen, c.refills);
  }
}

TEST(WaveMath, SilenceOf8BitIsTheCentre) {
  const uint32_t bits[] = {8, 16, 24, 32};
  const uint8_t silence[] = {0x80, 0, 0, 0};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(SilenceByte(bits[i]), silence[i]) << bits[i];
}

namespace {

// A file in memory: the data chunk's bytes start at offset 0 and whatever
// follows them is another chunk. Reads fail from errorAt on.
struct MemoryFile {
  std::string bytes;
  size_t at;
  size_t errorAt;
};

int32_t ReadMemory(void* file, uint8_t* dest, uint32_t count) {
  MemoryFile& f = *(MemoryFile*)file;
  if (f.at >= f.errorAt) return -1;
  size_t n = std::min<size_t>(count, f.bytes.size() - std::min(f.at, f.bytes.size()));
  n = std::min(n, f.errorAt - f.at);
  memcpy(dest, f.bytes.data() + f.at, n);
  f.at += n;
  return (int32_t)n;
}

int SeekMemory(void* file, uint32_t position) {
  ((MemoryFile*)file)->at = position;
  return 0;
}

}  // namespace

TEST(WaveMath, ReadsStopAtTheDataEndOrLoop) {
  const size_t kNoError = 1000;
  struct Case {
    const char* name;
    std::string file;
    uint32_t dataBytes, position, loop, loopOffset, count;
    size_t errorAt;
    const char* read;  // '.' where nothing was read
  };
  const Case cases[] = {
      {"within", "0123456789XYZ", 10, 0, 0, 0, 4, kNoError, "0123"},
      {"the next chunk stays unread", "0123456789XYZ", 10, 8, 0, 0, 6, kNoError, "89...."},
      {"at the end", "0123456789XYZ", 10, 10, 0, 0, 3, kNoError, "..."},
      {"loop goes on in the same fill", "0123456789XYZ", 10, 8, 1, 0, 6, kNoError, "890123"},
      {"loop from the end, many laps", "0123XYZ", 4, 4, 7, 0, 10, kNoError, "0123012301"},
      {"loop offset", "0123456789", 10, 9, 1, 6, 6, kNoError, "967896"},
      {"loop offset past the data", "0123456789", 10, 9, 1, 10, 4, kNoError, "9..."},
      {"empty data with loop", "XYZ", 0, 0, 1, 0, 4, kNoError, "...."},
      {"file ends before the chunk", "01234", 10, 0, 0, 0, 8, kNoError, "01234..."},
      {"same, looped", "01234", 10, 3, 1, 0, 8, kNoError, "34012340"},
      {"read error ends the data", "0123456789", 10, 0, 0, 0, 8, 5, "01234..."},
      {"read error at once, looped", "0123456789", 10, 0, 1, 0, 4, 0, "...."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryFile file = {c.file, c.position, c.errorAt};
    DataReader reader = {c.position, c.dataBytes, c.loop, c.loopOffset, &file, ReadMemory,
                         SeekMemory};
    std::string dest(c.count, '.');
    uint32_t n = ReadData(reader, (uint8_t*)&dest[0], c.count);
    EXPECT_EQ(dest, c.read);
    EXPECT_EQ(n, std::string(c.read).find_last_not_of('.') + 1);
  }
}
