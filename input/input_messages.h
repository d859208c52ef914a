// What the window's messages tell input: fed by the window procedure and the
// message pump, taken by the next poll.
#pragma once
#include <windows.h>

void NoteKeyMessage(LPARAM lParam);    // WM_KEYDOWN / WM_SYSKEYDOWN
void NoteToggleKey(LPARAM lParam);     // the Enter of Alt+Enter's toggle: no key to the game
void NoteMouseButton(int button);      // a button went down
void NoteMouseWheel(int delta);        // WM_MOUSEWHEEL's delta
void NoteTypedUnit(WCHAR unit);        // WM_CHAR as UTF-16
