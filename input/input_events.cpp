// Presses, the wheel and typed text as events of a poll: the window messages
// since the last poll, so that a key or button pressed and let go between two
// polls still counts once.
#include <string.h>

#include "input/input_messages.h"
#include "input/input_state.h"

// The DIK_ code is the scan code, with the top bit for the extended keys.
static DWORD KeyCode(LPARAM lParam) { return (lParam >> 16 & 0x7F) | (lParam & (1 << 24) ? 0x80 : 0); }

void NoteKeyMessage(LPARAM lParam) {
  if (lParam & (1 << 30)) return;  // held down: a repeat, not a press
  Events.keysTapped[KeyCode(lParam)] = 0x80;
}

// Hidden from the next poll on: the key state may show it before or after this
// message (HideAltEnter takes it there while Alt shows down).
void NoteToggleKey(LPARAM lParam) { Events.keysHidden[KeyCode(lParam)] = 1; }

void NoteMouseButton(int button) {
  if (button >= 0 && button < MOUSE_BUTTON_COUNT) ++Events.mouseSince[button];
}

void NoteMouseWheel(int delta) { Events.wheelSince += delta; }

void NoteTypedUnit(WCHAR unit) { PushTextUnit(&Events.typing, unit); }

void TakeInputEvents() {
  BYTE* keys = Input.KeyboardState;
  if (Events.altEnterTaken) HideAltEnter(keys, Events.keysBefore, Events.keysHidden);
  for (int code = 0; code < KEY_COUNT; ++code) {
    BYTE now = keys[code] == 0x80 ? 0x80 : 0;
    Events.keysPressed[code] = (now | Events.keysTapped[code]) & ~Events.keysBefore[code];
    Events.keysBefore[code] = now;
  }
  DWORD bits = GetPadBits();
  DWORD tapped = FoldKeyboardBits(Events.keysTapped);
  Events.bitsPressed = PressedBits(Events.bitsBefore, bits, tapped);
  Events.bitsReleased = ReleasedBits(Events.bitsBefore, bits, tapped);
  Events.bitsBefore = bits;
  memset(Events.keysTapped, 0, sizeof Events.keysTapped);

  Events.wheel = Events.wheelSince;
  Events.wheelSince = 0;
  for (int i = 0; i < MOUSE_BUTTON_COUNT; ++i) {
    Events.mousePressed[i] = Events.mouseSince[i] > 0;
    Events.mouseSince[i] = 0;
  }
  memcpy(Events.text, Events.typing.utf8, Events.typing.bytes);
  Events.textBytes = Events.typing.bytes;
  ClearTextQueue(&Events.typing);
}

DWORD GetPadBitsPressed() { return Events.bitsPressed; }
DWORD GetPadBitsReleased() { return Events.bitsReleased; }
int WasKeyPressed(DWORD code) { return code >= 1 && code < KEY_COUNT && Events.keysPressed[code]; }
int GetMouseWheel() { return Events.wheel; }

int WasMouseButtonPressed(int button) {
  return button >= 0 && button < MOUSE_BUTTON_COUNT ? Events.mousePressed[button] : 0;
}

int GetTextInput(char* utf8, DWORD size) {
  return (int)CopyWholeChars(Events.text, Events.textBytes, utf8, size);
}
