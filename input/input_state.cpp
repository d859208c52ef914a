#include "input/input_state.h"

#include <stddef.h>

InputState Input;
PadInput Pads;
InputEvents Events;

// The portable folding reads JoystickState through its own record type.
static_assert(sizeof(JoyRecord) == sizeof(DIJOYSTATE), "joystick record size");
static_assert(offsetof(JoyRecord, lX) == offsetof(DIJOYSTATE, lX), "lX");
static_assert(offsetof(JoyRecord, lY) == offsetof(DIJOYSTATE, lY), "lY");
static_assert(offsetof(JoyRecord, rglSlider) == offsetof(DIJOYSTATE, rglSlider), "sliders");
static_assert(offsetof(JoyRecord, rgdwPOV) == offsetof(DIJOYSTATE, rgdwPOV), "hats");
static_assert(offsetof(JoyRecord, rgbButtons) == offsetof(DIJOYSTATE, rgbButtons), "buttons");
static_assert(sizeof(DIJOYSTATE) == 80, "DIJOYSTATE");
static_assert(sizeof(DIDEVICEINSTANCEA) == 580, "DIDEVICEINSTANCEA");
static_assert(sizeof(DIPROPRANGE) == 24 && sizeof(DIPROPDWORD) == 20 &&
              sizeof(DIPROPHEADER) == 16, "property records");
