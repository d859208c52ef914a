// Keyboard and game controller, polled once per frame and folded into PadBits.
#pragma once
#include <windows.h>

#include "input/pad_bits.h"

// Both stick axes report -JOY_AXIS_RANGE..+JOY_AXIS_RANGE; inside the dead zone
// (hundredths of a percent of the travel: 40 %) they report 0.
enum { JOY_AXIS_RANGE = 1000, JOY_DEAD_ZONE = 4000 };

// Opens the keyboard and the first game controller (required unless the start options
// allow none); 0 or the failing status.
HRESULT InitInput();
HRESULT CreateKeyboard();  // used by InitInput; 0 or the failing status
HRESULT CreateJoystick();  // used by InitInput; E_FAIL when no controller is attached
// Reads both devices once per frame (called by ProcessMessage); the last device status.
HRESULT UpdateInput();
// Closes both devices and DirectInput; safe before InitInput and twice.
void ReleaseInput();
// 1 while a game controller is open; 0 when started without one (START_WITHOUT_CONTROLLER).
int IsControllerPresent();

DWORD GetJoystickBits();   // PadBits from the controller alone
DWORD GetKeyboardBits();   // PadBits from the keyboard alone
DWORD GetPadBits();        // the two above ORed: the word a game reads each frame
int IsKeyDown(DWORD code);          // 1 while the key of that DIK_ scan code is down
int IsJoyButtonDown(DWORD index);   // 1 while controller button index (0..31) is down
int IsJoyUp();     // 1 while the stick points up
int IsJoyDown();   // 1 while the stick points down
int IsJoyLeft();   // 1 while the stick points left
int IsJoyRight();  // 1 while the stick points right
