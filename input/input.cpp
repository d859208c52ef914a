// DirectInput keyboard and game controller: creation, per-frame polling, release,
// and the queries over the last polled state.
#include "input/input.h"

#include <string.h>

#include "input/input_state.h"
#include "util/failure.h"
#include "util/internal.h"
#include "util/release.h"

HRESULT CreateDirectInput(HINSTANCE instance) {
  HRESULT hr = DirectInput8Create(instance, DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                  (void**)&Input.lpDirectInput, NULL);
  if (hr == 0) return 0;
  // A positive status handed back a real object, which the shut-down releases;
  // a failed create's pointer is never released.
  if (FAILED(hr)) Input.lpDirectInput = NULL;
  return ReportFailure(FAIL_DIRECTINPUT_CREATE, hr);
}

HRESULT CreateInputDevices(HWND window, int keyboardAlone, int altEnterTaken) {
  memset(&Events, 0, sizeof Events);  // nothing from before the start counts
  Events.altEnterTaken = altEnterTaken;
  OpenPads();
  // Any nonzero status fails the start, positive success codes included.
  HRESULT hr = CreateKeyboardFor(window);
  if (hr != 0) return ReportFailure(FAIL_INPUT_KEYBOARD, hr);
  hr = CreateJoystickFor(window, keyboardAlone);
  // None attached: a game that allows it plays on the keyboard alone.
  if (hr == E_FAIL && Input.lpJoystick == NULL && keyboardAlone) return 0;
  if (hr != 0) return ReportFailure(FAIL_INPUT_JOYSTICK, hr);
  return 0;
}

int IsControllerPresent() { return Input.lpJoystick != NULL ? 1 : 0; }

HRESULT CreateKeyboardFor(HWND window) {
  if (Input.lpDirectInput == NULL) return E_FAIL;
  HRESULT hr = Input.lpDirectInput->CreateDevice(GUID_SysKeyboard, &Input.lpKeyboard, NULL);
  if (FAILED(hr)) {
    Input.lpKeyboard = NULL;
    return ReportFailure(FAIL_KEYBOARD_CREATE_DEVICE, hr);
  }
  hr = Input.lpKeyboard->SetDataFormat(&c_dfDIKeyboard);
  if (FAILED(hr)) return ReportFailure(FAIL_KEYBOARD_DATA_FORMAT, hr);
  hr = Input.lpKeyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
  if (FAILED(hr)) return ReportFailure(FAIL_KEYBOARD_COOPERATIVE_LEVEL, hr);
  Input.KeyboardInfo.dwSize = sizeof Input.KeyboardInfo;
  hr = Input.lpKeyboard->GetDeviceInfo(&Input.KeyboardInfo);
  if (FAILED(hr)) return ReportFailure(FAIL_KEYBOARD_DEVICE_INFO, hr);
  // Fails while the window is in the background; UpdateInput retries.
  Input.lpKeyboard->Acquire();
  return hr;
}

BOOL CALLBACK EnumJoystickCallback(LPCDIDEVICEINSTANCEA instance, LPVOID) {
  if (Input.lpJoystick != NULL) return DIENUM_STOP;  // never replace (and leak) one
  if (instance == NULL || Input.lpDirectInput == NULL) return DIENUM_CONTINUE;
  HRESULT hr = Input.lpDirectInput->CreateDevice(instance->guidInstance, &Input.lpJoystick, NULL);
  if (SUCCEEDED(hr) && Input.lpJoystick != NULL) return DIENUM_STOP;
  Input.lpJoystick = NULL;
  return DIENUM_CONTINUE;
}

// Sets one axis property of the joystick, addressed by the axis offset.
static HRESULT SetAxisRange(DWORD axis) {
  DIPROPRANGE range = {};
  range.diph.dwSize = sizeof(DIPROPRANGE);
  range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
  range.diph.dwObj = axis;
  range.diph.dwHow = DIPH_BYOFFSET;
  range.lMin = -JOY_AXIS_RANGE;
  range.lMax = +JOY_AXIS_RANGE;
  return Input.lpJoystick->SetProperty(DIPROP_RANGE, &range.diph);
}

static HRESULT SetAxisDeadZone(DWORD axis) {
  DIPROPDWORD zone = {};
  zone.diph.dwSize = sizeof(DIPROPDWORD);
  zone.diph.dwHeaderSize = sizeof(DIPROPHEADER);
  zone.diph.dwObj = axis;
  zone.diph.dwHow = DIPH_BYOFFSET;
  zone.dwData = JOY_DEAD_ZONE;
  return Input.lpJoystick->SetProperty(DIPROP_DEADZONE, &zone.diph);
}

HRESULT CreateJoystickFor(HWND window, int quietSearch) {
  if (Input.lpDirectInput == NULL) return E_FAIL;
  HRESULT hr = Input.lpDirectInput->EnumDevices(DI8DEVCLASS_GAMECTRL, EnumJoystickCallback, NULL,
                                                DIEDFL_ATTACHEDONLY);
  if (FAILED(hr)) return quietSearch ? E_FAIL : ReportFailure(FAIL_JOYSTICK_ENUM_DEVICES, hr);
  if (Input.lpJoystick == NULL) return E_FAIL;  // CreateInputDevices reports it

  hr = Input.lpJoystick->SetDataFormat(&c_dfDIJoystick);
  if (FAILED(hr)) return ReportFailure(FAIL_JOYSTICK_DATA_FORMAT, hr);
  hr = Input.lpJoystick->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
  if (FAILED(hr)) return ReportFailure(FAIL_JOYSTICK_COOPERATIVE_LEVEL, hr);
  hr = SetAxisRange(DIJOFS_X);
  if (FAILED(hr)) return ReportFailure(FAIL_JOYSTICK_RANGE_X, hr);
  hr = SetAxisRange(DIJOFS_Y);
  if (FAILED(hr)) return ReportFailure(FAIL_JOYSTICK_RANGE_Y, hr);
  hr = SetAxisDeadZone(DIJOFS_X);
  if (FAILED(hr)) return ReportFailure(FAIL_JOYSTICK_DEAD_ZONE_X, hr);
  hr = SetAxisDeadZone(DIJOFS_Y);
  if (FAILED(hr)) return ReportFailure(FAIL_JOYSTICK_DEAD_ZONE_Y, hr);

  Input.JoystickInfo.dwSize = sizeof Input.JoystickInfo;
  Input.lpJoystick->GetDeviceInfo(&Input.JoystickInfo);
  Input.lpJoystick->Acquire();
  return hr;
}

// The two DirectInput devices; the last device status.
static HRESULT ReadDevices() {
  HRESULT result = E_FAIL;
  if (Input.lpKeyboard != NULL) {
    // Cleared first: a failed read (window in the background) leaves every key up.
    memset(Input.KeyboardState, 0, sizeof Input.KeyboardState);
    HRESULT hr = Input.lpKeyboard->GetDeviceState(sizeof Input.KeyboardState, Input.KeyboardState);
    if (hr != 0) result = Input.lpKeyboard->Acquire();
  }
  if (Input.lpJoystick == NULL) return result;

  // Not cleared: a failed poll keeps the last good joystick values.
  HRESULT hr = Input.lpJoystick->Poll();
  if (hr == DI_OK || hr == DI_NOEFFECT) {
    hr = Input.lpJoystick->GetDeviceState(sizeof Input.JoystickState, &Input.JoystickState);
  }
  if (FAILED(hr)) Input.lpJoystick->Acquire();
  return hr;
}

HRESULT UpdateInput() {
  HRESULT hr = ReadDevices();
  if (Input.lpDirectInput == NULL) return hr;  // not started: nothing is touched
  PollPads();
  if (Input.injected != NULL) ApplyInjectedInput();
  TakeInputEvents();
  return hr;
}

static void ReleaseDevice(LPDIRECTINPUTDEVICE8A& device) {
  if (device != NULL) device->Unacquire();
  ReleaseAndNull(&device);
}

void ReleaseInput() {
  ClosePads();
  memset(&Events, 0, sizeof Events);
  ReleaseDevice(Input.lpKeyboard);
  ReleaseDevice(Input.lpJoystick);
  memset(Input.KeyboardState, 0, sizeof Input.KeyboardState);
  memset(&Input.KeyboardInfo, 0, sizeof Input.KeyboardInfo);
  memset(&Input.JoystickInfo, 0, sizeof Input.JoystickInfo);
  memset(&Input.JoystickState, 0, sizeof Input.JoystickState);
  ReleaseAndNull(&Input.lpDirectInput);
}

static JoyRecord Joystick() {
  JoyRecord joy;
  memcpy(&joy, &Input.JoystickState, sizeof joy);
  return joy;
}

DWORD GetJoystickBits() { return FoldJoystickBits(Joystick()); }
DWORD GetKeyboardBits() { return FoldKeyboardBits(Input.KeyboardState); }
DWORD GetPadBits() { return FoldPadBits(Joystick(), Input.KeyboardState) | FirstPadBits(); }
int IsKeyDown(DWORD code) { return KeyDownIn(Input.KeyboardState, code); }
int IsJoyButtonDown(DWORD index) { return JoyButtonDownIn(Joystick(), index); }
int IsJoyUp() { return Input.JoystickState.lY < 0 ? 1 : 0; }
int IsJoyDown() { return Input.JoystickState.lY > 0 ? 1 : 0; }
int IsJoyLeft() { return Input.JoystickState.lX < 0 ? 1 : 0; }
int IsJoyRight() { return Input.JoystickState.lX > 0 ? 1 : 0; }
