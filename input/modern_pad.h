// A modern pad's reading turned into what a game reads: sticks through their
// dead zones scaled to -1000..1000 (up negative), triggers under a threshold
// read as 0, and the pad's PadBits; and the PadBits edges between two polls.
// Needs no platform header, so it also runs natively under the sanitizers.
#pragma once
#include <stdint.h>

#include "input/pad_bits.h"

// The pad's reading in the platform's layout (the Windows side checks it field
// by field); stick Y grows upwards here.
struct PadRaw {
  uint16_t buttons;
  uint8_t leftTrigger, rightTrigger;
  int16_t leftX, leftY, rightX, rightY;
};

// What GetPadState hands out, in PadState's layout.
struct PadValues {
  uint32_t bits;
  int32_t leftX, leftY, rightX, rightY;  // -1000..1000, negative left / up
  uint8_t leftTrigger, rightTrigger;     // 0..255
};

enum {
  PAD_AXIS_RANGE = 1000,
  PAD_LEFT_DEAD_ZONE = 7849,   // of 32767
  PAD_RIGHT_DEAD_ZONE = 8689,
  PAD_TRIGGER_THRESHOLD = 30,  // of 255
  PAD_TRIGGER_PRESS = 128,     // of 255: past half travel, a trigger is a button
};

// The pad's button mask.
enum : uint16_t {
  RAW_DPAD_UP = 0x1, RAW_DPAD_DOWN = 0x2, RAW_DPAD_LEFT = 0x4, RAW_DPAD_RIGHT = 0x8,
  RAW_START = 0x10, RAW_BACK = 0x20, RAW_LEFT_THUMB = 0x40, RAW_RIGHT_THUMB = 0x80,
  RAW_LEFT_SHOULDER = 0x100, RAW_RIGHT_SHOULDER = 0x200,
  RAW_A = 0x1000, RAW_B = 0x2000, RAW_X = 0x4000, RAW_Y = 0x8000,
};

// One axis, each on its own: 0 up to the dead zone, then linear to exactly
// +-PAD_AXIS_RANGE at full travel (either end). The sign is the raw one.
int32_t ScalePadAxis(int32_t raw, int32_t deadZone);
uint8_t ScalePadTrigger(uint8_t raw);
// Directions from the scaled left stick and the D-pad; A B X Y LB RB Back Start
// and the left-stick press as PAD_BUTTON0..8 (the table in input.h); the triggers
// from PAD_TRIGGER_PRESS on as PAD_TRIGGER_LEFT and PAD_TRIGGER_RIGHT.
uint32_t FoldModernPadBits(uint16_t buttons, int32_t leftX, int32_t leftY,
                           uint8_t leftTrigger, uint8_t rightTrigger);
PadValues ReadPadRaw(const PadRaw& raw);

// Edges between the previous poll's bits and this one's; tapped holds bits that
// went down and up again in between (counted as pressed and as released).
inline uint32_t PressedBits(uint32_t previous, uint32_t now, uint32_t tapped) {
  return (now | tapped) & ~previous;
}
inline uint32_t ReleasedBits(uint32_t previous, uint32_t now, uint32_t tapped) {
  return (previous | tapped) & ~now;
}
