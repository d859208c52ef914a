// The shared device behaviour and the scripted game controller.
#include "tools/virtual_pad/pad_devices.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <new>
#include <string>

#include "tools/virtual_pad/pad_script.h"

const GUID VirtualPadGuid = {0x4c51a7d0, 0x3b1e, 0x4f6a, {0x9d, 0x51, 0x70, 0x61, 0x64, 0x30, 0, 1}};
const GUID VirtualPadProduct = {0x4c51a7d1, 0x3b1e, 0x4f6a, {0x9d, 0x51, 0x70, 0x61, 0x64, 0x30, 0, 1}};

void PadLog(const char* format, ...) {
  va_list args;
  va_start(args, format);
  LogLineTo("LQ_PAD_LOG", format, args);
  va_end(args);
}

bool FillDeviceInstance(bool pad, DIDEVICEINSTANCEA* info) {
  if (info == NULL) return false;
  DWORD size = info->dwSize;
  if (size != sizeof(DIDEVICEINSTANCEA) && size != sizeof(DIDEVICEINSTANCE_DX3A)) return false;
  memset(info, 0, size);
  info->dwSize = size;
  info->guidInstance = pad ? VirtualPadGuid : GUID_SysKeyboard;
  info->guidProduct = pad ? VirtualPadProduct : GUID_SysKeyboard;
  info->dwDevType = pad ? DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8)
                        : DI8DEVTYPE_KEYBOARD | (DI8DEVTYPEKEYBOARD_PCENH << 8);
  const char* name = pad ? "Lumaquill virtual controller" : "Keyboard";
  strcpy(info->tszInstanceName, name);
  strcpy(info->tszProductName, name);
  return true;
}

// ---- shared device behaviour

HRESULT VirtualDevice::QueryInterface(REFIID iid, void** out) {
  if (out == NULL) return E_POINTER;
  *out = NULL;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDirectInputDevice8A)) {
    return E_NOINTERFACE;
  }
  AddRef();
  *out = this;
  return S_OK;
}

ULONG VirtualDevice::Release() {
  ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT VirtualDevice::SetDataFormat(LPCDIDATAFORMAT format) {
  if (acquired_) return DIERR_ACQUIRED;
  if (format == NULL || !FormatFits(format->dwDataSize)) return DIERR_INVALIDPARAM;
  dataSize_ = format->dwDataSize;
  return DI_OK;
}

HRESULT VirtualDevice::SetCooperativeLevel(HWND window, DWORD flags) {
  if (acquired_) return DIERR_ACQUIRED;
  bool exclusive = flags & DISCL_EXCLUSIVE, shared = flags & DISCL_NONEXCLUSIVE;
  bool foreground = flags & DISCL_FOREGROUND, background = flags & DISCL_BACKGROUND;
  if (exclusive == shared || foreground == background) return DIERR_INVALIDPARAM;
  if (foreground && (window == NULL || !IsWindow(window))) return E_HANDLE;
  window_ = window;
  level_ = flags;
  return DI_OK;
}

HRESULT VirtualDevice::GetDeviceInfo(LPDIDEVICEINSTANCEA info) {
  return FillDeviceInstance(pad_, info) ? DI_OK : DIERR_INVALIDPARAM;
}

bool VirtualDevice::InForeground() const {
  if (!(level_ & DISCL_FOREGROUND)) return true;
  HWND top = GetAncestor(window_, GA_ROOT);
  return top != NULL && GetForegroundWindow() == top;
}

HRESULT VirtualDevice::Acquire() {
  if (dataSize_ == 0) return DIERR_INVALIDPARAM;
  if (!InForeground()) return DIERR_OTHERAPPHASPRIO;
  if (acquired_) return DI_NOEFFECT;
  acquired_ = true;
  return DI_OK;
}

HRESULT VirtualDevice::Unacquire() {
  if (!acquired_) return DI_NOEFFECT;
  acquired_ = false;
  return DI_OK;
}

HRESULT VirtualDevice::Check() {
  if (!acquired_) return DIERR_NOTACQUIRED;
  if (InForeground()) return DI_OK;
  acquired_ = false;
  return DIERR_INPUTLOST;
}

HRESULT VirtualDevice::Poll() {
  HRESULT hr = Check();
  return hr == DI_OK ? DI_NOEFFECT : hr;
}

// ---- the game controller

namespace {

class PadDevice : public VirtualDevice {
 public:
  PadDevice() : VirtualDevice(true) {
    char path[MAX_PATH + 2];
    std::string text;
    if (ReadEnvFile("LQ_PAD_SCRIPT", &text, path, sizeof path)) {
      script_ = ParsePadScript(text.c_str());
      if (script_.skipped > 0) PadLog("script: %d unreadable lines skipped", script_.skipped);
    } else {
      PadLog("script: cannot read %s", path);
    }
  }

  // Ranges and dead zones of X and Y, by offset or for the whole device.
  STDMETHOD(SetProperty)(REFGUID property, LPCDIPROPHEADER header) override {
    if (header == NULL || header->dwHeaderSize != sizeof(DIPROPHEADER)) return DIERR_INVALIDPARAM;
    bool range = &property == &DIPROP_RANGE;
    bool zone = &property == &DIPROP_DEADZONE;
    if (!range && !zone) return DIERR_UNSUPPORTED;
    if (header->dwSize != (range ? sizeof(DIPROPRANGE) : sizeof(DIPROPDWORD))) {
      return DIERR_INVALIDPARAM;
    }
    bool axis[2] = {false, false};
    if (header->dwHow == DIPH_DEVICE && header->dwObj == 0) {
      axis[0] = axis[1] = true;
    } else if (header->dwHow == DIPH_BYOFFSET && header->dwObj == DIJOFS_X) {
      axis[0] = true;
    } else if (header->dwHow == DIPH_BYOFFSET && header->dwObj == DIJOFS_Y) {
      axis[1] = true;
    } else {
      return DIERR_OBJECTNOTFOUND;
    }
    const DIPROPRANGE* r = (const DIPROPRANGE*)header;
    const DIPROPDWORD* d = (const DIPROPDWORD*)header;
    if (range && r->lMin >= r->lMax) return DIERR_INVALIDPARAM;
    if (zone && d->dwData > 10000) return DIERR_INVALIDPARAM;
    for (int i = 0; i < 2; ++i) {
      if (!axis[i]) continue;
      if (range) {
        min_[i] = r->lMin;
        max_[i] = r->lMax;
      } else {
        deadZone_[i] = d->dwData;
      }
    }
    return DI_OK;
  }

  // One script line per poll.
  STDMETHOD(Poll)() override {
    HRESULT hr = Check();
    bool scripted = script_.index < script_.steps.size();
    if (hr != DI_OK) {
      // A frame in which the program keeps the state it read last: a test that
      // counts frames needs to know of it.
      if (scripted) PadLog("refused %lu", ++refused_);
      return hr;
    }
    step_ = NextPadStep(script_);
    ++polls_;
    // Logged while the script runs and once after it: a loop without a frame
    // limit would otherwise fill the log.
    if (scripted || !loggedNeutral_) {
      PadLog("poll %lu %ld %ld %lx", polls_, Axis(0), Axis(1), (unsigned long)step_.buttons);
      loggedNeutral_ = !scripted;
    }
    return DI_OK;
  }

  STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override {
    if (data == NULL || dataSize_ == 0 || size != dataSize_) return DIERR_INVALIDPARAM;
    HRESULT hr = Check();
    if (hr != DI_OK) return hr;
    DIJOYSTATE2 state;
    memset(&state, 0, sizeof state);
    state.lX = Axis(0);
    state.lY = Axis(1);
    for (DWORD& pov : state.rgdwPOV) pov = 0xFFFFFFFF;  // hats centred
    for (int i = 0; i < 32; ++i) state.rgbButtons[i] = (step_.buttons >> i) & 1 ? 0x80 : 0;
    memcpy(data, &state, size);
    return DI_OK;
  }

 protected:
  bool FormatFits(DWORD size) const override {
    return size == sizeof(DIJOYSTATE) || size == sizeof(DIJOYSTATE2);
  }

 private:
  LONG Axis(int i) const {
    return PadAxisValue(i == 0 ? step_.x : step_.y, min_[i], max_[i], deadZone_[i]);
  }

  PadScript script_;
  PadStep step_ = {0, 0, 0, 1};
  unsigned long polls_ = 0;
  unsigned long refused_ = 0;
  bool loggedNeutral_ = false;
  LONG min_[2] = {0, 0};
  LONG max_[2] = {65535, 65535};  // the platform's default range
  DWORD deadZone_[2] = {0, 0};
};

}  // namespace

IDirectInputDevice8A* NewPadDevice() { return new (std::nothrow) PadDevice(); }
