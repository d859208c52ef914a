#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "app/save_check.h"

TEST(SaveCheck, NamesThatAreFilesEverywhere) {
  const std::string longest(SAVE_NAME_MAX, 'a'), over = longest + "a",
                    wide = longest.substr(1) + "\xC3\xA9",  // 65 bytes, 64 characters
                    literal64(64, 'a'), literal65(65, 'a');
  const struct {
    const char* name;
    int valid;
  } cases[] = {
      {"a", 1}, {"high scores.dat", 1}, {"Sp\xC3\xA9l \xE6\x97\xA5\xF0\x9F\x8E\xAE", 1},
      {longest.c_str(), 1}, {over.c_str(), 0}, {wide.c_str(), 0},
      {nullptr, 0}, {"", 0}, {".", 0}, {"..", 0}, {" a", 0}, {"a ", 0}, {".a", 0}, {"a.", 0},
      {"a\tb", 0}, {"a\x7F", 0}, {"a\xC2\x85", 0},  // controls, C1 included
      {"a\\b", 0}, {"a/b", 0}, {"a:b", 0}, {"a*b", 0}, {"a?b", 0}, {"a\"b", 0}, {"a<b", 0},
      {"a>b", 0}, {"a|b", 0},
      {"\xFF", 0}, {"a\xC3", 0}, {"a\xC3(", 0}, {"\xC0\xAF", 0}, {"\xED\xA0\x80", 0},
      {"\xF4\x90\x80\x80", 0}, {"\xE0\xA0\x80", 1}, {"\xF0\x90\x80\x80", 1},  // the least of 3 and 4
      {"\xF4\x8F\xBF\xBF", 1}, {"\xED\xBF\xBF", 0}, {"\xF8\x90\x80\x80", 0}, {"a\xC2\x9F", 0},
      {literal64.c_str(), 1}, {literal65.c_str(), 0},  // the limit as games read it: 64 bytes
      {"CON", 0}, {"con", 0}, {"Prn.txt", 0}, {"aux.tar.gz", 0}, {"NUL", 0}, {"COM1", 0},
      {"com9.sav", 0}, {"LPT1", 0}, {"lPt9", 0}, {"CON .txt", 0}, {"COM\xC2\xB9", 0},
      {"CONIN$", 0}, {"COM0", 1}, {"COM10", 1}, {"LPT", 1}, {"CONSOLE", 1}, {"NULL.txt", 1},
      {"my.CON", 1}, {"AUXILIARY", 1}, {"COM\xC2\xB4", 1}, {"Lvl1", 1}, {"lpt\xC2\xB2", 0},
      {"COM\xC2\xB3.x", 0}, {"COMA", 1},
      // Short names: Wine's ("_X~~~IAK.PRE" is ".x.previous") and NTFS's; the same
      // with what a short name never holds, or longer than 8.3, are long names.
      {"_X~~~IAK.PRE", 0}, {"_x~~~iak.pre", 0}, {"X~1.PRE", 0}, {"PROGRE~1", 0},
      {"AB12CD~9.SAV", 0}, {"~", 0}, {"a~b", 0}, {"SAVE~1.A", 0},
      {"progress~1", 1}, {"X~1.PREV", 1}, {"X~1.P.E", 1}, {"X 1~1.PRE", 1}, {"X~1[1]", 1},
      {"\xC3\xA9~1", 1}, {"~slot.previous", 1}, {"save.~1", 1}, {"ABCDEF~12", 1}, {"X~1..E", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.valid, IsSaveNameValid(c.name)) << c.name;
}

// A header is read only when its size is what the file holds after it, and at most
// 64 MB: claimed sizes up to 4 GB, or wrapping with the header, are refused.
TEST(SaveCheck, HeadersAreReadOnlyWhenTheirSizeIsTheFiles) {
  const uint64_t max = SAVE_SIZE_MAX;
  const struct {
    uint32_t claimed;
    uint64_t fileSize;
    int whole, wrongMagic = 0;
  } cases[] = {{8, 20, 1}, {8, 21, 0}, {8, 19, 0}, {8, 11, 0}, {8, 0, 0}, {0, 12, 1}, {8, 20, 0, 1},
               {max, max + 12, 1}, {max + 1, max + 13, 0}, {~0u, ~0u + 12ull, 0}, {~0u, 20, 0},
               {~0u - 11, 1ull << 32, 0},
               {67108864, 67108876, 1}, {67108865, 67108877, 0}};  // 64 MiB, as documented
  for (const auto& c : cases) {
    uint8_t header[SAVE_HEADER_SIZE];
    WriteSaveHeader(header, "progress", 8);
    if (c.claimed != 8) memcpy(header + 4, &c.claimed, 4);
    header[0] += c.wrongMagic;
    uint32_t size = 7, crc = 7;
    EXPECT_EQ(c.whole, ReadSaveHeader(header, c.fileSize, &size, &crc)) << c.claimed;
    EXPECT_EQ(c.whole ? c.claimed : 7, size);
    EXPECT_EQ(c.whole ? 0x2201F246u : 7, crc);  // "progress" by any CRC-32 tool (zlib.crc32)
  }
}
