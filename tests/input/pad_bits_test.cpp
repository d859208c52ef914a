// Folding of hand-filled state buffers into PadBits. The buffers live on the heap
// at their exact sizes, so a read past either one trips AddressSanitizer.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "input/pad_fold.h"

namespace {

struct Buffers {
  std::vector<uint8_t> keys = std::vector<uint8_t>(KEY_COUNT, 0);
  std::unique_ptr<JoyRecord> joy{new JoyRecord()};
};

const uint8_t DIK_Z = 0x2C, DIK_LEFT = 0xCB, DIK_UP = 0xC8;

TEST(PadBits, EachKeyAndButtonHasItsOwnBit) {
  struct Row { uint8_t key; uint32_t bit; };
  const Row rows[] = {{0xC8, PAD_UP},      {0xD0, PAD_DOWN},    {0xCB, PAD_LEFT},
                      {0xCD, PAD_RIGHT},   {0x2C, PAD_BUTTON0}, {0x2D, PAD_BUTTON1},
                      {0x2E, PAD_BUTTON2}, {0x1E, PAD_BUTTON3}, {0x1F, PAD_BUTTON4},
                      {0x20, PAD_BUTTON5}, {0x10, PAD_BUTTON6}, {0x11, PAD_BUTTON7},
                      {0x12, PAD_BUTTON8}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.key);
    Buffers b;
    b.keys[r.key] = 0x80;
    EXPECT_EQ(FoldKeyboardBits(b.keys.data()), r.bit);
    EXPECT_EQ(FoldJoystickBits(*b.joy), 0u);
  }
  for (int i = 0; i < JOY_BUTTON_COUNT; ++i) {
    SCOPED_TRACE(i);
    Buffers b;
    b.joy->rgbButtons[i] = 0x80;
    EXPECT_EQ(FoldJoystickBits(*b.joy), i < 9 ? PAD_BUTTON0 << i : 0u);  // 9..31 never
  }
}

TEST(PadBits, KeysNeedExactly0x80ButtonsAnyHighBit) {
  Buffers b;
  b.keys[DIK_Z] = 0x81;
  b.joy->rgbButtons[1] = 0x81;
  b.joy->rgbButtons[2] = 0x7F;
  EXPECT_EQ(FoldKeyboardBits(b.keys.data()), 0u);
  EXPECT_EQ(KeyDownIn(b.keys.data(), DIK_Z), 0);
  EXPECT_EQ(FoldJoystickBits(*b.joy), (uint32_t)PAD_BUTTON1);
  EXPECT_EQ(JoyButtonDownIn(*b.joy, 1), 1);
  EXPECT_EQ(JoyButtonDownIn(*b.joy, 2), 0);
}

TEST(PadBits, AxesSetOneBitBySignAndZeroSetsNone) {
  Buffers b;
  const struct { int32_t x, y; uint32_t bits; } cases[] = {
      {0, 0, 0},         {0, -1, PAD_UP},          {0, 1, PAD_DOWN},
      {-1, 0, PAD_LEFT}, {1000, 0, PAD_RIGHT},     {-1000, 1000, PAD_LEFT | PAD_DOWN},
      {INT32_MIN, INT32_MAX, PAD_LEFT | PAD_DOWN}};
  for (const auto& c : cases) {
    b.joy->lX = c.x;
    b.joy->lY = c.y;
    EXPECT_EQ(FoldJoystickBits(*b.joy), c.bits) << c.x << "," << c.y;
  }
  // The other axes, sliders and hats never reach PadBits.
  b.joy->lX = b.joy->lY = 0;
  b.joy->lZ = b.joy->lRx = b.joy->lRy = b.joy->lRz = -500;
  b.joy->rglSlider[0] = b.joy->rglSlider[1] = 700;
  for (uint32_t& pov : b.joy->rgdwPOV) pov = 9000;
  EXPECT_EQ(FoldJoystickBits(*b.joy), 0u);
}

TEST(PadBits, SourcesAreOredAndOppositesCoexist) {
  Buffers b;
  b.keys[DIK_Z] = 0x80;
  b.joy->rgbButtons[0] = 0x80;  // the same bit from both: set once
  b.keys[DIK_LEFT] = 0x80;
  b.joy->lX = 300;  // stick right while cursor-left is held
  b.keys[DIK_UP] = 0x80;
  b.joy->rgbButtons[8] = 0xFF;
  EXPECT_EQ(FoldPadBits(*b.joy, b.keys.data()),
            (uint32_t)(PAD_BUTTON0 | PAD_LEFT | PAD_RIGHT | PAD_UP | PAD_BUTTON8));

  // Everything held: bits 4..7 and 17..31 stay clear.
  Buffers all;
  for (uint8_t& k : all.keys) k = 0x80;
  for (uint8_t& button : all.joy->rgbButtons) button = 0xFF;
  all.joy->lX = all.joy->lY = -1;
  EXPECT_EQ(FoldPadBits(*all.joy, all.keys.data()), 0x1FF0Fu);
}

TEST(PadBits, SingleQueriesStayInsideTheirBuffers) {
  Buffers b;
  for (uint8_t& k : b.keys) k = 0x80;
  EXPECT_EQ(KeyDownIn(b.keys.data(), 0), 0);  // code 0 is no key
  EXPECT_EQ(KeyDownIn(b.keys.data(), 1), 1);
  EXPECT_EQ(KeyDownIn(b.keys.data(), 255), 1);
  EXPECT_EQ(KeyDownIn(b.keys.data(), 256), 0);
  EXPECT_EQ(KeyDownIn(b.keys.data(), 0xFFFFFFFFu), 0);
  b.keys[255] = 0;
  EXPECT_EQ(KeyDownIn(b.keys.data(), 255), 0);

  for (uint8_t& button : b.joy->rgbButtons) button = 0x80;
  EXPECT_EQ(JoyButtonDownIn(*b.joy, 0), 1);
  EXPECT_EQ(JoyButtonDownIn(*b.joy, 31), 1);
  EXPECT_EQ(JoyButtonDownIn(*b.joy, 32), 0);  // past the 32 button bytes
  EXPECT_EQ(JoyButtonDownIn(*b.joy, 0x7FFFFFFFu), 0);
}

}  // namespace
