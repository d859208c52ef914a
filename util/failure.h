// Failure reports: every message the framework shows, kept in one table, and one
// reporter through which each is shown.
#pragma once
#include <windows.h>

enum FailureId : int {
  // Application start
  FAIL_REGISTER_CLASS,
  FAIL_CREATE_WINDOW,
  FAIL_INIT_INPUT,
  FAIL_INIT_SOUND,
  FAIL_INIT_DIRECTX,
  // Input start
  FAIL_DIRECTINPUT_CREATE,
  FAIL_INPUT_KEYBOARD,
  FAIL_INPUT_JOYSTICK,
  FAIL_KEYBOARD_CREATE_DEVICE,
  FAIL_KEYBOARD_DATA_FORMAT,
  FAIL_KEYBOARD_COOPERATIVE_LEVEL,
  FAIL_KEYBOARD_DEVICE_INFO,
  FAIL_JOYSTICK_ENUM_DEVICES,
  FAIL_JOYSTICK_DATA_FORMAT,
  FAIL_JOYSTICK_COOPERATIVE_LEVEL,
  FAIL_JOYSTICK_RANGE_X,
  FAIL_JOYSTICK_RANGE_Y,
  FAIL_JOYSTICK_DEAD_ZONE_X,
  FAIL_JOYSTICK_DEAD_ZONE_Y,
  // Graphics device
  FAIL_ADAPTER_IDENTIFIER,
  FAIL_ADAPTER_DISPLAY_MODE,
  FAIL_CREATE_DEVICE,
  // Render targets
  FAIL_GET_BACK_SURFACE,
  FAIL_GET_BACK_DEPTH,
  FAIL_EFFECT_TEXTURE,
  FAIL_EFFECT_SURFACE_LEVEL,
  FAIL_FLIP_TEXTURE,
  FAIL_FLIP_SURFACE_LEVEL,
  FAIL_FLIP_DEPTH,
  FAIL_BIND_FLIP_TARGET,
  FAIL_BIND_FLIP_DEPTH_AT_START,
  FAIL_CLEAR_FLIP_TARGET,
  FAIL_BIND_BACK_SURFACE,
  FAIL_BIND_BACK_DEPTH,
  FAIL_BIND_FLIP_DEPTH,
  // Frame
  FAIL_CLEAR_BIND_TARGET,
  FAIL_CLEAR_BIND_DEPTH,
  FAIL_CLEAR_TARGET_AND_DEPTH,
  FAIL_CLEAR_TARGET,
  FAIL_FLIP_BIND_BACK_SURFACE,
  FAIL_FLIP_BIND_BACK_DEPTH,
  // Device loss: these end the run
  FAIL_RESET_ONLOST,
  FAIL_RESET,
  FAIL_RESET_ONRESTORE,
  FAIL_DRIVER_INTERNAL_ERROR,
  // Glow
  FAIL_BLUR_BIND_SOURCE,
  FAIL_BLUR_BIND_EFFECT_TARGET,
  FAIL_BLUR_UNBIND_DEPTH,
  FAIL_BLUR_CLEAR,
  FAIL_BLUR_BIND_EFFECT_TEXTURE,
  FAILURE_COUNT
};

// Shows one report; the text is the failure's message, word for word.
typedef void (*FailureReporter)(FailureId id, const char* text);

// Hands the failure's message to the reporter; a failure that ends the run then
// posts the quit message, so that the main loop ends. Returns status.
HRESULT ReportFailure(FailureId id, HRESULT status);
// Sets the reporter, null for the message box captioned "Error" that reports by
// default; returns the one it replaces (null for the box).
FailureReporter SetFailureReporter(FailureReporter reporter);
