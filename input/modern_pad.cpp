#include "input/modern_pad.h"

int32_t ScalePadAxis(int32_t raw, int32_t deadZone) {
  const int64_t full = 32767;
  int64_t magnitude = raw < 0 ? -(int64_t)raw : raw;
  if (magnitude > full) magnitude = full;  // -32768 is full travel too
  // Past the dead zone, magnitude - deadZone <= full - deadZone, both positive.
  if (magnitude <= deadZone) return 0;
  int32_t scaled = (int32_t)((magnitude - deadZone) * PAD_AXIS_RANGE / (full - deadZone));
  return raw < 0 ? -scaled : scaled;
}

uint8_t ScalePadTrigger(uint8_t raw) { return raw < PAD_TRIGGER_THRESHOLD ? 0 : raw; }

uint32_t FoldModernPadBits(uint16_t buttons, int32_t leftX, int32_t leftY,
                           uint8_t leftTrigger, uint8_t rightTrigger) {
  // The order the same pads' buttons come in through DirectInput.
  static const uint16_t kButtons[PAD_BUTTON_COUNT] = {
      RAW_A, RAW_B, RAW_X, RAW_Y, RAW_LEFT_SHOULDER, RAW_RIGHT_SHOULDER,
      RAW_BACK, RAW_START, RAW_LEFT_THUMB};
  uint32_t bits = 0;
  if (leftY < 0 || (buttons & RAW_DPAD_UP)) bits |= PAD_UP;
  if (leftY > 0 || (buttons & RAW_DPAD_DOWN)) bits |= PAD_DOWN;
  if (leftX < 0 || (buttons & RAW_DPAD_LEFT)) bits |= PAD_LEFT;
  if (leftX > 0 || (buttons & RAW_DPAD_RIGHT)) bits |= PAD_RIGHT;
  for (int i = 0; i < PAD_BUTTON_COUNT; ++i) {
    if (buttons & kButtons[i]) bits |= PAD_BUTTON0 << i;
  }
  if (leftTrigger >= PAD_TRIGGER_PRESS) bits |= PAD_TRIGGER_LEFT;
  if (rightTrigger >= PAD_TRIGGER_PRESS) bits |= PAD_TRIGGER_RIGHT;
  return bits;
}

PadValues ReadPadRaw(const PadRaw& raw) {
  PadValues v;
  v.leftX = ScalePadAxis(raw.leftX, PAD_LEFT_DEAD_ZONE);
  v.leftY = -ScalePadAxis(raw.leftY, PAD_LEFT_DEAD_ZONE);  // up is negative on screen
  v.rightX = ScalePadAxis(raw.rightX, PAD_RIGHT_DEAD_ZONE);
  v.rightY = -ScalePadAxis(raw.rightY, PAD_RIGHT_DEAD_ZONE);
  v.leftTrigger = ScalePadTrigger(raw.leftTrigger);
  v.rightTrigger = ScalePadTrigger(raw.rightTrigger);
  v.bits = FoldModernPadBits(raw.buttons, v.leftX, v.leftY, raw.leftTrigger, raw.rightTrigger);
  return v;
}
