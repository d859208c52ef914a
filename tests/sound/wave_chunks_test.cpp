// The WAV chunk walk on files put together in memory: what it finds, and the
// lies it meets without reading out of place.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "sound/wave_chunks.h"
#include "wave_bytes.h"

namespace {

uint32_t ReadString(void* file, uint32_t offset, uint8_t* dest, uint32_t count) {
  const std::string& s = *(const std::string*)file;
  if (offset >= s.size()) return 0;
  uint32_t n = count < s.size() - offset ? count : (uint32_t)(s.size() - offset);
  memcpy(dest, s.data() + offset, n);
  return n;
}

// "found formatBytes dataOffset dataBytes"
std::string Walk(std::string file) {
  WaveChunks c;
  int found = FindWaveChunks(&file, ReadString, &c);
  return std::to_string(found) + " " + std::to_string(c.formatBytes) + " " +
         std::to_string(c.dataOffset) + " " + std::to_string(c.dataBytes);
}

std::string Riff(const std::string& body, int64_t lie = 0) { return Chunk("RIFF", "WAVE" + body, lie, false); }

TEST(WaveChunks, FindsTheFirstFormatAndDataWhereverTheyLie) {
  const std::string fmt = Chunk("fmt ", FmtBody(1, 1, 8000, 2)), data = Chunk("data", "abcd");
  EXPECT_EQ(Walk(Riff(fmt + data)), "1 16 44 4");
  EXPECT_EQ(Walk(Riff(data + fmt)), "1 16 20 4");
  EXPECT_EQ(Walk(Riff(Chunk("LIST", "odd") + fmt + data)), "1 16 56 4");  // padded to 4
  EXPECT_EQ(Walk(Riff(fmt + data + Chunk("data", "xy"))), "1 16 44 4");
  EXPECT_EQ(Walk(Riff(Chunk("fmt ", FmtBody(1, 1, 8000, 2) + std::string("\x05\x00junk", 6)) + data)), "1 18 50 4");
  EXPECT_EQ(Walk(Riff(fmt + data, -1000)), "1 16 44 4");  // the RIFF size is not trusted
  EXPECT_EQ(Walk(Riff(fmt + Chunk("data", "ab", 0x7FFFFFF0))), "1 16 44 2147483634");
}

TEST(WaveChunks, RefusesWhatIsNotAWholeHeader) {
  const std::string fmt = Chunk("fmt ", FmtBody(1, 1, 8000, 2)), data = Chunk("data", "abcd");
  EXPECT_EQ(Walk(Riff(fmt + data).replace(8, 4, "AVI ")).substr(0, 1), "0");
  EXPECT_EQ(Walk("RIFX" + Riff(fmt + data).substr(4)).substr(0, 1), "0");
  EXPECT_EQ(Walk(Riff(fmt)).substr(0, 1), "0");
  EXPECT_EQ(Walk(Riff(data)).substr(0, 1), "0");
  EXPECT_EQ(Walk(Riff(Chunk("fmt ", FmtBody(1, 1, 8000, 2).substr(0, 15)) + data)).substr(0, 1), "0");
  EXPECT_EQ(Walk(Riff(fmt + data).substr(0, 40)).substr(0, 1), "0");  // cut in the data header
  EXPECT_EQ(Walk("RIFF"), "0 0 0 0");
  // A chunk size near 4 GiB ends the walk instead of wrapping back into the file.
  EXPECT_EQ(Walk(Riff(Chunk("LIST", "", 0xFFFFFFF0) + fmt + data)).substr(0, 1), "0");
}

}  // namespace
