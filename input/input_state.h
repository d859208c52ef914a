// Module state of input, zero at program start.
#pragma once
#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#include <dinput.h>

#include "input/pad_bits.h"

struct InputState {
  LPDIRECTINPUT8A lpDirectInput;
  LPDIRECTINPUTDEVICE8A lpKeyboard;
  LPDIRECTINPUTDEVICE8A lpJoystick;
  BYTE KeyboardState[KEY_COUNT];  // by scan code, 0x80 = down
  DIJOYSTATE JoystickState;       // kept across failed reads
  DIDEVICEINSTANCEA KeyboardInfo;
  DIDEVICEINSTANCEA JoystickInfo;
};

extern InputState Input;

BOOL CALLBACK EnumJoystickCallback(LPCDIDEVICEINSTANCEA instance, LPVOID context);

// InitInput's two steps: DirectInput for the program, then the keyboard and the
// first controller for the window (with keyboardAlone non-zero, none attached is
// no failure); each 0 or the failing status, after its report.
HRESULT CreateDirectInput(HINSTANCE instance);
HRESULT CreateInputDevices(HWND window, int keyboardAlone);
// CreateKeyboard and CreateJoystick for the window.
HRESULT CreateKeyboardFor(HWND window);
HRESULT CreateJoystickFor(HWND window, int quietSearch = 0);
