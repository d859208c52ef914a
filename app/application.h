// The application window, the message pump and the start-up and shut-down order
// of the framework's subsystems.
#pragma once
#include <windows.h>

HRESULT InitApplication(const char* name, DWORD width, DWORD height, int windowed);
HRESULT ReleaseApplication();
int ProcessMessage();
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int ErrorBox(const char* text, const char* caption);
POINT GetMousePos();

DWORD GetScreenWidth();
DWORD GetScreenHeight();
int IsWindowed();
HWND GetWindowHandle();
HINSTANCE GetInstanceHandle();

// Mouse buttons as the window procedure last saw them: 1 while down, else 0.
enum { MOUSE_LEFT = 0, MOUSE_RIGHT = 1, MOUSE_MIDDLE = 2 };
int IsMouseButtonDown(int button);
