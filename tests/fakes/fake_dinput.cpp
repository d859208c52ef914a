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
  FakeScript& s = gWorld.scripts[name];
  int i = s.calls++;
  return i < (int)s.results.size() ? s.results[i] : s.after;
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
    gWorld.properties.push_back(rec);
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
  STDMETHOD(Acquire)() override { return Do("Acquire"); }
  STDMETHOD(Unacquire)() override { return Do("Unacquire"); }
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
  STDMETHOD(GetCapabilities)(LPDIDEVCAPS) override { return E_NOTIMPL; }
  STDMETHOD(EnumObjects)(LPDIENUMDEVICEOBJECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(GetProperty)(REFGUID, LPDIPROPHEADER) override { return E_NOTIMPL; }
  STDMETHOD(GetDeviceData)(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(SetEventNotification)(HANDLE) override { return E_NOTIMPL; }
  STDMETHOD(GetObjectInfo)(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(Initialize)(HINSTANCE, DWORD, REFGUID) override { return E_NOTIMPL; }
  STDMETHOD(CreateEffect)(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT*, LPUNKNOWN) override { return E_NOTIMPL; }
  STDMETHOD(EnumEffects)(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(GetEffectInfo)(LPDIEFFECTINFOA, REFGUID) override { return E_NOTIMPL; }
  STDMETHOD(GetForceFeedbackState)(LPDWORD) override { return E_NOTIMPL; }
  STDMETHOD(SendForceFeedbackCommand)(DWORD) override { return E_NOTIMPL; }
  STDMETHOD(EnumCreatedEffectObjects)(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(Escape)(LPDIEFFESCAPE) override { return E_NOTIMPL; }
  STDMETHOD(SendDeviceData)(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(EnumEffectsInFile)(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(WriteEffectToFile)(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(BuildActionMap)(LPDIACTIONFORMATA, LPCSTR, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(SetActionMap)(LPDIACTIONFORMATA, LPCSTR, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(GetImageInfo)(LPDIDEVICEIMAGEINFOHEADERA) override { return E_NOTIMPL; }

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

  STDMETHOD(GetDeviceStatus)(REFGUID) override { return E_NOTIMPL; }
  STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(Initialize)(HINSTANCE, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(FindDevice)(REFGUID, LPCSTR, LPGUID) override { return E_NOTIMPL; }
  STDMETHOD(EnumDevicesBySemantics)(LPCSTR, LPDIACTIONFORMATA, LPDIENUMDEVICESBYSEMANTICSCBA,
                                    LPVOID, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(ConfigureDevices)(LPDICONFIGUREDEVICESCALLBACK, LPDICONFIGUREDEVICESPARAMSA, DWORD,
                              LPVOID) override { return E_NOTIMPL; }

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
  FakeScript& s = gWorld.scripts[call];
  s.results = std::move(results);
  s.after = after;
  s.calls = 0;
}

void FailFakeCall(const std::string& call, HRESULT status) { ScriptFakeCall(call, {}, status); }

std::vector<std::string> FakeCalls(const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& c : gWorld.calls) {
    if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
  }
  return out;
}
