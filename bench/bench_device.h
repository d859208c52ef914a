// What the framework's benchmarks share: the performance counter and an 800 x 600
// window with the framework's Direct3D device on it.
#pragma once
#include <windows.h>

#include <stdio.h>

#include "app/app_state.h"
#include "graphics/graphics.h"
#include "graphics/internal.h"
#include "tools/device_window.h"

const DWORD kBenchWidth = 800, kBenchHeight = 600;

inline LONGLONG Ticks() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

// Seconds between two counter readings, subtracted as integers first: the
// counter's value is too large for a double to keep its last digits.
inline double Seconds(LONGLONG start, LONGLONG end) {
  static LARGE_INTEGER frequency = {};
  if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
  return (double)(end - start) / (double)frequency.QuadPart;
}

// Opens the window (shown, without taking the focus) and the device; says why
// nothing can be measured when either fails.
inline bool StartBenchDevice(const char* name) {
  if (StartDeviceWindow(name, kBenchWidth, kBenchHeight) == 0) return true;
  printf("%s: no Direct3D 9 device (needs a display); nothing measured\n", name);
  ReleaseDirectX();
  return false;
}
