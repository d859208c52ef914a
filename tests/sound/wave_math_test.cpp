#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "sound/ogg_pages.h"
#include "sound/wave_math.h"

TEST(WaveMath, StreamHalfIsTwoSecondsOrRefused) {
  struct Case { uint32_t rate, align, half; };
  const Case cases[] = {{44100, 4, 352800}, {11025, 3, 66150},
                        {44100, 0, 0},                 // block align 0
                        {0, 4, 0},                     // no samples
                        {48000, 0xFFFF, 0},            // four seconds overflow 32 bits
                        {0x3FFFFFFF, 1, 0x7FFFFFFE},   // the largest that fits
                        {0x40000000, 1, 0}, {0x20000000, 2, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(StreamHalfBytes(c.rate, c.align), c.half) << c.rate << " x " << c.align;
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
      {{700, 400, 100, 800}, "FS.F"}};                   // a late service
  for (const Case& c : cases) {
    int secondHalfNext = 0;
    std::string seen;
    for (uint32_t cursor : c.cursors) {
      int due = IsRefillDue(cursor, 1000, secondHalfNext);
      seen += due ? (secondHalfNext ? 'S' : 'F') : '.';
      secondHalfNext ^= due;
    }
    EXPECT_EQ(seen, c.refills);
  }
}

TEST(WaveMath, PlaybackFormatFromTheRightCapsFlags) {
  // 0x8 is the primary buffer's 16-bit flag and 0x200 the secondary's stereo one.
  const uint32_t flags[] = {0, 0x2, 0x800, 0x802, 0x8 | 0x200};
  const uint32_t channels[] = {1, 2, 1, 2, 1}, bits[] = {8, 8, 16, 16, 8};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(PlaybackChannels(flags[i]), channels[i]) << flags[i];
    EXPECT_EQ(PlaybackBits(flags[i]), bits[i]) << flags[i];
  }
}

TEST(WaveMath, SilenceOf8BitIsTheCentre) {
  EXPECT_EQ(SilenceByte(8), 0x80);
  EXPECT_EQ(SilenceByte(16), 0);
}

// A file in memory: the data chunk's bytes from offset 0, then whatever follows
// them. Reads fail from errorAt on.
struct MemoryFile { std::string bytes; size_t at, errorAt; };

int32_t ReadMemory(void* file, uint8_t* dest, uint32_t count) {
  MemoryFile& f = *(MemoryFile*)file;
  size_t end = std::min(f.bytes.size(), f.errorAt);
  if (f.at >= f.errorAt) return -1;
  size_t n = f.at < end ? std::min<size_t>(count, end - f.at) : 0;
  memcpy(dest, f.bytes.data() + f.at, n);
  f.at += n;
  return (int32_t)n;
}

int SeekMemory(void* file, uint32_t position) { return ((MemoryFile*)file)->at = position, 0; }

TEST(WaveMath, ReadsStopAtTheDataEndOrLoop) {
  struct Case {
    const char* name;
    std::string file;
    uint32_t dataBytes, position, loop, loopOffset;
    size_t errorAt, next;  // next: where the file stands for the next fill
    const char* read;      // what the fill holds, '.' where nothing was read
    uint32_t align = 1;
  };
  const size_t ok = 1000;
  const Case cases[] = {
      {"within", "0123456789XYZ", 10, 0, 0, 0, ok, 4, "0123"},
      {"within, looped", "0123456789", 10, 2, 1, 0, ok, 5, "234"},
      {"the next chunk stays unread", "0123456789XYZ", 10, 8, 0, 0, ok, 10, "89...."},
      {"at the end", "0123456789XYZ", 10, 10, 0, 0, ok, 10, "..."},
      {"start past the data", "0123456789XYZ", 10, 12, 0, 0, ok, 12, "..."},
      {"loop offset past the file's end", "01234", 10, 3, 1, 7, ok, 7, "34...."},
      {"loop goes on in the same fill", "0123456789XYZ", 10, 8, 1, 0, ok, 4, "890123"},
      {"loop from the end, many laps", "0123XYZ", 4, 4, 7, 0, ok, 2, "0123012301"},
      {"loop offset", "0123456789", 10, 9, 1, 6, ok, 7, "967896"},
      {"loop offset past the data", "0123456789", 10, 9, 1, 10, ok, 10, "9..."},
      {"empty data with loop", "XYZ", 0, 0, 1, 0, ok, 0, "...."},
      {"file ends before the chunk", "01234", 10, 0, 0, 0, ok, 5, "01234..."},
      {"same, looped: laps of whole blocks", "01234", 10, 2, 1, 0, ok, 2, "23012301", 2},
      {"a lap of one stray byte, looped", "0123", 1, 0, 1, 0, ok, 1, "....", 2},
      {"read error ends the data", "0123456789", 10, 0, 0, 0, 5, 5, "01234..."},
      {"read error at once, looped", "0123456789", 10, 0, 1, 0, 0, 0, "...."},
  };
  for (const Case& c : cases) {
    MemoryFile file = {c.file, c.position, c.errorAt};
    DataReader reader = {c.position, c.dataBytes, c.loop, c.loopOffset, c.align, &file,
                         ReadMemory, SeekMemory};
    std::string dest(strlen(c.read), '.');
    uint32_t n = ReadData(reader, (uint8_t*)&dest[0], dest.size());
    dest.replace(n, dest.size() - n, dest.size() - n, '.');  // past n: undefined
    EXPECT_EQ(dest, c.read) << c.name;
    EXPECT_EQ(n, std::string(c.read).find_last_not_of('.') + 1) << c.name;
    EXPECT_EQ(file.at, c.next) << c.name;
  }
  // After a read error the data counts as ended: a later fill does not resume mid-sample.
  MemoryFile file = {"0123456789", 0, 5};
  DataReader reader = {0, 10, 0, 0, 2, &file, ReadMemory, SeekMemory};
  uint8_t dest[8];
  EXPECT_EQ(ReadData(reader, dest, 8), 4u);  // the stray byte before the error dropped
  file.errorAt = ok;
  EXPECT_EQ(ReadData(reader, dest, 8), 0u);
}

TEST(WaveMath, PresentDataIsWholeBlocksOfWhatTheFileHolds) {
  const uint32_t rows[][4] = {{100, 50, 4, 48}, {10, 100, 4, 8}, {7, 7, 0, 0}, {3, 100, 4, 0}};
  for (const auto& r : rows) EXPECT_EQ(PresentDataBytes(r[0], r[1], r[2]), r[3]) << r[0];
}

// An Ogg page of one segment; its checksum right, or off by one when bad.
std::string OggPage(uint32_t serial, uint32_t sequence, char flags, const std::string& body,
                    bool bad = false) {
  std::string p = std::string("OggS\0", 5) + flags + std::string(8, '\0') +
                  std::string((const char*)&serial, 4) + std::string((const char*)&sequence, 4) +
                  std::string(4, '\0') + '\1' + (char)body.size() + body;
  uint32_t crc = OggPageCrc((const uint8_t*)p.data(), (uint32_t)p.size()) + bad;
  memcpy(&p[22], &crc, 4);
  return p;
}

TEST(WaveMath, OggPagesPassWholeUnchangedAndInOrder) {
  const std::string a = OggPage(7, 0, 2, "head"), b = OggPage(7, 1, 0, "audio"),
                    c = OggPage(7, 2, 4, "end");
  // b with one header byte changed and its checksum made right again.
  auto changed = [&](size_t at, char v) {
    std::string p = b;
    p[at] = v;
    uint32_t crc = OggPageCrc((const uint8_t*)p.data(), (uint32_t)p.size());
    return memcpy(&p[22], &crc, 4), p;
  };
  // The last page empty: a 27-byte header, no segments.
  std::string empty = std::string("OggS\0\4", 6) + std::string(8, '\0') + std::string("\7\0\0\0\2\0\0\0", 8) +
                      std::string("\x0E\x8C\xD7\x2F\0", 5);
  struct Case { const char* name; std::string file; size_t intact; };
  const Case cases[] = {
      {"whole", a + b + c, a.size() + b.size() + c.size()},
      {"cut inside a page", a + b + c.substr(0, 30), a.size() + b.size()},
      {"cut inside a header", a + b.substr(0, 20), a.size()},
      {"a byte changed", a + OggPage(7, 1, 0, "audio", true) + c, a.size()},
      {"a page missing", a + c, a.size()},
      {"a page of another stream", a + OggPage(8, 1, 0, "audio") + c, a.size()},
      {"bytes after the last page", a + b + c + a, a.size() + b.size() + c.size()},
      {"not Ogg", "RIFF" + a, 0},
      {"capture pattern wrong, checksum right", a + changed(3, 'T') + c, a.size()},
      {"version 1, checksum right", a + changed(4, 1) + c, a.size()},
      {"a page after the last", a + b + c + OggPage(7, 3, 0, "more"), a.size() + b.size() + c.size()},
      {"an empty last page", a + b + empty, a.size() + b.size() + 27},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OggIntactBytes((const uint8_t*)c.file.data(), (uint32_t)c.file.size()), c.intact)
        << c.name;
  // The checksum as encoders write it (polynomial 0x04C11DB7, high bit first).
  EXPECT_EQ(0x6326B184u, OggPageCrc((const uint8_t*)a.data(), (uint32_t)a.size()));
  EXPECT_EQ(0x2FD78C0Eu, OggPageCrc((const uint8_t*)empty.data(), 27));  // computed elsewhere
  EXPECT_EQ(0u, OggPageCrc((const uint8_t*)empty.data(), 26));  // shorter than a header
  const struct { const char* bytes; uint32_t size; int ogg; } signatures[] = {
      {"OggS", 4, 1}, {"OggSx", 5, 1}, {"OggS", 3, 0}, {"OggT", 4, 0}, {"oggS", 4, 0}, {"OgS", 4, 0}};
  for (const auto& g : signatures)
    EXPECT_EQ(IsOggData((const uint8_t*)g.bytes, g.size), g.ogg) << g.bytes << g.size;
}
