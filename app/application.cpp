// Start-up and shut-down order, the subsystems' zero-argument starts (each module
// given what it needs from the window), the message pump and the window getters.
#include "app/application.h"

#include <stdio.h>

#include "app/app_state.h"
#include "app/internal.h"
#include "app/play_log.h"
#include "graphics/internal.h"
#include "input/input_messages.h"
#include "input/internal.h"
#include "sound/internal.h"
#include "util/internal.h"

// A failed start is reported and undone whole.
static HRESULT FailStart(FailureId id, HRESULT status) {
  ReportFailure(id, status);
  ReleaseApplication();
  return status;
}

HRESULT InitApplication(const char* name, DWORD width, DWORD height, int windowed) {
  App.instance = GetModuleHandleA(NULL);
  App.width = width;
  App.height = height;
  App.windowed = windowed;
  // Bounded copy: a longer name is truncated, a null one becomes empty.
  snprintf(App.name, sizeof App.name, "%s", name ? name : "");
  snprintf(App.className, sizeof App.className, "%s", App.name);

  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  // 0x43: one DC shared by the class, redrawn on resize; no CS_DBLCLKS, so no
  // double-click messages arrive.
  wc.style = CS_CLASSDC | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = App.instance;
  wc.hIcon = LoadIconA(App.instance, "MAINICO");
  wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
  wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
  wc.lpszClassName = App.className;
  if (RegisterClassExA(&wc) == 0) return FailStart(FAIL_REGISTER_CLASS, E_FAIL);

  DWORD exStyle = windowed ? WS_EX_APPWINDOW | WS_EX_WINDOWEDGE : WS_EX_APPWINDOW;
  DWORD style = windowed ? WS_OVERLAPPEDWINDOW : WS_POPUP;
  RECT rect = {0, 0, (LONG)width, (LONG)height};
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);

  // Centred by the client size, so a frame sits slightly right of and below centre.
  int x = (GetSystemMetrics(SM_CXSCREEN) - (int)width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - (int)height) / 2;
  App.window = CreateWindowExA(exStyle, App.className, App.name, style, x, y,
                               rect.right - rect.left, rect.bottom - rect.top,
                               NULL, NULL, App.instance, NULL);
  if (App.window == NULL) return FailStart(FAIL_CREATE_WINDOW, E_FAIL);

  ShowWindow(App.window, SW_SHOW);
  UpdateWindow(App.window);
  timeBeginPeriod(1);

  HRESULT hr = InitInput();
  if (hr != 0) return FailStart(FAIL_INIT_INPUT, hr);
  hr = InitSound();
  if (hr != 0 && !(App.startOptions & START_WITHOUT_SOUND)) {
    return FailStart(FAIL_INIT_SOUND, hr);
  }
  if (hr != 0) {
    ReleaseSound();  // silent: a half-opened device is closed too
    AllowSilentStart(1);
  }
  SetUtf8Text((App.startOptions & START_UTF8_TEXT) != 0);
  hr = InitDirectX();
  if (hr != 0) return FailStart(FAIL_INIT_DIRECTX, hr);
  StartPlayFromEnvironment();
  return 0;
}

HRESULT ReleaseApplication() {
  // Each shut-down acts only on what exists, so this is safe after a partial
  // start and twice in a row.
  StopPlayAndRecording();
  ReleaseSound();
  ReleaseInput();
  ReleaseDirectX();
  if (App.instance != NULL) {
    DestroyWindow(App.window);
    timeEndPeriod(1);
    UnregisterClassA(App.className, App.instance);
    App.instance = NULL;
    App.window = NULL;
    App.fullscreen = 0;
    App.wantedFullscreen = 0;
  }
  return 0;
}

HRESULT InitInput() {
  HRESULT hr = CreateDirectInput(App.instance);
  if (hr != 0) {
    // Without DirectInput nothing of the start is kept.
    ReleaseApplication();
    return hr;
  }
  return CreateInputDevices(App.window, (App.startOptions & START_WITHOUT_CONTROLLER) != 0,
                            (App.startOptions & START_ALT_ENTER) != 0);
}

HRESULT CreateKeyboard() { return CreateKeyboardFor(App.window); }
HRESULT CreateJoystick() { return CreateJoystickFor(App.window); }
HRESULT InitSound() { return InitSoundFor(App.window); }

HRESULT InitDirectX() { return InitDirectXFor(App.window, App.width, App.height, App.windowed); }

HRESULT CreateDirectXDevice() {
  return CreateDirectXDeviceFor(App.window, App.width, App.height, App.windowed);
}

int ProcessMessage() {
  int result = 1;
  BeginPlayFrame();  // a script's close of this frame is among the messages
  if (App.window != NULL) {
    MSG msg;
    // Taken as UTF-16: typed text beyond the code page reaches input whole.
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {  // later messages stay queued
        result = 0;
        break;
      }
      if (msg.message == WM_CHAR) NoteTypedUnit((WCHAR)msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(0);
    ApplyWantedFullscreen();
  }
  UpdateInput();
  RecordPlayFrame(result == 0);
  return result;
}

int ErrorBox(const char* text, const char* caption) {
  return MessageBoxA(NULL, text, caption, MB_OK);
}

POINT GetMousePos() {
  POINT point = {0, 0};
  if (App.window == NULL) return point;
  int32_t x, y;
  if (PlayedMouse(&x, &y)) {
    point.x = x;
    point.y = y;
    return point;
  }
  GetCursorPos(&point);
  ScreenToClient(App.window, &point);
  return point;
}

int IsWindowed() { return App.windowed; }
HWND GetWindowHandle() { return App.window; }
HINSTANCE GetInstanceHandle() { return App.instance; }

int IsMouseButtonDown(int button) {
  int down;
  if (PlayedMouseButton(button, &down)) return down;
  return button >= 0 && button < 3 ? App.mouseButton[button] : 0;
}

void SetStartOptions(DWORD options) {
  App.startOptions = options;
}
DWORD GetStartOptions() { return App.startOptions; }

void SetStepRate(DWORD stepsPerSecond) { SetStepClockRate(&App.steps, stepsPerSecond); }

int GetStepsDue() {
  int steps;
  if (PlayedSteps(&steps)) {  // a script's frames are steps, not time
    RecordSteps(steps);
    return steps;
  }
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  steps = CountStepsDue(&App.steps, (uint64_t)now.QuadPart, (uint64_t)frequency.QuadPart);
  RecordSteps(steps);
  return steps;
}
