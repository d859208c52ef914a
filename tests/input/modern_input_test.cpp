// The platform-free arithmetic of modern pads, edges and typed text, as tables.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "input/alt_enter.h"
#include "input/modern_pad.h"
#include "input/text_queue.h"

namespace {

TEST(ModernPad, AxesThroughTheirDeadZonesToExactlyFullTravel) {
  const struct { int32_t raw, zone, scaled; } rows[] = {
      {0, 7849, 0},         {7849, 7849, 0},       {-7849, 7849, 0},     {7874, 7849, 1},
      {32767, 7849, 1000},  {-32768, 7849, -1000}, {-32767, 7849, -1000}, {20000, 8689, 469},
      {-20000, 8689, -469}, {32767, 8689, 1000},   {100, -32768, 501},   {32767, 40000, 0},
      {32767, 32767, 0}};  // a dead zone of full travel: none, not a division by zero
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.raw << " / " << r.zone);
    EXPECT_EQ(ScalePadAxis(r.raw, r.zone), r.scaled);
  }
  const struct { uint8_t raw, read; } triggers[] = {{0, 0}, {29, 0}, {30, 30}, {255, 255}};
  for (const auto& t : triggers) EXPECT_EQ(ScalePadTrigger(t.raw), t.read) << (int)t.raw;
}

TEST(ModernPad, ReadingGivesUpNegativeAndTheButtonsInTheirOrder) {
  const struct { PadRaw raw; uint32_t bits; int32_t leftY, rightY; } rows[] = {
      {{0, 0, 0, 0, 32767, -32768, -32768}, PAD_UP, -1000, 1000},
      {{0, 0, 0, -32768, -32768, 0, 0}, PAD_LEFT | PAD_DOWN, 1000, 0},
      {{RAW_DPAD_UP | RAW_DPAD_RIGHT, 0, 0, 0, 0, 0, 0}, PAD_UP | PAD_RIGHT, 0, 0},
      {{RAW_DPAD_DOWN | RAW_DPAD_LEFT, 0, 0, 7000, 7000, 0, 0}, PAD_DOWN | PAD_LEFT, 0, 0},
      {{RAW_A | RAW_X | RAW_LEFT_SHOULDER | RAW_BACK | RAW_LEFT_THUMB, 0, 0, 0, 0, 0, 0},
       PAD_BUTTON0 | PAD_BUTTON2 | PAD_BUTTON4 | PAD_BUTTON6 | PAD_BUTTON8, 0, 0},
      {{RAW_B | RAW_Y | RAW_RIGHT_SHOULDER | RAW_START, 0, 0, 0, 0, 0, 0},
       PAD_BUTTON1 | PAD_BUTTON3 | PAD_BUTTON5 | PAD_BUTTON7, 0, 0},
      {{RAW_RIGHT_THUMB | 0x0C00, 0, 0, 0, 0, 32767, 0}, 0, 0, 0},  // never bits
      // Triggers are buttons past half travel (128 of 255).
      {{0, 127, 128, 0, 0, 0, 0}, PAD_TRIGGER_RIGHT, 0, 0},
      {{0, 255, 29, 0, 0, 0, 0}, PAD_TRIGGER_LEFT, 0, 0},
      {{RAW_A, 128, 255, 0, 0, 0, 0}, PAD_BUTTON0 | PAD_TRIGGER_LEFT | PAD_TRIGGER_RIGHT, 0, 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << r.raw.buttons);
    PadValues v = ReadPadRaw(r.raw);
    EXPECT_EQ(v.bits, r.bits);
    EXPECT_EQ(v.leftY, r.leftY);
    EXPECT_EQ(v.rightY, r.rightY);
    EXPECT_EQ(v.rightX, ((r.raw.rightX > 0) - (r.raw.rightX < 0)) * 1000);  // rows: full or none
  }
  // Each stick past its own dead zone (7849 and 8689) by 25; each trigger by itself.
  const PadValues v = ReadPadRaw({0, 200, 10, 7874, 0, 8714, 0});
  EXPECT_EQ((std::vector<int32_t>{v.leftX, v.rightX, v.leftTrigger, v.rightTrigger}),
            (std::vector<int32_t>{1, 1, 200, 0}));
  const PadValues w = ReadPadRaw({0, 10, 200, 7873, 0, 8713, 0});
  EXPECT_EQ((std::vector<int32_t>{w.leftX, w.rightX, w.leftTrigger, w.rightTrigger}),
            (std::vector<int32_t>{0, 0, 0, 200}));
}

TEST(ModernPad, EdgesCountATapBetweenPollsOnce) {
  const struct { uint32_t before, now, tapped, pressed, released; } rows[] = {
      {0, 0x100, 0, 0x100, 0}, {0x100, 0x100, 0, 0, 0}, {0x100, 0, 0, 0, 0x100},  // down, held, up
      {0, 0, 0x100, 0x100, 0x100},  // down and up between two polls
      {0x100, 0, 0x100, 0, 0x100}, {0, 0x100, 0x100, 0x100, 0},  // a tap seen held: once
      {0x1, 0x8, 0x200, 0x208, 0x201}};
  for (const auto& r : rows) {
    EXPECT_EQ(PressedBits(r.before, r.now, r.tapped), r.pressed) << std::hex << r.before << " " << r.now;
    EXPECT_EQ(ReleasedBits(r.before, r.now, r.tapped), r.released) << std::hex << r.before << " " << r.now;
  }
}

// Polls of the key state as HideAltEnter sees them: per poll "a" Alt down, "e"
// Enter down, "m" the window's Alt+Enter message came before it; what the game
// reads of Enter, a digit a poll.
std::string EnterAsRead(const std::vector<std::string>& polls, uint32_t alt, uint32_t enter) {
  uint8_t before[256] = {}, hidden[256] = {};
  std::string read;
  for (const std::string& poll : polls) {
    uint8_t keys[256] = {};
    keys[alt] = poll.find('a') != std::string::npos ? 0x80 : 0;
    keys[enter] = poll.find('e') != std::string::npos ? 0x80 : 0;
    if (poll.find('m') != std::string::npos) hidden[enter] = 1;
    HideAltEnter(keys, before, hidden);
    read += keys[enter] == 0x80 ? '1' : '0';
    memcpy(before, keys, sizeof keys);
  }
  return read;
}

TEST(AltEnter, TheToggleTakesItsEnterUntilLetGo) {
  const struct { std::vector<std::string> polls; const char* read; } rows[] = {
      {{"a", "ae", "ae", "a", "", "e"}, "000001"},   // held with Alt; a plain press after
      {{"e", "ae", "ae", "", "ae"}, "11100"},       // Enter first: the game's until let go
      {{"am", "ae", "e", "", "e"}, "00001"},        // the message first; Alt let go first
      {{"mae", "e", "e", "e"}, "0000"},             // the message with the keys
      {{"m", "", "e"}, "001"},                      // seen up: given back
      {{"ae", "", "ae", "e"}, "0000"}};             // each Alt+Enter taken
  for (const auto& r : rows) {
    EXPECT_EQ(EnterAsRead(r.polls, KEY_ALT_LEFT, KEY_ENTER), r.read) << testing::PrintToString(r.polls);
    EXPECT_EQ(EnterAsRead(r.polls, KEY_ALT_RIGHT, KEY_PAD_ENTER), r.read) << testing::PrintToString(r.polls);
  }
  uint8_t keys[256] = {}, before[256] = {}, hidden[256] = {};
  keys[KEY_ALT_LEFT] = keys[KEY_ENTER] = keys[0x1E] = 0x80;  // Alt+Enter with A held
  HideAltEnter(keys, before, hidden);
  EXPECT_EQ(keys[KEY_ALT_LEFT] + keys[0x1E] + keys[KEY_ENTER], 2 * 0x80);  // only Enter hidden
}

std::string Typed(const std::vector<uint16_t>& units) {
  TextQueue q = {};
  for (uint16_t u : units) PushTextUnit(&q, u);
  return std::string(q.utf8, q.bytes);
}

TEST(TextQueue, Utf16BecomesUtf8WithoutControlsOrLoneHalves) {
  const struct { std::vector<uint16_t> units; std::string utf8; } rows[] = {
      {{'Z', 'o', 0xEB, ' ', 0xD83D, 0xDE00}, "Zo\xC3\xAB \xF0\x9F\x98\x80"},
      {{0x20AC, 0xFFFD, 0x7FF}, "\xE2\x82\xAC\xEF\xBF\xBD\xDF\xBF"},
      {{0x800, 0xE000}, "\xE0\xA0\x80\xEE\x80\x80"},  // the least of 3 bytes; past the halves
      {{0xDBFF, 0xDFFF, 0xD800, 0xDC00}, "\xF4\x8F\xBF\xBF\xF0\x90\x80\x80"},
      {{0xD83D, 'a', 0xDE00, 'b'}, "ab"},  // halves alone
      {{0xD83D, 0xDE00, 0xDE00, 0xD83D, 0xD83D, 0xDE00}, "\xF0\x9F\x98\x80\xF0\x9F\x98\x80"},
      {{'\b', '\t', '\r', '\n', 0x1B, 0x7F, 0x85, 0, 0xA0}, "\b\t\r\xC2\xA0"}};
  for (const auto& r : rows) EXPECT_EQ(Typed(r.units), r.utf8);

  TextQueue q = {};
  for (int i = 0; i < 300; ++i) PushTextUnit(&q, i < 255 ? 'a' : 0x20AC);
  EXPECT_EQ(q.chars, (uint32_t)TEXT_CHARS_PER_POLL);  // the first 256 kept, in order
  EXPECT_EQ(std::string(q.utf8, q.bytes), std::string(255, 'a') + "\xE2\x82\xAC");
  ClearTextQueue(&q);
  PushTextUnit(&q, 0xD83D);
  ClearTextQueue(&q);  // a pair split across two polls still joins
  PushTextUnit(&q, 0xDE00);
  EXPECT_EQ(std::string(q.utf8, q.bytes), "\xF0\x9F\x98\x80");
}

TEST(TextQueue, SmallBuffersTakeWholeCharacters) {
  const std::string text = "a\xC3\xAB\xE0\xA0\x80\xF0\x9F\x98\x80";  // 1, 2, 3 and 4 bytes
  const struct { uint32_t size, written; } rows[] = {
      {0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 3}, {6, 3}, {7, 6}, {10, 6}, {11, 10}, {64, 10}};
  const std::vector<char> source(text.begin(), text.end());  // no NUL after it: a read past trips ASan
  for (const auto& r : rows) {
    std::vector<char> out(r.size, 'X');  // exactly the size: a write past it trips ASan
    EXPECT_EQ(CopyWholeChars(source.data(), (uint32_t)source.size(), out.data(), r.size), r.written);
    if (r.size == 0) continue;
    EXPECT_EQ(std::string(out.data()), text.substr(0, r.written)) << r.size;
  }
  EXPECT_EQ(CopyWholeChars(text.data(), (uint32_t)text.size(), nullptr, 8), 0u);
}

}  // namespace
