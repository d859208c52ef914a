// The window and the framework's Direct3D device for the programs that draw on
// the real device: the real-device tests and the benchmarks.
#pragma once
#include <windows.h>

#include "app/app_state.h"
#include "app/internal.h"
#include "graphics/graphics.h"

// Opens a window of the given client size (shown, without taking the focus) and
// the device on it; InitDirectX's status, or E_FAIL without a window.
inline HRESULT StartDeviceWindow(const char* name, DWORD width, DWORD height) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
  RECT rect = {0, 0, (LONG)width, (LONG)height};
  AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
  App.window = CreateWindowExA(0, name, name, WS_OVERLAPPEDWINDOW, 0, 0, rect.right - rect.left,
                               rect.bottom - rect.top, NULL, NULL, wc.hInstance, NULL);
  if (App.window != NULL) ShowWindow(App.window, SW_SHOWNOACTIVATE);
  App.width = width;
  App.height = height;
  App.windowed = 1;
  return App.window != NULL ? InitDirectX() : E_FAIL;
}
