// The random numbers' sequence (the generator's published first outputs) and
// ranges; the PNG writer's file read back byte by byte.
#include <gtest/gtest.h>

#include <string.h>

#include "util/crc32.h"
#include "util/png_write.h"
#include "util/random.h"
#include "util/random_pcg.h"
#include "util/util_state.h"

namespace {

TEST(Random, TheGeneratorsPublishedSequence) {
  RandomPcg rng;
  SeedPcg(&rng, 42, 54);
  const uint32_t first[] = {0xa15c02b7, 0x7b47f409, 0xba1d3330, 0x83d2f293, 0xbfa4784b, 0xcbed606e};
  for (uint32_t want : first) EXPECT_EQ(NextPcg(&rng), want);
  // The game's calls: the same stream, the same sequence after the same seed.
  SeedRandom(42);
  EXPECT_EQ(GetRandom(), 0xa15c02b7u);
  SeedRandom(42);
  EXPECT_EQ(GetRandomRange(5, 5), 5);  // a range of one value draws nothing
  EXPECT_EQ(GetRandom(), 0xa15c02b7u);
  // Unseeded, seed 0's sequence; a play script's hook picks the seed.
  SeedRandom(0);
  const uint32_t zero = GetRandom();
  Util.random = {};
  EXPECT_EQ(GetRandom(), zero);
  Util.randomSeedHook = [](uint64_t) -> uint64_t { return 42; };
  SeedRandom(7);
  Util.randomSeedHook = nullptr;
  EXPECT_EQ(GetRandom(), 0xa15c02b7u);
}

TEST(Random, RangesHoldBothEndsAndNothingElse) {
  SeedRandom(1);
  int seen[7] = {};
  for (int i = 0; i < 7000; ++i) {
    const int r = GetRandomRange(-3, 3);
    ASSERT_TRUE(r >= -3 && r <= 3);
    ++seen[r + 3];
  }
  for (int n : seen) EXPECT_GT(n, 800);  // about 1000 each
  EXPECT_EQ(GetRandomRange(5, 5), 5);
  EXPECT_EQ(GetRandomRange(5, -5), 5);
  for (int i = 0; i < 100; ++i) {
    const int whole = GetRandomRange(INT32_MIN, INT32_MAX);  // every int: no overflow
    (void)whole;
    const int top = GetRandomRange(INT32_MAX - 1, INT32_MAX);
    EXPECT_TRUE(top == INT32_MAX - 1 || top == INT32_MAX);
  }
  // Unbiased below a bound: the values a plain modulo would favour are redrawn.
  RandomPcg rng;
  SeedPcg(&rng, 3, 54);
  for (int i = 0; i < 1000; ++i) EXPECT_LT(NextPcgBelow(&rng, 3000000000u), 3000000000u);
}

uint32_t Be32(const uint8_t* p) { return (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

TEST(PngWrite, ChunksStoredBlocksAndChecksums) {
  // 200 x 120 RGB: 72120 bytes with the row filters, two stored blocks.
  const uint32_t w = 200, h = 120;
  std::vector<uint8_t> rgb(w * h * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = (uint8_t)(i * 7);
  const std::vector<uint8_t> png = EncodePng(rgb.data(), w, h);
  ASSERT_GT(png.size(), 8u + 25 + 12 + 72120);
  EXPECT_EQ(memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  const uint8_t* p = png.data() + 8;
  std::vector<uint8_t> raw;
  const uint8_t* end = png.data() + png.size();
  int chunks = 0;
  while (p + 12 <= end) {
    const uint32_t length = Be32(p);
    ASSERT_LE(p + 12 + length, end);
    EXPECT_EQ(Be32(p + 8 + length), CalcCrc32(p + 4, (int32_t)(4 + length)));
    if (memcmp(p + 4, "IHDR", 4) == 0) {
      EXPECT_TRUE(Be32(p + 8) == w && Be32(p + 12) == h && p[16] == 8 && p[17] == 2);
    } else if (memcmp(p + 4, "IDAT", 4) == 0) {
      const uint8_t* z = p + 8;
      EXPECT_EQ(z[0], 0x78);
      const uint8_t* block = z + 2;
      for (;;) {  // stored blocks: final flag, length, its complement
        const uint32_t n = block[1] | block[2] << 8;
        EXPECT_EQ(n ^ 0xFFFFu, (uint32_t)(block[3] | block[4] << 8));
        raw.insert(raw.end(), block + 5, block + 5 + n);
        if (block[0] == 1) break;
        block += 5 + n;
      }
      uint32_t a = 1, b = 0;
      for (uint8_t byte : raw) a = (a + byte) % 65521, b = (b + a) % 65521;
      EXPECT_EQ(Be32(block + 5 + (block[1] | block[2] << 8)), b << 16 | a);
    }
    ++chunks;
    p += 12 + length;
  }
  EXPECT_EQ(chunks, 3);
  ASSERT_EQ(raw.size(), (w * 3 + 1) * h);
  for (uint32_t y = 0; y < h; ++y) {
    EXPECT_EQ(raw[y * (w * 3 + 1)], 0);
    EXPECT_EQ(memcmp(&raw[y * (w * 3 + 1) + 1], &rgb[y * w * 3], w * 3), 0);
  }
  EXPECT_TRUE(EncodePng(rgb.data(), 0, 5).empty());
  const std::vector<uint8_t> wide(16385 * 3);
  EXPECT_FALSE(EncodePng(wide.data(), 16384, 1).empty());  // the widest, and the tallest
  EXPECT_FALSE(EncodePng(wide.data(), 1, 16384).empty());
  EXPECT_TRUE(EncodePng(wide.data(), 16385, 1).empty());
  EXPECT_TRUE(EncodePng(nullptr, 5, 5).empty());
}

}  // namespace
