// Virtual controller: a stand-in dinput8.dll for machines that have no game
// controller. Wine loads it instead of its own only when it lies beside the exe
// and WINEDLLOVERRIDES=dinput8=n,b is set.
//
// It offers two devices:
//  - the system keyboard, read from the real key state (GetAsyncKeyState mapped
//    to DIK_ scan codes), so a person can play with the keyboard and xdotool can
//    drive it;
//  - one attached game controller with a stick (X, Y) and 32 buttons, neutral
//    unless LQ_PAD_SCRIPT names a script.
//
// Script (LQ_PAD_SCRIPT; a path starting with '/' is a Unix path): one line per
// Poll of the controller, read again from the start each time the controller is
// created:
//     X Y BUTTONS [COUNT]
//   X, Y     stick position in thousandths of the travel, -1000..1000 (negative
//            is left / up, 0 the centre); reported through the range and dead
//            zone the program set, as a real stick is;
//   BUTTONS  hexadecimal mask, bit i = button i held (1 = button 0, 0 = none);
//   COUNT    how many polls the line lasts (default 1).
// '#' starts a comment; blank lines are no polls; unreadable lines are skipped.
// After the last line the controller is neutral. Example: hold right for 30
// polls, then button 0 for 2, then let go:
//     1000 0 0 30
//     0 0 1 2
//
// Log (LQ_PAD_LOG, optional; a path as for the script): "poll N X Y BUTTONS" with
// the values reported, for each controller poll while the script runs and for
// the first one after it; "refused N" for each poll refused while the script
// runs (the window not in front: the program keeps its last state for that
// frame); "keys CODES" (hex scan codes, "-" for none) whenever
// the set of keys down changes.
//
// Devices follow the cooperative level: with DISCL_FOREGROUND they acquire only
// while their window is the foreground window and lose acquisition when it is
// not. Methods the framework never calls return E_NOTIMPL.
#include <string.h>

#include <new>

#include "tools/virtual_pad/pad_devices.h"

namespace {

class VirtualDirectInput : public IDirectInput8A {
 public:
  STDMETHOD(QueryInterface)(REFIID iid, void** out) override {
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDirectInput8A)) {
      return E_NOINTERFACE;
    }
    AddRef();
    *out = this;
    return S_OK;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
  STDMETHOD_(ULONG, Release)() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  STDMETHOD(CreateDevice)(REFGUID guid, LPDIRECTINPUTDEVICE8A* out, LPUNKNOWN outer) override {
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (outer != NULL) return DIERR_NOAGGREGATION;
    if (IsEqualGUID(guid, GUID_SysKeyboard)) *out = NewKeyboardDevice();
    else if (IsEqualGUID(guid, VirtualPadGuid)) *out = NewPadDevice();
    else return DIERR_DEVICENOTREG;
    return *out != NULL ? DI_OK : E_OUTOFMEMORY;
  }

  STDMETHOD(EnumDevices)(DWORD type, LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                         DWORD) override {
    if (callback == NULL) return DIERR_INVALIDPARAM;
    bool all = type == DI8DEVCLASS_ALL;
    bool keyboard = all || type == DI8DEVCLASS_KEYBOARD || type == DI8DEVTYPE_KEYBOARD;
    bool pad = all || type == DI8DEVCLASS_GAMECTRL || type == DI8DEVTYPE_GAMEPAD;
    DIDEVICEINSTANCEA info;
    if (keyboard) {
      info.dwSize = sizeof info;
      FillDeviceInstance(false, &info);
      if (callback(&info, context) == DIENUM_STOP) return DI_OK;
    }
    if (pad) {
      info.dwSize = sizeof info;
      FillDeviceInstance(true, &info);
      callback(&info, context);
    }
    return DI_OK;
  }

  STDMETHOD(GetDeviceStatus)(REFGUID guid) override {
    return IsEqualGUID(guid, GUID_SysKeyboard) || IsEqualGUID(guid, VirtualPadGuid)
               ? DI_OK : DIERR_DEVICENOTREG;
  }
  STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(Initialize)(HINSTANCE, DWORD) override { return DI_OK; }
  STDMETHOD(FindDevice)(REFGUID, LPCSTR, LPGUID) override { return E_NOTIMPL; }
  STDMETHOD(EnumDevicesBySemantics)(LPCSTR, LPDIACTIONFORMATA, LPDIENUMDEVICESBYSEMANTICSCBA,
                                    LPVOID, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(ConfigureDevices)(LPDICONFIGUREDEVICESCALLBACK, LPDICONFIGUREDEVICESPARAMSA, DWORD,
                              LPVOID) override { return E_NOTIMPL; }

 private:
  virtual ~VirtualDirectInput() = default;
  ULONG refs_ = 1;
};

}  // namespace

extern "C" HRESULT WINAPI DirectInput8Create(HINSTANCE, DWORD version, REFIID iid, LPVOID* out,
                                             LPUNKNOWN outer) {
  if (out == NULL) return E_POINTER;
  *out = NULL;
  if (version < 0x0800) return DIERR_OLDDIRECTINPUTVERSION;
  if (outer != NULL) return DIERR_NOAGGREGATION;
  if (!IsEqualIID(iid, IID_IDirectInput8A) && !IsEqualIID(iid, IID_IUnknown)) {
    return E_NOINTERFACE;
  }
  *out = static_cast<IDirectInput8A*>(new (std::nothrow) VirtualDirectInput());
  return *out != NULL ? DI_OK : E_OUTOFMEMORY;
}
