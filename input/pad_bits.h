// Folding of the two input state buffers (256 key bytes, one joystick record) into
// the PadBits word. Needs no platform header, so it also runs natively under the
// sanitizers with buffers filled by hand.
#pragma once
#include <stdint.h>

enum : uint32_t {
  PAD_UP = 0x1,
  PAD_DOWN = 0x2,
  PAD_LEFT = 0x4,
  PAD_RIGHT = 0x8,
  PAD_BUTTON0 = 0x100,
  PAD_BUTTON1 = 0x200,
  PAD_BUTTON2 = 0x400,
  PAD_BUTTON3 = 0x800,
  PAD_BUTTON4 = 0x1000,
  PAD_BUTTON5 = 0x2000,
  PAD_BUTTON6 = 0x4000,
  PAD_BUTTON7 = 0x8000,
  PAD_BUTTON8 = 0x10000,
};

enum { KEY_COUNT = 256, JOY_BUTTON_COUNT = 32, PAD_BUTTON_COUNT = 9 };

// The joystick record in the platform's layout (the Windows side checks that it
// matches DIJOYSTATE field by field).
struct JoyRecord {
  int32_t lX, lY, lZ;
  int32_t lRx, lRy, lRz;
  int32_t rglSlider[2];
  uint32_t rgdwPOV[4];
  uint8_t rgbButtons[JOY_BUTTON_COUNT];
};

// keys: KEY_COUNT bytes indexed by scan code, 0x80 meaning down.
uint32_t FoldJoystickBits(const JoyRecord& joy);
uint32_t FoldKeyboardBits(const uint8_t* keys);
uint32_t FoldPadBits(const JoyRecord& joy, const uint8_t* keys);  // both ORed
int KeyDownIn(const uint8_t* keys, uint32_t code);
int JoyButtonDownIn(const JoyRecord& joy, uint32_t index);
