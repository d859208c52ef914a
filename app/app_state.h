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
};

extern AppState App;
