// Full screen as a borderless window, a logical drawing size with the cursor
// mapped through it, the window's activity and the display's DPI.
#include "app/app_state.h"
#include "app/application.h"
#include "app/play_log.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "graphics/view_scale.h"

static_assert((DWORD)SCALE_FIT == VIEW_FIT && (DWORD)SCALE_INTEGER == VIEW_INTEGER &&
                  (DWORD)SCALE_STRETCH == VIEW_STRETCH,
              "one numbering of the scaling modes");

enum { LOGICAL_SIDE_MAX = 8192, BASE_DPI = 96 };

// The device's presentation with the back buffer at a client size.
static D3DPRESENT_PARAMETERS ParamsFor(DWORD width, DWORD height) {
  D3DPRESENT_PARAMETERS params = Gfx.PresentParam;
  params.BackBufferWidth = width;
  params.BackBufferHeight = height;
  return params;
}

// Styles, then place and size, with the frame worked out again.
static void PlaceWindow(LONG style, LONG exStyle, const WINDOWPLACEMENT& placement) {
  SetWindowLongA(App.window, GWL_STYLE, style);
  SetWindowLongA(App.window, GWL_EXSTYLE, exStyle);
  SetWindowPos(App.window, NULL, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  SetWindowPlacement(App.window, &placement);
}

// The back buffer first, as its failure is the likelier one; a window that
// cannot be placed puts the device back.
static HRESULT EnterFullscreen() {
  HWND window = App.window;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return E_FAIL;
  }
  const RECT area = monitor.rcMonitor;
  const DWORD width = area.right - area.left, height = area.bottom - area.top;
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return E_FAIL;
  const D3DPRESENT_PARAMETERS framed = Gfx.PresentParam;
  HRESULT hr = ResetPresentParam(ParamsFor(width, height));
  if (hr != 0) return hr;

  const LONG style = GetWindowLongA(window, GWL_STYLE);
  const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
  SetWindowLongA(window, GWL_STYLE, (style & ~WS_OVERLAPPEDWINDOW) | WS_POPUP);
  SetWindowLongA(window, GWL_EXSTYLE, WS_EX_APPWINDOW);
  if (!SetWindowPos(window, HWND_TOP, area.left, area.top, width, height,
                    SWP_FRAMECHANGED | SWP_SHOWWINDOW)) {
    hr = HRESULT_FROM_WIN32(GetLastError());
    SetWindowLongA(window, GWL_STYLE, style);
    SetWindowLongA(window, GWL_EXSTYLE, exStyle);
    SetWindowPos(window, NULL, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    ResetPresentParam(framed);
    return hr != 0 ? hr : E_FAIL;
  }
  App.framedPlacement = placement;
  App.framedStyle = style;
  App.framedExStyle = exStyle;
  App.framedWidth = App.width;
  App.framedHeight = App.height;
  App.width = width;
  App.height = height;
  App.fullscreen = 1;
  return 0;
}

// The window first: the device's surface follows the window's size when it is
// reset, not later. A refused reset puts the borderless window back.
static HRESULT LeaveFullscreen() {
  HWND window = App.window;
  WINDOWPLACEMENT full = {};
  full.length = sizeof full;
  GetWindowPlacement(window, &full);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
  PlaceWindow(App.framedStyle, App.framedExStyle, App.framedPlacement);
  HRESULT hr = ResetPresentParam(ParamsFor(App.framedWidth, App.framedHeight));
  if (hr != 0) {
    PlaceWindow(style, exStyle, full);
    return hr;
  }
  App.width = App.framedWidth;
  App.height = App.framedHeight;
  App.fullscreen = 0;
  return 0;
}

HRESULT SetFullscreen(int fullscreen) {
  const int wanted = fullscreen != 0;
  IDirect3DDevice9* device = GetDevice();
  if (App.window == NULL || device == NULL) return E_FAIL;
  if (!App.windowed) return wanted ? 0 : E_FAIL;  // an exclusive start keeps its display
  App.wantedFullscreen = 0;
  if (wanted == App.fullscreen) return 0;
  // A lost device refuses a reset until it is ready for one: the toggle waits.
  if (device->TestCooperativeLevel() == D3DERR_DEVICELOST) {
    App.wantedFullscreen = wanted + 1;
    return 0;
  }
  return wanted ? EnterFullscreen() : LeaveFullscreen();
}

int IsFullscreen() { return App.fullscreen || (App.window != NULL && !App.windowed); }

void ToggleFullscreenLater() {
  const int now = App.wantedFullscreen ? App.wantedFullscreen - 1 : App.fullscreen;
  App.wantedFullscreen = !now + 1;
}

void ApplyWantedFullscreen() {
  if (App.wantedFullscreen) SetFullscreen(App.wantedFullscreen - 1);
}

HRESULT SetLogicalSize(DWORD width, DWORD height, DWORD scaling) {
  if ((width == 0) != (height == 0) || width > LOGICAL_SIDE_MAX || height > LOGICAL_SIDE_MAX ||
      (width != 0 && scaling > SCALE_STRETCH)) {
    return E_INVALIDARG;
  }
  HRESULT hr = SetTargetSize(width, height, scaling);
  if (hr != 0) return hr;
  App.logicalWidth = width;
  App.logicalHeight = height;
  App.scaling = scaling;
  return 0;
}

POINT GetLogicalMousePos() {
  POINT point = GetMousePos();
  if (App.logicalWidth == 0 || App.window == NULL) return point;
  int32_t x = point.x, y = point.y;
  // The client shows the back buffer stretched over it: back-buffer pixels first.
  RECT client;
  GetClientRect(App.window, &client);
  const ViewRect whole = {0, 0, client.right, client.bottom};
  MapToView(whole, App.width, App.height, &x, &y);
  const ViewRect place = PlaceView(App.logicalWidth, App.logicalHeight, App.width, App.height,
                                   App.scaling);
  MapToView(place, App.logicalWidth, App.logicalHeight, &x, &y);
  point.x = x;
  point.y = y;
  return point;
}

int IsWindowActive() {
  int active;
  if (PlayedFocus(&active)) return active;
  return App.window != NULL && GetForegroundWindow() == App.window && !IsIconic(App.window);
}

float GetDisplayScale() {
  // GetDpiForWindow came with Windows 10: looked up, so that the program still
  // starts on Windows 7, where the DC's DPI is the one to take.
  typedef UINT(WINAPI * DpiForWindow)(HWND);
  static const DpiForWindow dpiForWindow = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  UINT dpi = 0;
  if (App.window != NULL && dpiForWindow != NULL) dpi = dpiForWindow(App.window);
  if (dpi == 0) {
    HDC dc = GetDC(App.window);  // null: the screen's
    if (dc != NULL) {
      dpi = GetDeviceCaps(dc, LOGPIXELSY);
      ReleaseDC(App.window, dc);
    }
  }
  return dpi != 0 ? (float)dpi / BASE_DPI : 1.0f;
}
