// Module state of the application frame, zero at program start.
#pragma once
#include <windows.h>

#include "app/step_clock.h"

// Window names keep 256 characters, longer ones are truncated. The class takes
// at most 255 of them: the platform refuses longer class names.
enum { APP_NAME_CAPACITY = 256 + 1, APP_CLASS_NAME_CAPACITY = 255 + 1 };

struct AppState {
  HWND window;
  HINSTANCE instance;
  DWORD width;
  DWORD height;
  int windowed;
  char name[APP_NAME_CAPACITY];            // the window title
  char className[APP_CLASS_NAME_CAPACITY];  // the same text, cut to the class limit
  int mouseButton[3];  // left, right, middle
  DWORD startOptions;  // START_ flags, read by InitApplication
  StepClock steps;     // GetStepsDue's clock

  // The size games draw at, when set (else the client size), and its SCALE_ mode.
  DWORD logicalWidth, logicalHeight, scaling;
  // Full screen: a borderless window over the monitor. The framed window's place,
  // styles and client size are kept to go back to.
  int fullscreen;
  int wantedFullscreen;  // a toggle to make between frames: 0 none, else 1 + the state
  WINDOWPLACEMENT framedPlacement;
  LONG framedStyle, framedExStyle;
  DWORD framedWidth, framedHeight;
};

extern AppState App;

// Alt+Enter asks for the other state; ProcessMessage makes it between frames
// (and again each frame while the device is lost).
void ToggleFullscreenLater();
void ApplyWantedFullscreen();
