// The virtual controller's script reading and axis arithmetic.
#include <gtest/gtest.h>

#include <limits.h>

#include <string>

#include "tools/virtual_pad/pad_script.h"

namespace {

std::vector<uint32_t> Polls(PadScript& s, int n, int32_t PadStep::*field) {
  std::vector<uint32_t> out;
  for (int i = 0; i < n; ++i) out.push_back((uint32_t)(NextPadStep(s).*field));
  return out;
}

TEST(PadScript, LinesLastTheirCountThenThePadIsNeutral) {
  PadScript s = ParsePadScript(
      "# hold right, then up with button 0\n"
      "1000 0 0 3\n"
      "\n"
      "  0 -1000 1 2   # a comment after the step\r\n"
      "-5 7 80000000\n"
      "1 1 1 0\n");  // lasts no poll
  EXPECT_EQ(s.skipped, 0);
  EXPECT_EQ(Polls(s, 8, &PadStep::x), (std::vector<uint32_t>{1000, 1000, 1000, 0, 0,
                                                             (uint32_t)-5, 0, 0}));
  PadScript t = ParsePadScript("1000 0 0 3\n0 -1000 1 2\n-5 7 80000000\n1 1 1 0\n");
  EXPECT_EQ(Polls(t, 8, &PadStep::y), (std::vector<uint32_t>{0, 0, 0, (uint32_t)-1000,
                                                             (uint32_t)-1000, 7, 0, 0}));
  PadScript u = ParsePadScript("0 0 1 2\n0 0 80000000\n");
  std::vector<uint32_t> buttons;
  for (int i = 0; i < 5; ++i) buttons.push_back(NextPadStep(u).buttons);
  EXPECT_EQ(buttons, (std::vector<uint32_t>{1, 1, 0x80000000u, 0, 0}));

  // The largest mask and count, on a line without a line feed that ends the buffer.
  const char last[] = "123 -456 ffffffff 4294967295";
  PadScript v = ParsePadScript(std::vector<char>(last, last + sizeof last).data());
  ASSERT_EQ(v.steps.size(), 1u);
  EXPECT_EQ(v.steps[0].x, 123);
  EXPECT_EQ(v.steps[0].y, -456);
  EXPECT_EQ(v.steps[0].buttons, 0xFFFFFFFFu);
  EXPECT_EQ(v.steps[0].count, 4294967295u);
}

// Read alike with LF and with CR LF line ends.
TEST(PadScript, UnreadableLinesAreSkippedAndPositionsClamped) {
  std::string text =
      "left 0 0\n"      // not a number
      "5\n"             // too short
      "5 ff\n"          // a field missing
      "5 1f\n"          // fields run together
      "1-2 3\n"
      "1 2 zz\n"        // buttons not hex
      "1 2 +3\n"        // signed buttons
      "0 0 -1\n"
      "1 2 3 4 5\n"     // too long
      "1 2 3 -4\n"      // negative count
      "1 2 3 +4\n"      // signed count
      "1 2 3z\n"
      "99999999999999999999 0 0\n"  // over 64 bits
      "1 2 123456789\n" // more than 32 buttons
      "-99999 99999 0x3 2\n";
  for (int crlf = 0; crlf < 2; ++crlf) {
    SCOPED_TRACE(crlf ? "CR LF" : "LF");
    PadScript s = ParsePadScript(text.c_str());
    EXPECT_EQ(s.skipped, 14);
    ASSERT_EQ(s.steps.size(), 1u);
    EXPECT_EQ(s.steps[0].x, -1000);
    EXPECT_EQ(s.steps[0].y, 1000);
    EXPECT_EQ(s.steps[0].buttons, 3u);
    EXPECT_EQ(s.steps[0].count, 2u);
    for (size_t i = 0; (i = text.find('\n', i)) != std::string::npos; i += 2) text.insert(i, "\r");
  }
  EXPECT_EQ(ParsePadScript(nullptr).steps.size(), 0u);
  PadScript empty = ParsePadScript("");
  EXPECT_EQ(NextPadStep(empty).x, 0);
}

TEST(PadScript, AxisFollowsRangeAndDeadZone) {
  // The framework's settings: -1000..1000 with a 40 % dead zone.
  EXPECT_EQ(PadAxisValue(0, -1000, 1000, 4000), 0);
  EXPECT_EQ(PadAxisValue(400, -1000, 1000, 4000), 0);
  EXPECT_EQ(PadAxisValue(-400, -1000, 1000, 4000), 0);
  EXPECT_EQ(PadAxisValue(401, -1000, 1000, 4000), 1);
  EXPECT_EQ(PadAxisValue(700, -1000, 1000, 4000), 500);
  EXPECT_EQ(PadAxisValue(1000, -1000, 1000, 4000), 1000);
  EXPECT_EQ(PadAxisValue(-1000, -1000, 1000, 4000), -1000);
  // The platform's default range, no dead zone.
  EXPECT_EQ(PadAxisValue(0, 0, 65535, 0), 32767);
  EXPECT_EQ(PadAxisValue(1000, 0, 65535, 0), 65535);
  EXPECT_EQ(PadAxisValue(-1000, 0, 65535, 0), 0);
  // A full dead zone always reads the centre; extreme ranges do not overflow.
  EXPECT_EQ(PadAxisValue(1000, -1000, 1000, 10000), 0);
  EXPECT_EQ(PadAxisValue(1000, -1000, 1000, 0xFFFFFFFFu), 0);
  EXPECT_EQ(PadAxisValue(INT32_MAX, INT32_MIN, INT32_MAX, 0), INT32_MAX);
  EXPECT_EQ(PadAxisValue(INT32_MIN, INT32_MIN, INT32_MAX, 0), INT32_MIN);
}

}  // namespace
