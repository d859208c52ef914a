// Module state of the application frame, zero at program start.
#pragma once
#include <windows.h>

enum { APP_NAME_CAPACITY = 256 };  // longer window names are truncated

struct AppState {
  HWND window;
  HINSTANCE instance;
  DWORD width;
  DWORD height;
  int windowed;
  char name[APP_NAME_CAPACITY];
  int mouseButton[3];  // left, right, middle
};

extern AppState App;
