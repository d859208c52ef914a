// Keyboard and game controller, polled once per frame and folded into PadBits.
#pragma once
#include <windows.h>
// The DIK_ key codes that IsKeyDown and WasKeyPressed take.
#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#include <dinput.h>

#include "input/pad_bits.h"

// Both stick axes report -JOY_AXIS_RANGE..+JOY_AXIS_RANGE; near the centre, 0.
enum { JOY_AXIS_RANGE = 1000 };

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

// Modern pads (up to PAD_COUNT), read every poll when connected; those plugged in
// at the start are known when InitApplication returns, an empty slot is asked
// again about once a second, so a pad plugged in while a game runs is found.
// GetPadBits (and its edges) also holds the bits of the first connected one:
//   A   PAD_BUTTON0     LB  PAD_BUTTON4     Back   PAD_BUTTON6
//   B   PAD_BUTTON1     RB  PAD_BUTTON5     Start  PAD_BUTTON7
//   X   PAD_BUTTON2                         left stick pressed  PAD_BUTTON8
//   Y   PAD_BUTTON3     left stick or D-pad PAD_UP, PAD_DOWN, PAD_LEFT, PAD_RIGHT
//   left trigger past half travel PAD_TRIGGER_LEFT, right PAD_TRIGGER_RIGHT
// The right stick and its press have no bit: GetPadState reads the stick.
enum { PAD_COUNT = 4 };
struct PadState {
  DWORD bits;                          // PadBits of this pad alone
  LONG leftX, leftY, rightX, rightY;   // -JOY_AXIS_RANGE..+JOY_AXIS_RANGE, negative left / up
  BYTE leftTrigger, rightTrigger;      // 0..255
};
int IsPadConnected(DWORD pad);  // 1 while pad (0..PAD_COUNT-1) is connected
// 0 and the state of a connected pad; E_FAIL and a zeroed state for one not
// connected; E_INVALIDARG for pad >= PAD_COUNT or a null state.
HRESULT GetPadState(DWORD pad, PadState* state);
// Motor speeds 0..65535 (low: the heavy left motor); 0 when the pad took them,
// E_FAIL when not connected, E_INVALIDARG out of range. ReleaseInput stops them.
HRESULT SetPadRumble(DWORD pad, WORD low, WORD high);

// Events between the previous poll and the last; a press and release between
// two polls still counts once.
DWORD GetPadBitsPressed();   // bits of GetPadBits that went down
DWORD GetPadBitsReleased();  // bits of GetPadBits that went up
int WasKeyPressed(DWORD code);          // 1 when the key of that DIK_ code went down
int WasMouseButtonPressed(int button);  // MOUSE_LEFT, MOUSE_RIGHT or MOUSE_MIDDLE
int GetMouseWheel();  // wheel movement, 120 a notch, positive away from the player
// The text typed, as UTF-8 with a closing NUL, whole characters as fit in size
// bytes; returns the bytes written without the NUL.
int GetTextInput(char* utf8, DWORD size);
