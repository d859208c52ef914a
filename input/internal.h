// The input module's own steps: its entry from the application, the poll and
// the shut-down. Not installed: games use input/input.h.
#pragma once
#include "input/input.h"

// Inside the dead zone (hundredths of a percent of the travel: 40 %) an axis reports 0.
enum { JOY_DEAD_ZONE = 4000 };

// InitInput's two steps: DirectInput for the program, then the keyboard and the
// first controller for the window (with keyboardAlone non-zero, none attached is
// no failure; with altEnterTaken, the Enter of Alt+Enter is no key to the game);
// each 0 or the failing status, after its report.
HRESULT CreateDirectInput(HINSTANCE instance);
HRESULT CreateInputDevices(HWND window, int keyboardAlone, int altEnterTaken = 0);
// CreateKeyboard and CreateJoystick (app/internal.h) for the window.
HRESULT CreateKeyboardFor(HWND window);
HRESULT CreateJoystickFor(HWND window, int quietSearch = 0);
// Reads both devices once per frame (called by ProcessMessage); the last device status.
HRESULT UpdateInput();
// Closes both devices and DirectInput; safe before InitInput and twice.
void ReleaseInput();

// While set, each poll gives the game this input in place of what the devices
// and the window's messages brought (a play script); null: the real input again.
struct PlayInput;
void InjectInput(const PlayInput* input);
// The input the last poll took, for a recording: keys, presses, pads, clicks,
// the wheel in whole notches and the text; the mouse and focus are the caller's.
void CaptureInput(PlayInput* out);
