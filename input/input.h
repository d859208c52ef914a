// Keyboard and game controller, polled once per frame and folded into PadBits.
#pragma once
#include <windows.h>

#include "input/pad_bits.h"

// Both stick axes report -JOY_AXIS_RANGE..+JOY_AXIS_RANGE; inside the dead zone
// (hundredths of a percent of the travel: 40 %) they report 0.
enum { JOY_AXIS_RANGE = 1000, JOY_DEAD_ZONE = 4000 };

HRESULT InitInput();
HRESULT CreateKeyboard();
HRESULT CreateJoystick();
HRESULT UpdateInput();
void ReleaseInput();

DWORD GetJoystickBits();
DWORD GetKeyboardBits();
DWORD GetPadBits();
int IsKeyDown(DWORD code);
int IsJoyButtonDown(DWORD index);
int IsJoyUp();
int IsJoyDown();
int IsJoyLeft();
int IsJoyRight();
