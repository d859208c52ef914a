// The two devices of the virtual controller DLL, and its optional log.
#pragma once
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <dinput.h>

#include "tools/virtual_pad/pad_files.h"

// Instance GUIDs the DLL enumerates and accepts in CreateDevice.
extern const GUID VirtualPadGuid;
extern const GUID VirtualPadProduct;

IDirectInputDevice8A* NewKeyboardDevice();
IDirectInputDevice8A* NewPadDevice();  // reads the script named by LQ_PAD_SCRIPT

// Fills an instance record of either device; false if its size is not one we know.
bool FillDeviceInstance(bool pad, DIDEVICEINSTANCEA* info);

// Appends one line to the file named by LQ_PAD_LOG, if set.
void PadLog(const char* format, ...);

// What both devices share: reference count, data format, cooperative level and
// acquisition. Everything the framework never calls answers E_NOTIMPL.
class VirtualDevice : public IDirectInputDevice8A {
 public:
  explicit VirtualDevice(bool pad) : pad_(pad) {}

  STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
  STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
  STDMETHOD_(ULONG, Release)() override;
  STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT format) override;
  STDMETHOD(SetCooperativeLevel)(HWND window, DWORD flags) override;
  STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA info) override;
  STDMETHOD(Acquire)() override;
  STDMETHOD(Unacquire)() override;
  STDMETHOD(SetProperty)(REFGUID, LPCDIPROPHEADER) override { return DIERR_UNSUPPORTED; }
  STDMETHOD(Poll)() override;  // devices that need no polling: DI_NOEFFECT

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

 protected:
  virtual ~VirtualDevice() = default;
  virtual bool FormatFits(DWORD dataSize) const = 0;
  // DI_OK while acquired and allowed to read; drops acquisition when the
  // foreground window is no longer ours.
  HRESULT Check();
  DWORD dataSize_ = 0;  // 0: no data format set

 private:
  bool InForeground() const;
  bool pad_;
  ULONG refs_ = 1;
  HWND window_ = NULL;
  DWORD level_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
  bool acquired_ = false;
};
