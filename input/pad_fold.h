// Folding of the two input state buffers (256 key bytes, one joystick record) into
// the PadBits word. Needs no platform header, so it also runs natively under the
// sanitizers with buffers filled by hand. Not installed: the input module's own.
#pragma once
#include <stdint.h>

#include "input/pad_bits.h"

enum { KEY_COUNT = 256 };

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
