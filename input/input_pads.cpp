// Modern pads through the XInput DLL, loaded at run time: without it a game
// runs with no pads, and says nothing. Once loaded it stays until the process
// ends: the platform's input thread may still run in it after the last call, and
// a program that freed it faulted at exit inside the unloaded library.
#include <stddef.h>
#include <string.h>

#include "input/input_state.h"

namespace {

// Asking an empty slot is slow on some systems: at most once a second.
const DWORD kEmptySlotPause = 1000;

static_assert(sizeof(PadRaw) == sizeof(XINPUT_GAMEPAD), "pad reading");
static_assert(offsetof(PadRaw, leftTrigger) == offsetof(XINPUT_GAMEPAD, bLeftTrigger), "triggers");
static_assert(offsetof(PadRaw, leftX) == offsetof(XINPUT_GAMEPAD, sThumbLX), "sticks");
static_assert(offsetof(PadRaw, rightY) == offsetof(XINPUT_GAMEPAD, sThumbRY), "sticks");
static_assert(sizeof(PadValues) == sizeof(PadState), "pad state");
static_assert(offsetof(PadValues, leftX) == offsetof(PadState, leftX), "pad state sticks");
static_assert(offsetof(PadValues, leftTrigger) == offsetof(PadState, leftTrigger), "pad state triggers");
static_assert((int)PAD_AXIS_RANGE == (int)JOY_AXIS_RANGE, "one axis range");

void ReadSlot(DWORD pad, DWORD now) {
  PadSlot& slot = Pads.slots[pad];
  if (!slot.connected && slot.asked && now - slot.askedAt < kEmptySlotPause) return;
  XINPUT_STATE state;
  memset(&state, 0, sizeof state);
  slot.connected = Pads.getState(pad, &state) == ERROR_SUCCESS;
  slot.asked = 1;
  slot.askedAt = now;
  if (!slot.connected) {
    memset(&slot.values, 0, sizeof slot.values);
    return;
  }
  PadRaw raw;
  memcpy(&raw, &state.Gamepad, sizeof raw);
  slot.values = ReadPadRaw(raw);
}

}  // namespace

void OpenPads() {
  static const char* const kLibraries[] = {"xinput1_4.dll", "xinput1_3.dll", "xinput9_1_0.dll"};
  for (const char* name : kLibraries) {
    if (Pads.library != NULL) break;
    Pads.library = LoadLibraryA(name);
  }
  if (Pads.library == NULL) return;
  Pads.getState = (PadGetStateProc)(void*)GetProcAddress(Pads.library, "XInputGetState");
  Pads.setState = (PadSetStateProc)(void*)GetProcAddress(Pads.library, "XInputSetState");
  if (Pads.getState == NULL || Pads.setState == NULL) {
    ClosePads();
    return;
  }
  PollPads();  // the pads plugged in at the start are known when it returns
}

void PollPads() {
  if (Pads.getState == NULL) return;
  DWORD now = GetTickCount();
  for (DWORD pad = 0; pad < PAD_COUNT; ++pad) ReadSlot(pad, now);
}

void ClosePads() {
  for (DWORD pad = 0; pad < PAD_COUNT; ++pad) {
    if (Pads.slots[pad].connected) SetPadRumble(pad, 0, 0);
  }
  const HMODULE library = Pads.library;  // never freed: see the top of this file
  memset(&Pads, 0, sizeof Pads);
  Pads.library = library;
}

DWORD FirstPadBits() {
  for (const PadSlot& slot : Pads.slots) {
    if (slot.connected) return slot.values.bits;
  }
  return 0;
}

int IsPadConnected(DWORD pad) { return pad < PAD_COUNT && Pads.slots[pad].connected; }

HRESULT GetPadState(DWORD pad, PadState* state) {
  if (pad >= PAD_COUNT || state == NULL) return E_INVALIDARG;
  memset(state, 0, sizeof *state);
  if (!Pads.slots[pad].connected) return E_FAIL;
  memcpy(state, &Pads.slots[pad].values, sizeof *state);
  return 0;
}

HRESULT SetPadRumble(DWORD pad, WORD low, WORD high) {
  if (pad >= PAD_COUNT) return E_INVALIDARG;
  // A script's pad takes its motors' speeds without a pad to turn.
  if (Input.injected != NULL) return Pads.slots[pad].connected ? 0 : E_FAIL;
  if (!Pads.slots[pad].connected || Pads.setState == NULL) return E_FAIL;
  XINPUT_VIBRATION motors = {low, high};
  return Pads.setState(pad, &motors) == ERROR_SUCCESS ? 0 : E_FAIL;
}
