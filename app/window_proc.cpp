// The window procedure: quit requests, power-saving and input-method suppression,
// mouse buttons, Alt+Enter, and what input counts between polls.
#include "app/app_state.h"
#include "app/application.h"
#include "app/internal.h"
#include "input/input_messages.h"

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
    case WM_CLOSE:
      // Destruction is left to ReleaseApplication.
      PostQuitMessage(0);
      return 0;
    case WM_KEYDOWN:
      NoteKeyMessage(lParam);
      if (wParam == VK_ESCAPE && !(App.startOptions & START_ESCAPE_IS_KEY)) PostQuitMessage(0);
      break;
    case WM_SYSKEYDOWN:
      // Alt+Enter (Alt is bit 29; a held key repeats with bit 30): its Enter is
      // no key to the game. Passed on all the same: the default handling then
      // knows a key came after Alt, and does not open the window menu when Alt is
      // let go.
      if (wParam == VK_RETURN && (lParam & (1 << 29)) && !(lParam & (1 << 30)) &&
          (App.startOptions & START_ALT_ENTER)) {
        NoteToggleKey(lParam);
        ToggleFullscreenLater();
      } else {
        NoteKeyMessage(lParam);
      }
      break;
    case WM_SYSCHAR:  // its character, which beeps in a window without a menu
      if (wParam == VK_RETURN && (App.startOptions & START_ALT_ENTER)) return 0;
      break;
    case WM_MOUSEWHEEL: NoteMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam)); break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_MONITORPOWER) return 0;
      break;
    case WM_LBUTTONDOWN: App.mouseButton[MOUSE_LEFT] = 1; NoteMouseButton(MOUSE_LEFT); break;
    case WM_LBUTTONUP: App.mouseButton[MOUSE_LEFT] = 0; break;
    case WM_RBUTTONDOWN: App.mouseButton[MOUSE_RIGHT] = 1; NoteMouseButton(MOUSE_RIGHT); break;
    case WM_RBUTTONUP: App.mouseButton[MOUSE_RIGHT] = 0; break;
    case WM_MBUTTONDOWN: App.mouseButton[MOUSE_MIDDLE] = 1; NoteMouseButton(MOUSE_MIDDLE); break;
    case WM_MBUTTONUP: App.mouseButton[MOUSE_MIDDLE] = 0; break;
    case WM_IME_SETCONTEXT:
      // The input method shows none of its own windows.
      lParam &= 0x3FFFFFF0;
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
