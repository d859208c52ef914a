// The application window, the message pump and the start-up and shut-down order
// of the framework's subsystems.
#pragma once
#include <windows.h>

// What a start may go without, for SetStartOptions.
enum : DWORD {
  START_WITHOUT_CONTROLLER = 1,  // no game controller: the keyboard alone, no message
  START_WITHOUT_SOUND = 2,       // no sound device: silent, every slot call E_FAIL, no message
  START_ALT_ENTER = 4,           // Alt+Enter toggles full screen
  START_ESCAPE_IS_KEY = 8,       // Escape is the game's key, not a quit (closing still quits)
  START_UTF8_TEXT = 16,          // DrawString, DrawStringF, MeasureString take UTF-8, not the code page
  START_NO_PLAY_ENV = 32,        // LQ_PLAY and LQ_RECORD are not read (a shipped game)
};
// Sets the START_ flags for the next InitApplication; 0 (the default) requires both.
void SetStartOptions(DWORD options);
// The START_ flags last set.
DWORD GetStartOptions();

// Opens the window and starts input, sound and graphics in that order; 0, or the
// first failing status after a message box and a full shut-down.
HRESULT InitApplication(const char* name, DWORD width, DWORD height, int windowed);
// Stops sound, input and graphics and destroys the window; safe twice; returns 0.
HRESULT ReleaseApplication();
// Drains window messages, yields and polls input once; 0 once quit was asked, else 1.
int ProcessMessage();
// Shows a modal message box with one OK button; returns the button pressed.
int ErrorBox(const char* text, const char* caption);
// The cursor in client coordinates; (0, 0) without a window.
POINT GetMousePos();

inline DWORD GetScreenWidth();     // width drawn at: the logical width, else the client's
inline DWORD GetScreenHeight();    // height drawn at: the logical height, else the client's
int IsWindowed();                  // 1 for a framed window, 0 for full screen
HWND GetWindowHandle();            // the window, or null before InitApplication
HINSTANCE GetInstanceHandle();     // the program's module handle

// Mouse buttons as the window procedure last saw them: 1 while down, else 0.
enum { MOUSE_LEFT = 0, MOUSE_RIGHT = 1, MOUSE_MIDDLE = 2 };
int IsMouseButtonDown(int button);

// Full screen as a borderless window over the window's monitor, the back buffer
// at the monitor's size (no display-mode change); 0 gives the framed window back
// at its size and place. 0, or the failing status with window and device as they
// were. While the device is lost the toggle waits for its restore. A start with
// windowed 0 stays full screen (E_FAIL for 0).
HRESULT SetFullscreen(int fullscreen);
// 1 while full screen (also for a start with windowed 0), else 0.
int IsFullscreen();

// Scaling of a logical size into the window, for SetLogicalSize.
enum : DWORD {
  SCALE_FIT = 0,      // the largest size that keeps the aspect, filtered
  SCALE_INTEGER = 1,  // the largest whole multiple, point-sampled (pixel art)
  SCALE_STRETCH = 2,  // the whole window, filtered
};
// From the next frame draws at width x height (trails and glow too; GetScreenWidth
// and GetScreenHeight say so), scaled into the window centred on black; holds
// across SetFullscreen and device loss. 0 x 0 draws at the client size again.
// 0; E_INVALIDARG (one side 0, a side over 8192, unknown scaling) changing nothing.
HRESULT SetLogicalSize(DWORD width, DWORD height, DWORD scaling);
// The cursor in logical pixels, not clamped (negative or past the size outside
// the picture); GetMousePos's point without a logical size.
POINT GetLogicalMousePos();
// 1 while the window is the foreground window and not minimised (pause otherwise).
int IsWindowActive();
// The window's DPI / 96 (the primary monitor's before the window exists): 1.5 at
// 144 dpi. Sizes stay in pixels; multiply by it for a window that looks the same.
float GetDisplayScale();

// The sizes as the application keeps them, for the getters: games read them for
// every object every frame, and a call costs more than the read.
extern const DWORD& AppClientWidth;
extern const DWORD& AppClientHeight;
extern const DWORD& AppLogicalWidth;  // 0 without a logical size
extern const DWORD& AppLogicalHeight;
inline DWORD GetScreenWidth() { return AppLogicalWidth != 0 ? AppLogicalWidth : AppClientWidth; }
inline DWORD GetScreenHeight() {
  return AppLogicalHeight != 0 ? AppLogicalHeight : AppClientHeight;
}

// Fixed logic steps, counted on the high-resolution clock.
// Sets the steps a second (60 at the start); 0 is refused and keeps the rate.
void SetStepRate(DWORD stepsPerSecond);
// The logic steps due since the last call (1 at the first), at most 5: a longer
// stall is dropped, not replayed; time short of a step waits for the next call.
int GetStepsDue();
