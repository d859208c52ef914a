// The message table and the reporter.
#include "util/failure.h"

#include "util/internal.h"
#include "util/util_state.h"

namespace {

struct Failure {
  FailureId id;
  bool quits;
  const char* text;
};

constexpr Failure kFailures[] = {
    {FAIL_REGISTER_CLASS, false, "RegisterClassEx : Failed\n"},
    {FAIL_CREATE_WINDOW, false, "CreateWindowEx : Failed\n"},
    {FAIL_INIT_INPUT, false, "InitDirectInput : Failed\n"},
    {FAIL_INIT_SOUND, false, "InitSound : Failed\n"},
    {FAIL_INIT_DIRECTX, false, "InitDirectX : Failed\n"},

    {FAIL_DIRECTINPUT_CREATE, false, "InitInput : DirectInput8Create\n"},
    {FAIL_INPUT_KEYBOARD, false, "InitInput : CreateKeyboard\n"},
    {FAIL_INPUT_JOYSTICK, false, "InitInput : CreateJoystick\n"},
    {FAIL_KEYBOARD_CREATE_DEVICE, false, "CreateKeyboard : CreateDevice\n"},
    {FAIL_KEYBOARD_DATA_FORMAT, false, "CreateKeyboard : SetDataFormat\n"},
    {FAIL_KEYBOARD_COOPERATIVE_LEVEL, false, "CreateKeyboard : SetCooperativeLevel\n"},
    {FAIL_KEYBOARD_DEVICE_INFO, false, "CreateKeyboard : GetDeviceInfo\n"},
    {FAIL_JOYSTICK_ENUM_DEVICES, false, "CreateJoystick : EnumDevices\n"},
    {FAIL_JOYSTICK_DATA_FORMAT, false, "CreateJoystick : SetDataFormat\n"},
    {FAIL_JOYSTICK_COOPERATIVE_LEVEL, false, "CreateJoystick : SetCooperativeLevel\n"},
    {FAIL_JOYSTICK_RANGE_X, false, "CreateJoystick : SetProperty DIPROP_RANGE DIJOFS_X\n"},
    {FAIL_JOYSTICK_RANGE_Y, false, "CreateJoystick : SetProperty DIPROP_RANGE DIJOFS_Y\n"},
    {FAIL_JOYSTICK_DEAD_ZONE_X, false, "CreateJoystick : SetProperty DIJOFS_X\n"},
    {FAIL_JOYSTICK_DEAD_ZONE_Y, false, "CreateJoystick : SetProperty DIJOFS_Y\n"},

    {FAIL_ADAPTER_IDENTIFIER, false, "GetAdapterIdentifier : Failed\n"},
    {FAIL_ADAPTER_DISPLAY_MODE, false, "GetAdapterDisplayMode : Failed\n"},
    {FAIL_CREATE_DEVICE, false, "CreateDirectXDevice : Can't Create DirectX9 Device\n"},

    {FAIL_GET_BACK_SURFACE, false, "CreateResource : GetRenderTarget(BackSurface)\n"},
    {FAIL_GET_BACK_DEPTH, false, "CreateResource : GetDepthStencilSurface(lpBackZBuffer)\n"},
    {FAIL_EFFECT_TEXTURE, false, "CreateResource : CreateTexture(lpEffectTexture)\n"},
    {FAIL_EFFECT_SURFACE_LEVEL, false, "CreateResource : GetSurfaceLevel(lpEffectSurface)\n"},
    {FAIL_FLIP_TEXTURE, false, "CreateResource : CreateTexture(lpFlipTexture)\n"},
    {FAIL_FLIP_SURFACE_LEVEL, false, "CreateResource : GetSurfaceLevel(lpFlipTexture)\n"},
    {FAIL_FLIP_DEPTH, false, "CreateResource : CreateDepthStencilSurface(lpFlipZBuffer)\n"},
    {FAIL_BIND_FLIP_TARGET, false, "CreateResource : SetRenderTarget(lpFlipSurface)\n"},
    {FAIL_BIND_FLIP_DEPTH_AT_START, false,
     "CreateResource : SetDepthStencilSurface(lpFlipSurface)\n"},
    {FAIL_CLEAR_FLIP_TARGET, false, "CreateResource : Clear(lpFlipSurface)\n"},
    {FAIL_BIND_BACK_SURFACE, false, "CreateResource : SetRenderTarget(lpBackSurface)\n"},
    {FAIL_BIND_BACK_DEPTH, false, "CreateResource : SetDepthStencilSurface(lpBackZBuffer)\n"},
    {FAIL_BIND_FLIP_DEPTH, false,
     "SetDepthStencilSurface : SetDepthStencilSurface(lpFlipZBuffer)\n"},

    {FAIL_CLEAR_BIND_TARGET, false, "Clear : Failed : SetRenderTarget\n"},
    {FAIL_CLEAR_BIND_DEPTH, false, "Clear : Failed : SetDepthStencilSurface\n"},
    {FAIL_CLEAR_TARGET_AND_DEPTH, false, "Clear : Failed : D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER\n"},
    {FAIL_CLEAR_TARGET, false, "Clear : Failed : D3DCLEAR_TARGET\n"},
    {FAIL_FLIP_BIND_BACK_SURFACE, false, "Flip : SetRenderTarget : Failed\n"},
    {FAIL_FLIP_BIND_BACK_DEPTH, false, "Flip : SetDepthStencilSurface : Failed\n"},

    {FAIL_RESET_ONLOST, true, "HandlePresentParam : Failed : OnLost\n"},
    {FAIL_RESET, true, "HandlePresentParam : Failed : Reset\n"},
    {FAIL_RESET_ONRESTORE, true, "HandlePresentParam : Failed : OnRestore\n"},
    {FAIL_DRIVER_INTERNAL_ERROR, true,
     "HandlePresentParam : Failed : D3DERR_DRIVERINTERNALERROR\n"},

    {FAIL_BLUR_BIND_SOURCE, true, "DrawEffectGaussianBlur : Failed : SetTexture\n"},
    {FAIL_BLUR_BIND_EFFECT_TARGET, false,
     "DrawEffectGaussianBlur : SetRenderTarget(lpEffectSurface)\n"},
    {FAIL_BLUR_UNBIND_DEPTH, false, "DrawEffectGaussianBlur : SetDepthStencilSurface(NULL)\n"},
    {FAIL_BLUR_CLEAR, false, "DrawEffectGaussianBlur : Clear(lpEffectSurface)\n"},
    {FAIL_BLUR_BIND_EFFECT_TEXTURE, true,
     "DrawEffectGaussianBlur : Failed : SetTexture(lpEffectTexture)\n"},
};

// Row i is failure i: the table is looked up by id.
constexpr bool RowsInIdOrder() {
  for (int i = 0; i < FAILURE_COUNT; ++i) {
    if (kFailures[i].id != i) return false;
  }
  return sizeof kFailures / sizeof kFailures[0] == FAILURE_COUNT;
}
static_assert(RowsInIdOrder(), "one row for each FailureId, in its order");

}  // namespace

HRESULT ReportFailure(FailureId id, HRESULT status) {
  if ((unsigned)id >= FAILURE_COUNT) return status;
  const char* text = kFailures[id].text;
  if (Util.failureReporter != NULL) {
    Util.failureReporter(id, text);
  } else {
    MessageBoxA(NULL, text, "Error", MB_OK);
  }
  if (kFailures[id].quits) PostQuitMessage(0);
  return status;
}

FailureReporter SetFailureReporter(FailureReporter reporter) {
  FailureReporter previous = Util.failureReporter;
  Util.failureReporter = reporter;
  return previous;
}
