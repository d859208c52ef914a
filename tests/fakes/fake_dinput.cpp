#include "fakes/fake_dinput.h"

#include <string.h>

// The standard data formats, in place of the import library's: the fakes only
// compare their addresses and sizes.
const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT),
                                     DIDF_RELAXIS, 256, 0, NULL};
const DIDATAFORMAT c_dfDIJoystick = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT),
                                     DIDF_ABSAXIS, sizeof(DIJOYSTATE), 0, NULL};

namespace {

FakeDInputWorld gWorld;

// Logs the call and returns its scripted result.
HRESULT Call(const std::string& name) {
  gWorld.calls.push_back(name);
  return gWorld.scripts.Next(name);
}

GUID ControllerGuid(size_t index) {
  GUID g = {0x6c71a000u + (unsigned)index, 0x4c51, 0x4641, {0x4b, 0x45, 0, 0, 0, 0, 0, 0}};
  return g;
}

void NeutralJoystick(DIJOYSTATE& joy) {
  memset(&joy, 0, sizeof joy);
  for (DWORD& pov : joy.rgdwPOV) pov = 0xFFFFFFFF;
}

class FakeDevice : public IDirectInputDevice8A {
 public:
  explicit FakeDevice(const char* role) : role_(role) { ++gWorld.liveObjects; }

  HRESULT Do(const char* method) { return Call(role_ + "." + method); }

  STDMETHOD(QueryInterface)(REFIID, void** out) override {
    if (out) *out = NULL;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
  STDMETHOD_(ULONG, Release)() override {
    gWorld.calls.push_back(role_ + ".Release");
    ULONG left = --refs_;
    if (left == 0) {
      --gWorld.liveObjects;
      gWorld.releasedAcquired += gWorld.acquired[role_] ? 1 : 0;
      gWorld.acquired.erase(role_);
      delete this;
    }
    return left;
  }

  STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT format) override {
    gWorld.dataFormat[role_] = format;
    HRESULT hr = Do("SetDataFormat");
    if (SUCCEEDED(hr) && format) dataSize_ = format->dwDataSize;
    return hr;
  }
  STDMETHOD(SetCooperativeLevel)(HWND window, DWORD flags) override {
    gWorld.cooperativeWindow[role_] = window;
    gWorld.cooperativeFlags[role_] = flags;
    return Do("SetCooperativeLevel");
  }
  STDMETHOD(SetProperty)(REFGUID property, LPCDIPROPHEADER header) override {
    FakePropertyCall rec = {};
    rec.device = role_;
    rec.property = (int)(INT_PTR)&property;
    if (header) {
      rec.header = *header;
      if (header->dwSize == sizeof(DIPROPRANGE)) {
        rec.lMin = ((const DIPROPRANGE*)header)->lMin;
        rec.lMax = ((const DIPROPRANGE*)header)->lMax;
      } else if (header->dwSize == sizeof(DIPROPDWORD)) {
        rec.dwData = ((const DIPROPDWORD*)header)->dwData;
      }
    }
    gWorld.properties[{rec.property, rec.header.dwObj}] = rec;
    return Do("SetProperty");
  }
  STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA info) override {
    gWorld.deviceInfoSize[role_] = info ? info->dwSize : 0;
    HRESULT hr = Do("GetDeviceInfo");
    if (SUCCEEDED(hr) && info && info->dwSize == sizeof(DIDEVICEINSTANCEA)) {
      strcpy(info->tszInstanceName, role_.c_str());
    }
    return hr;
  }
  STDMETHOD(Acquire)() override {
    HRESULT hr = Do("Acquire");
    if (SUCCEEDED(hr)) gWorld.acquired[role_] = true;
    return hr;
  }
  STDMETHOD(Unacquire)() override {
    HRESULT hr = Do("Unacquire");
    if (SUCCEEDED(hr)) gWorld.acquired[role_] = false;
    return hr;
  }
  STDMETHOD(Poll)() override { return Do("Poll"); }
  // A failed read writes nothing, as the platform's does.
  STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override {
    gWorld.stateSize[role_] = size;
    HRESULT hr = Do("GetDeviceState");
    if (FAILED(hr)) return hr;
    bool keyboard = role_ == "keyboard";
    DWORD served = keyboard ? sizeof gWorld.keyboardState : sizeof gWorld.joystickState;
    if (data == NULL || size != dataSize_ || size != served) return DIERR_INVALIDPARAM;
    if (keyboard) memcpy(data, gWorld.keyboardState, size);
    else memcpy(data, &gWorld.joystickState, size);
    return hr;
  }

  // Never used by the framework.
  FAKE_UNUSED(GetCapabilities, LPDIDEVCAPS)
  FAKE_UNUSED(EnumObjects, LPDIENUMDEVICEOBJECTSCALLBACKA, LPVOID, DWORD)
  FAKE_UNUSED(GetProperty, REFGUID, LPDIPROPHEADER)
  FAKE_UNUSED(GetDeviceData, DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD)
  FAKE_UNUSED(SetEventNotification, HANDLE)
  FAKE_UNUSED(GetObjectInfo, LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD)
  FAKE_UNUSED(RunControlPanel, HWND, DWORD)
  FAKE_UNUSED(Initialize, HINSTANCE, DWORD, REFGUID)
  FAKE_UNUSED(CreateEffect, REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT*, LPUNKNOWN)
  FAKE_UNUSED(EnumEffects, LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD)
  FAKE_UNUSED(GetEffectInfo, LPDIEFFECTINFOA, REFGUID)
  FAKE_UNUSED(GetForceFeedbackState, LPDWORD)
  FAKE_UNUSED(SendForceFeedbackCommand, DWORD)
  FAKE_UNUSED(EnumCreatedEffectObjects, LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD)
  FAKE_UNUSED(Escape, LPDIEFFESCAPE)
  FAKE_UNUSED(SendDeviceData, DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD)
  FAKE_UNUSED(EnumEffectsInFile, LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD)
  FAKE_UNUSED(WriteEffectToFile, LPCSTR, DWORD, LPDIFILEEFFECT, DWORD)
  FAKE_UNUSED(BuildActionMap, LPDIACTIONFORMATA, LPCSTR, DWORD)
  FAKE_UNUSED(SetActionMap, LPDIACTIONFORMATA, LPCSTR, DWORD)
  FAKE_UNUSED(GetImageInfo, LPDIDEVICEIMAGEINFOHEADERA)

 private:
  virtual ~FakeDevice() = default;
  std::string role_;
  ULONG refs_ = 1;
  DWORD dataSize_ = 0;  // no reads before a data format is set
};

class FakeDirectInput : public IDirectInput8A {
 public:
  FakeDirectInput() { ++gWorld.liveObjects; }

  STDMETHOD(QueryInterface)(REFIID, void** out) override {
    if (out) *out = NULL;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
  STDMETHOD_(ULONG, Release)() override {
    gWorld.calls.push_back("DirectInput.Release");
    ULONG left = --refs_;
    if (left == 0) {
      --gWorld.liveObjects;
      delete this;
    }
    return left;
  }

  STDMETHOD(CreateDevice)(REFGUID guid, LPDIRECTINPUTDEVICE8A* out, LPUNKNOWN) override {
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (IsEqualGUID(guid, GUID_SysKeyboard)) {
      HRESULT hr = Call("CreateDevice keyboard");
      if (SUCCEEDED(hr)) *out = new FakeDevice("keyboard");
      return hr;
    }
    for (size_t i = 0; i < gWorld.controllers.size(); ++i) {
      if (!IsEqualGUID(guid, ControllerGuid(i))) continue;
      HRESULT hr = Call("CreateDevice " + gWorld.controllers[i].name);
      if (gWorld.controllers[i].refusesCreate) return DIERR_DEVICENOTREG;
      if (SUCCEEDED(hr)) *out = new FakeDevice("joystick");
      return hr;
    }
    gWorld.calls.push_back("CreateDevice unknown");
    return DIERR_DEVICENOTREG;
  }

  STDMETHOD(EnumDevices)(DWORD devClass, LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                         DWORD flags) override {
    gWorld.enumClass = devClass;
    gWorld.enumFlags = flags;
    gWorld.enumContext = context;
    HRESULT hr = Call("EnumDevices");
    if (FAILED(hr) || callback == NULL) return hr;
    for (size_t i = 0; i < gWorld.controllers.size(); ++i) {
      DIDEVICEINSTANCEA inst = {};
      inst.dwSize = sizeof inst;
      inst.guidInstance = ControllerGuid(i);
      inst.guidProduct = ControllerGuid(100 + i);
      inst.dwDevType = DI8DEVTYPE_GAMEPAD;
      strncpy(inst.tszInstanceName, gWorld.controllers[i].name.c_str(), MAX_PATH - 1);
      strncpy(inst.tszProductName, "Fake pad", MAX_PATH - 1);
      gWorld.calls.push_back("Enumerate " + gWorld.controllers[i].name);
      if (callback(&inst, context) == DIENUM_STOP) break;
    }
    return hr;
  }

  FAKE_UNUSED(GetDeviceStatus, REFGUID)
  FAKE_UNUSED(RunControlPanel, HWND, DWORD)
  FAKE_UNUSED(Initialize, HINSTANCE, DWORD)
  FAKE_UNUSED(FindDevice, REFGUID, LPCSTR, LPGUID)
  FAKE_UNUSED(EnumDevicesBySemantics, LPCSTR, LPDIACTIONFORMATA, LPDIENUMDEVICESBYSEMANTICSCBA, LPVOID, DWORD)
  FAKE_UNUSED(ConfigureDevices, LPDICONFIGUREDEVICESCALLBACK, LPDICONFIGUREDEVICESPARAMSA, DWORD, LPVOID)

 private:
  virtual ~FakeDirectInput() = default;
  ULONG refs_ = 1;
};

struct DefaultWorld {
  DefaultWorld() { ResetFakeDInput(); }
} gDefault;

}  // namespace

HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid, LPVOID* out,
                                  LPUNKNOWN outer) {
  gWorld.createInstance = instance;
  gWorld.createVersion = version;
  gWorld.createIid = iid;
  gWorld.createOuter = outer;
  if (out == NULL) return E_POINTER;
  *out = NULL;
  HRESULT hr = Call("DirectInput8Create");
  if (SUCCEEDED(hr)) *out = static_cast<IDirectInput8A*>(new FakeDirectInput());
  return hr;
}

FakeDInputWorld& FakeDInput() { return gWorld; }

void ResetFakeDInput() {
  int live = gWorld.liveObjects;
  gWorld = FakeDInputWorld();
  gWorld.liveObjects = live;
  memset(gWorld.keyboardState, 0, sizeof gWorld.keyboardState);
  NeutralJoystick(gWorld.joystickState);
  AttachFakeControllers(1);
}

void AttachFakeControllers(int count, std::vector<int> refuse) {
  gWorld.controllers.clear();
  for (int i = 0; i < count; ++i) {
    bool refuses = false;
    for (int r : refuse) refuses = refuses || r == i;
    gWorld.controllers.push_back({"pad" + std::to_string(i), refuses});
  }
}

void ScriptFakeCall(const std::string& call, std::vector<HRESULT> results, HRESULT after) {
  gWorld.scripts.Script(call, std::move(results), after);
}

void FailFakeCall(const std::string& call, HRESULT status) { ScriptFakeCall(call, {}, status); }

std::vector<std::string> FakeCalls(const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& c : gWorld.calls) {
    if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
  }
  return out;
}
