// Fakes of IDirectInput8A and IDirectInputDevice8A, scripted through the shared
// FakeScripts. The test executable's DirectInput8Create (defined with the fakes)
// hands them out in place of the real ones. By default one creatable game controller is attached and every call
// succeeds, so any test that starts the application gets working input.
//
// Call names, used both in the log and to script results:
//   "DirectInput8Create", "EnumDevices", "CreateDevice keyboard",
//   "CreateDevice <controller name>", "keyboard.<Method>", "joystick.<Method>"
// where a joystick is any created game controller.
#pragma once
#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#include <dinput.h>

#include "fakes/fake_script.h"

#include <map>
#include <string>
#include <vector>

struct FakeController {
  std::string name;
  bool refusesCreate;  // CreateDevice on it fails with DIERR_DEVICENOTREG
};

struct FakePropertyCall {
  std::string device;  // "keyboard" or "joystick"
  int property;        // the DIPROP_ number (DIPROP_RANGE is 4, DIPROP_DEADZONE 5)
  DIPROPHEADER header;
  LONG lMin, lMax;     // DIPROPRANGE fields when dwSize says so
  DWORD dwData;        // DIPROPDWORD field when dwSize says so
};

struct FakeDInputWorld {
  std::vector<FakeController> controllers;  // enumeration order
  FakeScripts scripts;
  std::vector<std::string> calls;

  // What the devices serve on a successful GetDeviceState.
  BYTE keyboardState[256];
  DIJOYSTATE joystickState;

  // Arguments seen.
  HINSTANCE createInstance;
  DWORD createVersion;
  IID createIid;
  LPUNKNOWN createOuter;
  DWORD enumClass, enumFlags;
  LPVOID enumContext;
  std::map<std::string, const DIDATAFORMAT*> dataFormat;
  std::map<std::string, HWND> cooperativeWindow;
  std::map<std::string, DWORD> cooperativeFlags;
  std::map<std::string, DWORD> deviceInfoSize;
  std::map<std::string, DWORD> stateSize;
  std::map<std::pair<int, DWORD>, FakePropertyCall> properties;  // by (DIPROP_, dwObj)

  int liveObjects;  // fake COM objects not yet released to zero
  std::map<std::string, bool> acquired;  // by device, while it lives
  int releasedAcquired = 0;  // devices released without being unacquired first
};

FakeDInputWorld& FakeDInput();

// Back to the default: one creatable controller "pad0", all calls succeed,
// neutral states, nothing recorded. Live objects are not forgotten.
void ResetFakeDInput();

// Replaces the attached controllers; refuse lists the indexes that cannot be created.
void AttachFakeControllers(int count, std::vector<int> refuse = {});

// Scripts the results of a call: results[i] for the (i+1)-th call, then `after`.
void ScriptFakeCall(const std::string& call, std::vector<HRESULT> results, HRESULT after = DI_OK);
void FailFakeCall(const std::string& call, HRESULT status);  // every call

// The calls logged so far whose names start with prefix.
std::vector<std::string> FakeCalls(const std::string& prefix = "");
