// The subsystems' starts as games call them: each given what it needs from the
// application's window.
#include "app/application.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "input/input.h"
#include "input/input_state.h"
#include "sound/sound.h"
#include "sound/sound_state.h"

HRESULT InitInput() {
  HRESULT hr = CreateDirectInput(GetInstanceHandle());
  if (hr != 0) {
    // Without DirectInput nothing of the start is kept.
    ReleaseApplication();
    return hr;
  }
  return CreateInputDevices(GetWindowHandle(), (GetStartOptions() & START_WITHOUT_CONTROLLER) != 0);
}

HRESULT CreateKeyboard() { return CreateKeyboardFor(GetWindowHandle()); }
HRESULT CreateJoystick() { return CreateJoystickFor(GetWindowHandle()); }

HRESULT InitSound() { return InitSoundFor(GetWindowHandle()); }

HRESULT InitDirectX() {
  return InitDirectXFor(GetWindowHandle(), GetScreenWidth(), GetScreenHeight(), IsWindowed());
}

HRESULT CreateDirectXDevice() {
  return CreateDirectXDeviceFor(GetWindowHandle(), GetScreenWidth(), GetScreenHeight(),
                                IsWindowed());
}
