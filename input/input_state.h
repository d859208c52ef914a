// Module state of input, zero at program start.
#pragma once
#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#include <dinput.h>
#include <xinput.h>

#include "input/alt_enter.h"
#include "input/internal.h"
#include "input/modern_pad.h"
#include "input/pad_fold.h"
#include "input/text_queue.h"

struct InputState {
  LPDIRECTINPUT8A lpDirectInput;
  LPDIRECTINPUTDEVICE8A lpKeyboard;
  LPDIRECTINPUTDEVICE8A lpJoystick;
  BYTE KeyboardState[KEY_COUNT];  // by scan code, 0x80 = down
  DIJOYSTATE JoystickState;       // kept across failed reads
  DIDEVICEINSTANCEA KeyboardInfo;
  DIDEVICEINSTANCEA JoystickInfo;
  const PlayInput* injected;  // a play script's input, taken in place of the devices'
};

extern InputState Input;

BOOL CALLBACK EnumJoystickCallback(LPCDIDEVICEINSTANCEA instance, LPVOID context);

// Modern pads through the XInput DLL, loaded at run time.
typedef DWORD(WINAPI* PadGetStateProc)(DWORD, XINPUT_STATE*);
typedef DWORD(WINAPI* PadSetStateProc)(DWORD, XINPUT_VIBRATION*);
struct PadSlot {
  int connected;
  int asked;      // asked at least once
  DWORD askedAt;  // when an empty slot was last asked (ms)
  PadValues values;
};
struct PadInput {
  HMODULE library;
  PadGetStateProc getState;
  PadSetStateProc setState;
  PadSlot slots[PAD_COUNT];
};
extern PadInput Pads;

enum { MOUSE_BUTTON_COUNT = 3 };
// What the window messages brought since the last poll, and what the last poll
// made of it.
struct InputEvents {
  BYTE keysTapped[KEY_COUNT];  // went down since the last poll (0x80)
  BYTE keysHidden[KEY_COUNT];  // Enter taken by Alt+Enter until let go (alt_enter.h)
  int altEnterTaken;           // Alt+Enter toggles full screen: its Enter is no key
  int wheelSince;
  int mouseSince[MOUSE_BUTTON_COUNT];
  TextQueue typing;
  BYTE keysBefore[KEY_COUNT];  // KeyboardState of the previous poll
  BYTE keysPressed[KEY_COUNT];
  DWORD bitsBefore, bitsPressed, bitsReleased;
  int wheel;
  int mousePressed[MOUSE_BUTTON_COUNT];
  char text[TEXT_BYTES_PER_POLL];
  DWORD textBytes;
};
extern InputEvents Events;

// The modern pads: open the DLL (none found: no pads), read them each poll,
// stop their motors and close it.
void OpenPads();
void PollPads();
void ClosePads();
DWORD FirstPadBits();
// Turns what the messages brought into this poll's events.
void TakeInputEvents();
// Puts the injected input where the poll left the devices' and the messages'.
void ApplyInjectedInput();
