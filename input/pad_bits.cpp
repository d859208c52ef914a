#include "input/pad_fold.h"

namespace {

// Scan codes of the keyboard side, in PadBits bit order: the four directions,
// then buttons 0 to 8.
const uint8_t kDirectionKeys[4] = {0xC8, 0xD0, 0xCB, 0xCD};  // up, down, left, right
const uint8_t kButtonKeys[PAD_BUTTON_COUNT] = {0x2C, 0x2D, 0x2E, 0x1E, 0x1F,
                                               0x20, 0x10, 0x11, 0x12};  // Z X C A S D Q W E

}  // namespace

uint32_t FoldJoystickBits(const JoyRecord& joy) {
  uint32_t bits = 0;
  if (joy.lY < 0) bits |= PAD_UP;
  if (joy.lY > 0) bits |= PAD_DOWN;
  if (joy.lX < 0) bits |= PAD_LEFT;
  if (joy.lX > 0) bits |= PAD_RIGHT;
  for (int i = 0; i < PAD_BUTTON_COUNT; ++i) {
    if (joy.rgbButtons[i] & 0x80) bits |= PAD_BUTTON0 << i;
  }
  return bits;
}

// Keys count only at exactly 0x80, where joystick buttons take any high bit.
uint32_t FoldKeyboardBits(const uint8_t* keys) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) {
    if (keys[kDirectionKeys[i]] == 0x80) bits |= PAD_UP << i;
  }
  for (int i = 0; i < PAD_BUTTON_COUNT; ++i) {
    if (keys[kButtonKeys[i]] == 0x80) bits |= PAD_BUTTON0 << i;
  }
  return bits;
}

uint32_t FoldPadBits(const JoyRecord& joy, const uint8_t* keys) {
  return FoldJoystickBits(joy) | FoldKeyboardBits(keys);
}

int KeyDownIn(const uint8_t* keys, uint32_t code) {
  return code >= 1 && code < KEY_COUNT && keys[code] == 0x80 ? 1 : 0;
}

// Indexes past the 32 button bytes answer 0 rather than read beyond the record.
int JoyButtonDownIn(const JoyRecord& joy, uint32_t index) {
  return index < JOY_BUTTON_COUNT && (joy.rgbButtons[index] & 0x80) ? 1 : 0;
}
