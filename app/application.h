// The application window, the message pump and the start-up and shut-down order
// of the framework's subsystems.
#pragma once
#include <windows.h>

// What a start may go without, for SetStartOptions.
enum : DWORD {
  START_WITHOUT_CONTROLLER = 1,  // no game controller: the keyboard alone, no message
  START_WITHOUT_SOUND = 2,       // no sound device: silent, every slot call E_FAIL, no message
  START_ESCAPE_IS_KEY = 8,       // Escape is the game's key, not a quit (closing still quits)
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
// The window procedure (Escape and closing quit); called by the system only.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Shows a modal message box with one OK button; returns the button pressed.
int ErrorBox(const char* text, const char* caption);
// The cursor in client coordinates; (0, 0) without a window.
POINT GetMousePos();

inline DWORD GetScreenWidth();     // client width in pixels
inline DWORD GetScreenHeight();    // client height in pixels
int IsWindowed();                  // 1 for a framed window, 0 for full screen
HWND GetWindowHandle();            // the window, or null before InitApplication
HINSTANCE GetInstanceHandle();     // the program's module handle

// Mouse buttons as the window procedure last saw them: 1 while down, else 0.
enum { MOUSE_LEFT = 0, MOUSE_RIGHT = 1, MOUSE_MIDDLE = 2 };
int IsMouseButtonDown(int button);

// The client size as the application keeps it, for the getters: games read it
// for every object every frame, and a call costs more than the read.
extern const DWORD& AppClientWidth;
extern const DWORD& AppClientHeight;
inline DWORD GetScreenWidth() { return AppClientWidth; }
inline DWORD GetScreenHeight() { return AppClientHeight; }

// Fixed logic steps, counted on the high-resolution clock.
// Sets the steps a second (60 at the start); 0 is refused and keeps the rate.
void SetStepRate(DWORD stepsPerSecond);
// The logic steps due since the last call (1 at the first), at most 5: a longer
// stall is dropped, not replayed; time short of a step waits for the next call.
int GetStepsDue();
