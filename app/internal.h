// The zero-argument starts and the window procedure: the framework's own, defined
// in the app folder, which hands each module the window. InitApplication runs the
// starts; tests and tools call them on their own. Not installed.
#pragma once
#include <windows.h>

// Opens the keyboard and the first game controller (required unless the start options
// allow none); 0 or the failing status.
HRESULT InitInput();
HRESULT CreateKeyboard();  // used by InitInput; 0 or the failing status
HRESULT CreateJoystick();  // used by InitInput; E_FAIL when no controller is attached
// Opens the sound device, its keep-alive buffer and the streaming thread; 0 or the failing status.
HRESULT InitSound();
// Creates the device and the off-screen targets, empties the tables; 0 or the failing status.
HRESULT InitDirectX();
// Creates the Direct3D device, trying the best settings first; 0 or the failing status.
HRESULT CreateDirectXDevice();

// The window procedure (Escape and closing quit); called by the system only.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
