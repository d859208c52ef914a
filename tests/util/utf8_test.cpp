#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/utf8.h"

namespace {

const uint32_t X = UTF8_INVALID;

// Each text read to its end: the code points and the bytes each took.
struct DecodeCase {
  const char* name;
  std::string bytes;
  std::vector<uint32_t> points;
  std::vector<uint32_t> steps;
};

TEST(Utf8, DecodesWellFormedAndSplitsIllFormedIntoMaximalSubparts) {
  const DecodeCase cases[] = {
      {"ascii and the edges of each length", "A\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF",
       {'A', 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF}, {1, 1, 2, 2, 3, 3}},
      {"four bytes, first and last", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", {0x10000, 0x10FFFF}, {4, 4}},
      {"Zoë", "Zo\xC3\xAB", {'Z', 'o', 0xEB}, {1, 1, 2}},
      {"stray continuation bytes", "\x80\xBF" "a", {X, X, 'a'}, {1, 1, 1}},
      {"overlong two bytes (C0, C1)", "\xC0\xAF\xC1\xBF", {X, X, X, X}, {1, 1, 1, 1}},
      {"overlong three bytes", "\xE0\x9F\xBF", {X, X, X}, {1, 1, 1}},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", {X, X, X, X}, {1, 1, 1, 1}},
      {"surrogates", "\xED\xA0\x80\xED\xBF\xBF\xED\x9F\xBF", {X, X, X, X, X, X, 0xD7FF},
       {1, 1, 1, 1, 1, 1, 3}},
      {"past U+10FFFF", "\xF4\x90\x80\x80\xF5\x80", {X, X, X, X, X, X}, {1, 1, 1, 1, 1, 1}},
      {"lead bytes that lead nothing", "\xF8\x88\x80\x80\x80\xFF", {X, X, X, X, X, X},
       {1, 1, 1, 1, 1, 1}},
      {"cut short by the next character", "\xE2\x82" "a\xF0\x9F\x98" "b", {X, 'a', X, 'b'},
       {2, 1, 3, 1}},
      {"cut short by the end", "\xF0\x9F\x98", {X}, {3}},
      {"cut short after the lead", "\xC3", {X}, {1}},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint32_t> points, steps;
    const uint8_t* s = (const uint8_t*)c.bytes.data();
    for (uint32_t i = 0, n = (uint32_t)c.bytes.size(); i < n;) {
      uint32_t cp = 0;
      const uint32_t step = DecodeUtf8(s + i, n - i, &cp);
      ASSERT_GE(step, 1u);
      ASSERT_LE(i + step, n);
      points.push_back(cp), steps.push_back(step);
      i += step;
    }
    EXPECT_EQ(points, c.points);
    EXPECT_EQ(steps, c.steps);
  }
  uint32_t cp = 7;
  EXPECT_EQ(DecodeUtf8((const uint8_t*)"", 0, &cp), 0u);
  EXPECT_EQ(cp, 7u);
}

TEST(Utf8, ToUtf16ReplacesIllFormedSequencesAndNeverWritesPastTheRoom) {
  const struct {
    std::string bytes;
    std::vector<uint16_t> units;
  } cases[] = {
      {"", {}},
      {"Zo\xC3\xAB", {'Z', 'o', 0xEB}},
      {"\xD0\x9F\xD1\x80", {0x41F, 0x440}},
      {"\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},
      {"a\xE2\x82" "b\xC0", {'a', 0xFFFD, 'b', 0xFFFD}},
      {"\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    const uint32_t n = (uint32_t)c.bytes.size();
    EXPECT_EQ(Utf8ToUtf16(c.bytes.data(), n, nullptr, 0), c.units.size());
    for (uint32_t room = 0; room <= c.units.size(); ++room) {
      std::vector<uint16_t> out(room + 1, 0x5A5A);
      EXPECT_EQ(Utf8ToUtf16(c.bytes.data(), n, out.data(), room), c.units.size());
      EXPECT_EQ(std::vector<uint16_t>(out.begin(), out.begin() + room),
                std::vector<uint16_t>(c.units.begin(), c.units.begin() + room));
      EXPECT_EQ(out[room], 0x5A5A);  // the unit past the room untouched
    }
  }
}

TEST(Utf8, Utf16ReadingJoinsPairsAndReplacesLoneHalves) {
  const struct {
    std::vector<uint16_t> units;
    std::vector<uint32_t> points;
  } cases[] = {
      {{'a', 0xEB, 0xFFFF}, {'a', 0xEB, 0xFFFF}},
      {{0xD83D, 0xDE00, 'b'}, {0x1F600, 'b'}},
      {{0xDBFF, 0xDFFF}, {0x10FFFF}},
      {{0xDE00, 'c'}, {0xFFFD, 'c'}},         // a low half first
      {{0xD83D, 'd'}, {0xFFFD, 'd'}},         // a high half alone
      {{0xD83D, 0xD83D, 0xDE00}, {0xFFFD, 0x1F600}},
      {{0xD83D}, {0xFFFD}},                    // at the end
  };
  for (const auto& c : cases) {
    std::vector<uint32_t> points;
    for (uint32_t i = 0, n = (uint32_t)c.units.size(); i < n;) points.push_back(NextUtf16(c.units.data(), n, &i));
    EXPECT_EQ(points, c.points);
  }
}

}  // namespace
