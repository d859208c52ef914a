// The virtual controller DLL, loaded from the build and driven as the framework
// drives DirectInput.
#include <gtest/gtest.h>

#include <stdio.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

namespace {

typedef HRESULT(WINAPI* CreateFn)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);

std::string Slurp(const char* path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

BOOL CALLBACK Collect(LPCDIDEVICEINSTANCEA inst, LPVOID context) {
  static_cast<std::vector<DIDEVICEINSTANCEA>*>(context)->push_back(*inst);
  return DIENUM_CONTINUE;
}

std::vector<DIDEVICEINSTANCEA> Enumerate(IDirectInput8A* di, DWORD type) {
  std::vector<DIDEVICEINSTANCEA> found;
  EXPECT_EQ(di->EnumDevices(type, Collect, &found, DIEDFL_ATTACHEDONLY), DI_OK);
  return found;
}

// Lets the window system deliver what is pending.
void Settle() {
  for (int i = 0; i < 8; ++i) {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(20);
  }
}

class VirtualPad : public ::testing::Test {
 protected:
  void SetUp() override {
    // The build's Unix path, through Wine's Z: drive.
    module_ = LoadLibraryA((std::string("Z:") + LQ_VIRTUAL_PAD_DLL).c_str());
    ASSERT_NE(module_, nullptr);
    CreateFn create =
        reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DirectInput8Create")));
    ASSERT_NE(create, nullptr);
    ASSERT_EQ(create(GetModuleHandleA(NULL), 0x0800, IID_IDirectInput8A, (void**)&di_, NULL), DI_OK);
  }
  void TearDown() override {
    if (pad_) {
      EXPECT_EQ(pad_->Release(), 0u);
    }
    if (di_) {
      EXPECT_EQ(di_->Release(), 0u);
    }
    SetEnvironmentVariableA("LQ_PAD_SCRIPT", NULL);
    SetEnvironmentVariableA("LQ_PAD_LOG", NULL);
    if (module_) FreeLibrary(module_);
  }

  // Creates the controller as the framework does, with the script text given.
  void CreatePad(const char* script, bool frameworkAxes = true) {
    if (script) {
      std::ofstream("pad_script.txt") << script;
      SetEnvironmentVariableA("LQ_PAD_SCRIPT", "pad_script.txt");
    }
    ASSERT_EQ(di_->CreateDevice(PadGuid(), &pad_, NULL), DI_OK);
    ASSERT_EQ(pad_->SetDataFormat(&c_dfDIJoystick), DI_OK);
    ASSERT_EQ(pad_->SetCooperativeLevel(NULL, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
    if (frameworkAxes) {
      for (DWORD axis : {(DWORD)DIJOFS_X, (DWORD)DIJOFS_Y}) {
        DIPROPRANGE range = {{sizeof range, sizeof(DIPROPHEADER), axis, DIPH_BYOFFSET}, -1000, 1000};
        ASSERT_EQ(pad_->SetProperty(DIPROP_RANGE, &range.diph), DI_OK);
        DIPROPDWORD zone = {{sizeof zone, sizeof(DIPROPHEADER), axis, DIPH_BYOFFSET}, 4000};
        ASSERT_EQ(pad_->SetProperty(DIPROP_DEADZONE, &zone.diph), DI_OK);
      }
    }
    ASSERT_EQ(pad_->Acquire(), DI_OK);
  }

  // Polls once and reads: "X Y BUTTONS" of the state.
  std::string Frame() {
    EXPECT_EQ(pad_->Poll(), DI_OK);
    DIJOYSTATE s;
    EXPECT_EQ(pad_->GetDeviceState(sizeof s, &s), DI_OK);
    DWORD buttons = 0;
    for (int i = 0; i < 32; ++i) buttons |= (s.rgbButtons[i] & 0x80) ? 1u << i : 0;
    char text[64];
    snprintf(text, sizeof text, "%ld %ld %lx", s.lX, s.lY, buttons);
    return text;
  }

  GUID PadGuid() {
    std::vector<DIDEVICEINSTANCEA> pads = Enumerate(di_, DI8DEVCLASS_GAMECTRL);
    return pads.empty() ? GUID_NULL : pads[0].guidInstance;
  }

  HMODULE module_ = NULL;
  IDirectInput8A* di_ = NULL;
  IDirectInputDevice8A* pad_ = NULL;
};

TEST_F(VirtualPad, OffersTheKeyboardAndOneAttachedController) {
  std::vector<DIDEVICEINSTANCEA> all = Enumerate(di_, DI8DEVCLASS_ALL);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_TRUE(IsEqualGUID(all[0].guidInstance, GUID_SysKeyboard));
  EXPECT_EQ(GET_DIDEVICE_TYPE(all[1].dwDevType), (DWORD)DI8DEVTYPE_GAMEPAD);
  std::vector<DIDEVICEINSTANCEA> pads = Enumerate(di_, DI8DEVCLASS_GAMECTRL);
  ASSERT_EQ(pads.size(), 1u);
  EXPECT_STREQ(pads[0].tszInstanceName, "Lumaquill virtual controller");

  IDirectInputDevice8A* device = NULL;
  EXPECT_EQ(di_->CreateDevice(GUID_SysMouse, &device, NULL), DIERR_DEVICENOTREG);
  EXPECT_EQ(device, nullptr);
  ASSERT_EQ(di_->CreateDevice(pads[0].guidInstance, &device, NULL), DI_OK);
  DIDEVICEINSTANCEA info = {};
  info.dwSize = sizeof info;
  EXPECT_EQ(device->GetDeviceInfo(&info), DI_OK);
  EXPECT_TRUE(IsEqualGUID(info.guidInstance, pads[0].guidInstance));
  info.dwSize = 12;
  EXPECT_EQ(device->GetDeviceInfo(&info), DIERR_INVALIDPARAM);
  EXPECT_EQ(device->GetCapabilities(NULL), E_NOTIMPL);  // never called by the framework
  EXPECT_EQ(device->Release(), 0u);
}

TEST_F(VirtualPad, FollowsItsScriptOneLinePerPollThenStaysNeutral) {
  char log[MAX_PATH];
  GetFullPathNameA("pad_log.txt", sizeof log, log, NULL);
  DeleteFileA(log);
  SetEnvironmentVariableA("LQ_PAD_LOG", log);
  CreatePad("1000 0 0 3\n# up with button 0\n0 -1000 1 2\n\n700 300 80000000\nbad line\n");
  EXPECT_EQ(Frame(), "1000 0 0");
  EXPECT_EQ(Frame(), "1000 0 0");
  EXPECT_EQ(Frame(), "1000 0 0");
  EXPECT_EQ(Frame(), "0 -1000 1");
  EXPECT_EQ(Frame(), "0 -1000 1");
  EXPECT_EQ(Frame(), "500 0 80000000");  // Y inside the 40 % dead zone
  EXPECT_EQ(Frame(), "0 0 0");
  EXPECT_EQ(Frame(), "0 0 0");
  std::string text = Slurp(log);
  EXPECT_NE(text.find("script: 1 unreadable lines skipped\n"), std::string::npos) << text;
  EXPECT_NE(text.find("poll 1 1000 0 0\npoll 2 1000 0 0\npoll 3 1000 0 0\npoll 4 0 -1000 1\n"),
            std::string::npos) << text;
  // After the script, one neutral poll is logged and no more.
  EXPECT_NE(text.find("poll 6 500 0 80000000\npoll 7 0 0 0\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("poll 8"), std::string::npos) << text;

  // A new controller starts the script again.
  EXPECT_EQ(pad_->Release(), 0u);
  pad_ = NULL;
  CreatePad(nullptr);
  EXPECT_EQ(Frame(), "1000 0 0");
}

TEST_F(VirtualPad, WithoutAScriptItIsNeutralInTheDefaultRange) {
  CreatePad(nullptr, false);
  DIJOYSTATE s;
  EXPECT_EQ(pad_->GetDeviceState(sizeof s, &s), DI_OK);  // before any poll
  EXPECT_EQ(s.lX, 32767);
  EXPECT_EQ(s.lY, 32767);
  EXPECT_EQ(s.rgdwPOV[0], 0xFFFFFFFFu);
  EXPECT_EQ(Frame(), "32767 32767 0");
}

TEST_F(VirtualPad, RefusesWhatARealDeviceRefuses) {
  CreatePad(nullptr);
  DIJOYSTATE s;
  EXPECT_EQ(pad_->GetDeviceState(sizeof s - 4, &s), DIERR_INVALIDPARAM);
  EXPECT_EQ(pad_->SetDataFormat(&c_dfDIJoystick), DIERR_ACQUIRED);
  DIPROPDWORD zone = {{sizeof zone, sizeof(DIPROPHEADER), DIJOFS_Z, DIPH_BYOFFSET}, 0};
  EXPECT_EQ(pad_->SetProperty(DIPROP_DEADZONE, &zone.diph), DIERR_OBJECTNOTFOUND);
  zone.diph.dwSize = sizeof(DIPROPRANGE);
  EXPECT_EQ(pad_->SetProperty(DIPROP_DEADZONE, &zone.diph), DIERR_INVALIDPARAM);
  EXPECT_EQ(pad_->Unacquire(), DI_OK);
  EXPECT_EQ(pad_->Poll(), DIERR_NOTACQUIRED);
  EXPECT_EQ(pad_->GetDeviceState(sizeof s, &s), DIERR_NOTACQUIRED);
  EXPECT_EQ(pad_->SetDataFormat(&c_dfDIKeyboard), DIERR_INVALIDPARAM);
}

TEST_F(VirtualPad, ForegroundDevicesReadOnlyWhileTheirWindowIsInFront) {
  HWND mine = CreateWindowExA(0, "STATIC", "pad", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              100, NULL, NULL, NULL, NULL);
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 0,
                               200, 100, NULL, NULL, NULL, NULL);
  ASSERT_TRUE(mine && other);
  IDirectInputDevice8A* keyboard = NULL;
  ASSERT_EQ(di_->CreateDevice(GUID_SysKeyboard, &keyboard, NULL), DI_OK);
  ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
  ASSERT_EQ(keyboard->SetCooperativeLevel(mine, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DI_OK);
  SetForegroundWindow(other);
  EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);
  SetForegroundWindow(mine);
  ASSERT_EQ(GetForegroundWindow(), mine);
  EXPECT_EQ(keyboard->Acquire(), DI_OK);

  // The real key state, by scan code. Taking the focus resets the key state from
  // the display, so that is let happen first; the state is cached for 50 ms.
  Settle();
  BYTE keys[256];
  keybd_event('Z', 0x2C, 0, 0);
  Settle();
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DI_OK);
  EXPECT_EQ(keys[DIK_Z], 0x80);
  EXPECT_EQ(keys[DIK_X], 0);
  keybd_event('Z', 0x2C, KEYEVENTF_KEYUP, 0);
  Settle();
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DI_OK);
  EXPECT_EQ(keys[DIK_Z], 0);

  SetForegroundWindow(other);
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DIERR_INPUTLOST);
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DIERR_NOTACQUIRED);
  EXPECT_EQ(keyboard->Release(), 0u);
  DestroyWindow(other);
  DestroyWindow(mine);
}

}  // namespace
