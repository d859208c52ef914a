// Input against the DirectInput fakes: start-up calls and messages, per-frame
// polling, queries and release.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/internal.h"
#include "fakes/fake_dinput.h"
#include "input/input.h"
#include "input/internal.h"
#include "tools/failure_log.h"
#include "tools/message_box_reader.h"

namespace {

typedef std::vector<std::string> Strings;
const char* kName = "Lumaquill";
const char* kFailed = "InitDirectInput : Failed\n";

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ReleaseInput();
    ResetFakeDInput();
  }
  void TearDown() override {
    ReleaseApplication();
    DrainQueue();
    EXPECT_EQ(FakeDInput().liveObjects, 0);  // every fake object released
  }
  // Starts the application; the failures it reports are kept in reader.
  HRESULT Start() {
    reader.Clear();
    return InitApplication(kName, 320, 240, 1);
  }
  void ExpectBoxes(const Strings& texts) {
    EXPECT_EQ(reader.Texts(), texts);
  }
  FailureLog reader;
};

Strings CreationCalls() {
  Strings out;
  for (const std::string& c : FakeDInput().calls) {
    if (c.rfind("Enumerate", 0) == 0 || c.rfind("CreateDevice", 0) == 0) out.push_back(c);
  }
  return out;
}

TEST_F(InputTest, StartCreatesBothDevicesWithTheExactArguments) {
  ASSERT_EQ(Start(), 0);
  ExpectBoxes({});
  const FakeDInputWorld& w = FakeDInput();
  EXPECT_EQ(w.liveObjects, 3);  // DirectInput, keyboard, joystick
  EXPECT_EQ(w.acquired, (std::map<std::string, bool>{{"joystick", true}, {"keyboard", true}}));
  EXPECT_EQ(w.createInstance, GetModuleHandleA(NULL));
  EXPECT_EQ(w.createVersion, 0x0800u);
  EXPECT_TRUE(IsEqualIID(w.createIid, IID_IDirectInput8A));
  EXPECT_EQ(w.createOuter, nullptr);
  EXPECT_EQ(w.enumClass, (DWORD)DI8DEVCLASS_GAMECTRL);
  EXPECT_EQ(w.enumFlags, (DWORD)DIEDFL_ATTACHEDONLY);
  EXPECT_EQ(w.dataFormat.at("keyboard"), &c_dfDIKeyboard);
  EXPECT_EQ(w.dataFormat.at("joystick"), &c_dfDIJoystick);
  for (const char* device : {"keyboard", "joystick"}) {
    SCOPED_TRACE(device);
    EXPECT_EQ(w.cooperativeWindow.at(device), GetWindowHandle());
    EXPECT_EQ(w.cooperativeFlags.at(device), 6u);  // non-exclusive, foreground
    EXPECT_EQ(w.deviceInfoSize.at(device), 580u);
  }

  // Range and dead zone of X and Y, addressed by offset.
  ASSERT_EQ(w.properties.size(), 4u);
  for (const auto& entry : w.properties) {
    const FakePropertyCall& p = entry.second;
    const bool range = p.property == 4;  // else DIPROP_DEADZONE (5)
    SCOPED_TRACE(std::to_string(p.property) + " " + std::to_string(p.header.dwObj));
    EXPECT_TRUE(p.property == 4 || p.property == 5);
    EXPECT_TRUE(p.header.dwObj == (DWORD)DIJOFS_X || p.header.dwObj == (DWORD)DIJOFS_Y);
    EXPECT_EQ(p.header.dwSize, range ? 24u : 20u);
    EXPECT_EQ(p.header.dwHeaderSize, 16u);
    EXPECT_EQ(p.header.dwHow, (DWORD)DIPH_BYOFFSET);
    if (range) {
      EXPECT_EQ(p.lMin, -1000);
      EXPECT_EQ(p.lMax, 1000);
    } else {
      EXPECT_EQ(p.dwData, 4000u);
    }
  }
}

TEST_F(InputTest, WithoutACreatableControllerTheStartFails) {
  // None attached, or every attached one refuses: the same two messages, and
  // CreateJoystick adds none of its own.
  for (int count : {0, 2}) {
    SCOPED_TRACE(count);
    ResetFakeDInput();
    AttachFakeControllers(count, {0, 1});
    EXPECT_EQ(Start(), E_FAIL);
    ExpectBoxes({"InitInput : CreateJoystick\n", kFailed});
    EXPECT_EQ(GetWindowHandle(), nullptr);  // the application was shut down
    EXPECT_EQ(GetInstanceHandle(), nullptr);
    EXPECT_EQ(FakeDInput().liveObjects, 0);
    EXPECT_EQ(FakeCalls("keyboard.U"), Strings{"keyboard.Unacquire"});
  }
}

TEST_F(InputTest, FirstControllerRefusingTheNextBecomesTheJoystick) {
  AttachFakeControllers(3, {0});
  ASSERT_EQ(Start(), 0);
  ExpectBoxes({});
  // The third is never offered: enumeration stops at the first created one.
  EXPECT_EQ(CreationCalls(), (Strings{"CreateDevice keyboard", "Enumerate pad0",
                                      "CreateDevice pad0", "Enumerate pad1",
                                      "CreateDevice pad1"}));
  EXPECT_EQ(FakeCalls("joystick.Acquire").size(), 1u);
}

TEST_F(InputTest, EachFailingStepShowsItsMessageAndReturnsItsStatus) {
  const char* kKeyboard = "InitInput : CreateKeyboard\n";
  const char* kJoystick = "InitInput : CreateJoystick\n";
  struct Case {
    const char* call;
    int nth;  // which call of that name fails (1 = the first)
    HRESULT status;
    const char* message;
    const char* initMessage;
    const char* notReached;
  };
  const Case cases[] = {
      {"CreateDevice keyboard", 1, DIERR_NOINTERFACE, "CreateKeyboard : CreateDevice\n",
       kKeyboard, "keyboard.SetDataFormat"},
      {"keyboard.SetDataFormat", 1, DIERR_ACQUIRED, "CreateKeyboard : SetDataFormat\n",
       kKeyboard, "keyboard.SetCooperativeLevel"},
      {"keyboard.SetCooperativeLevel", 1, E_HANDLE, "CreateKeyboard : SetCooperativeLevel\n",
       kKeyboard, "keyboard.GetDeviceInfo"},
      {"keyboard.GetDeviceInfo", 1, E_POINTER, "CreateKeyboard : GetDeviceInfo\n", kKeyboard,
       "keyboard.Acquire"},
      {"EnumDevices", 1, DIERR_INVALIDPARAM, "CreateJoystick : EnumDevices\n", kJoystick,
       "CreateDevice pad0"},
      {"joystick.SetDataFormat", 1, DIERR_ACQUIRED, "CreateJoystick : SetDataFormat\n", kJoystick,
       "joystick.SetCooperativeLevel"},
      {"joystick.SetCooperativeLevel", 1, E_HANDLE, "CreateJoystick : SetCooperativeLevel\n",
       kJoystick, "joystick.SetProperty"},
      {"joystick.SetProperty", 1, DIERR_OBJECTNOTFOUND,
       "CreateJoystick : SetProperty DIPROP_RANGE DIJOFS_X\n", kJoystick, "joystick.GetDeviceInfo"},
      {"joystick.SetProperty", 2, DIERR_OBJECTNOTFOUND,
       "CreateJoystick : SetProperty DIPROP_RANGE DIJOFS_Y\n", kJoystick, "joystick.GetDeviceInfo"},
      {"joystick.SetProperty", 3, DIERR_UNSUPPORTED, "CreateJoystick : SetProperty DIJOFS_X\n",
       kJoystick, "joystick.GetDeviceInfo"},
      {"joystick.SetProperty", 4, DIERR_UNSUPPORTED, "CreateJoystick : SetProperty DIJOFS_Y\n",
       kJoystick, "joystick.GetDeviceInfo"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.call) + " #" + std::to_string(c.nth));
    ResetFakeDInput();
    std::vector<HRESULT> results(c.nth - 1, DI_OK);
    results.push_back(c.status);
    ScriptFakeCall(c.call, results);
    EXPECT_EQ(Start(), c.status);
    ExpectBoxes({c.message, c.initMessage, kFailed});
    EXPECT_EQ(FakeCalls(c.notReached), Strings{});  // returned at once
    EXPECT_EQ(FakeCalls(c.call).size(), (size_t)c.nth);
    EXPECT_EQ(GetWindowHandle(), nullptr);
    EXPECT_EQ(FakeDInput().liveObjects, 0);  // what was created was released
  }
}

TEST_F(InputTest, PositiveStatusesFailTheStartOnlyWhereInitInputSeesThem) {
  // Inside the Create functions only negative statuses stop; a positive one that
  // reaches InitInput (its last call) fails the start without a message of its own.
  ScriptFakeCall("keyboard.GetDeviceInfo", {S_FALSE});
  EXPECT_EQ(Start(), S_FALSE);
  ExpectBoxes({"InitInput : CreateKeyboard\n", kFailed});
  EXPECT_EQ(FakeCalls("keyboard.Acquire").size(), 1u);

  ResetFakeDInput();
  ScriptFakeCall("joystick.SetProperty", {DI_OK, DI_OK, DI_OK, DI_PROPNOEFFECT});
  EXPECT_EQ(Start(), DI_PROPNOEFFECT);
  ExpectBoxes({"InitInput : CreateJoystick\n", kFailed});

  ResetFakeDInput();
  ScriptFakeCall("joystick.SetDataFormat", {S_FALSE});
  ScriptFakeCall("joystick.SetProperty", {DI_PROPNOEFFECT});
  EXPECT_EQ(Start(), 0);
  ExpectBoxes({});
  ReleaseApplication();

  // A positive status from DirectInput8Create hands back an object: the shut-down
  // releases it (the fixture checks nothing is left).
  ResetFakeDInput();
  ScriptFakeCall("DirectInput8Create", {S_FALSE});
  EXPECT_EQ(Start(), S_FALSE);
  ExpectBoxes({"InitInput : DirectInput8Create\n", kFailed});
}

TEST_F(InputTest, FailedDirectInput8CreateShutsDownTwiceHarmlessly) {
  FailFakeCall("DirectInput8Create", DIERR_OLDDIRECTINPUTVERSION);
  EXPECT_EQ(Start(), DIERR_OLDDIRECTINPUTVERSION);
  ExpectBoxes({"InitInput : DirectInput8Create\n", kFailed});
  EXPECT_EQ(FakeDInput().calls, Strings{"DirectInput8Create"});
  EXPECT_EQ(GetWindowHandle(), nullptr);
  EXPECT_EQ(GetInstanceHandle(), nullptr);
  // A later start works normally.
  ResetFakeDInput();
  EXPECT_EQ(Start(), 0);
  // Called on its own, InitInput undoes the whole start just the same.
  ReleaseInput();
  FailFakeCall("DirectInput8Create", DIERR_OLDDIRECTINPUTVERSION);
  EXPECT_EQ(InitInput(), DIERR_OLDDIRECTINPUTVERSION);
  EXPECT_EQ(GetWindowHandle(), nullptr);
}

TEST_F(InputTest, PollingServesTheDevicesToTheQueries) {
  ASSERT_EQ(Start(), 0);
  FakeDInputWorld& w = FakeDInput();
  w.keyboardState[0x2C] = 0x80;      // Z
  w.keyboardState[0xCD] = 0x80;      // cursor right
  w.joystickState.lX = -1000;
  w.joystickState.rgbButtons[0] = 0x80;
  w.joystickState.rgbButtons[3] = 0x81;
  w.joystickState.rgbButtons[31] = 0x80;
  EXPECT_EQ(GetPadBits(), 0u);  // nothing before the first poll
  EXPECT_EQ(UpdateInput(), DI_OK);
  EXPECT_EQ(w.stateSize.at("keyboard"), 256u);
  EXPECT_EQ(w.stateSize.at("joystick"), 80u);

  EXPECT_EQ(GetKeyboardBits(), (DWORD)(PAD_BUTTON0 | PAD_RIGHT));
  EXPECT_EQ(GetJoystickBits(), (DWORD)(PAD_LEFT | PAD_BUTTON0 | PAD_BUTTON3));
  EXPECT_EQ(GetPadBits(), (DWORD)(PAD_LEFT | PAD_RIGHT | PAD_BUTTON0 | PAD_BUTTON3));
  EXPECT_EQ(IsKeyDown(0x2C), 1);
  EXPECT_EQ(IsKeyDown(0x2D), 0);
  EXPECT_EQ(IsKeyDown(256), 0);
  EXPECT_EQ(IsJoyLeft(), 1);
  EXPECT_EQ(IsJoyRight() + IsJoyUp() + IsJoyDown(), 0);
  EXPECT_EQ(IsJoyButtonDown(3), 1);
  EXPECT_EQ(IsJoyButtonDown(31), 1);
  EXPECT_EQ(IsJoyButtonDown(32), 0);  // past the 32 buttons: no read beyond them
  EXPECT_EQ(IsJoyButtonDown(0xFFFFFFFFu), 0);

  // A poll of DI_NOEFFECT still reads; the result is the read's status.
  ScriptFakeCall("joystick.Poll", {DI_NOEFFECT});
  w.joystickState.lX = 0;
  w.joystickState.lY = 1;
  EXPECT_EQ(UpdateInput(), DI_OK);
  EXPECT_EQ(IsJoyDown(), 1);
  EXPECT_EQ(IsJoyLeft(), 0);
}

TEST_F(InputTest, FailedPollKeepsTheJoystickFailedKeyboardReadReleasesEveryKey) {
  ASSERT_EQ(Start(), 0);
  FakeDInputWorld& w = FakeDInput();
  w.keyboardState[0xC8] = 0x80;  // cursor up
  w.joystickState.lY = -700;
  w.joystickState.rgbButtons[2] = 0x80;
  ASSERT_EQ(UpdateInput(), DI_OK);
  ASSERT_EQ(GetPadBits(), (DWORD)(PAD_UP | PAD_BUTTON2));

  // The window left the foreground: both reads fail from now on.
  w.calls.clear();
  w.joystickState = DIJOYSTATE();
  FailFakeCall("keyboard.GetDeviceState", DIERR_NOTACQUIRED);
  FailFakeCall("joystick.Poll", DIERR_INPUTLOST);
  EXPECT_EQ(UpdateInput(), DIERR_INPUTLOST);  // the poll's status
  EXPECT_EQ(GetKeyboardBits(), 0u);
  EXPECT_EQ(IsKeyDown(0xC8), 0);
  EXPECT_EQ(GetJoystickBits(), (DWORD)(PAD_UP | PAD_BUTTON2));  // last good read
  EXPECT_EQ(w.calls, (Strings{"keyboard.GetDeviceState", "keyboard.Acquire", "joystick.Poll",
                              "joystick.Acquire"}));

  // The poll works again but the read fails: re-acquired, the read's status.
  w.calls.clear();
  ScriptFakeCall("joystick.Poll", {});
  FailFakeCall("joystick.GetDeviceState", DIERR_NOTACQUIRED);
  EXPECT_EQ(UpdateInput(), DIERR_NOTACQUIRED);
  EXPECT_EQ(FakeCalls("joystick."), (Strings{"joystick.Poll", "joystick.GetDeviceState",
                                             "joystick.Acquire"}));
  EXPECT_EQ(IsJoyUp(), 1);

  // Back in the foreground: the new values arrive.
  ScriptFakeCall("keyboard.GetDeviceState", {});
  ScriptFakeCall("joystick.GetDeviceState", {});
  EXPECT_EQ(UpdateInput(), DI_OK);
  EXPECT_EQ(GetPadBits(), (DWORD)PAD_UP);  // from the keyboard alone now
}

TEST_F(InputTest, KeyboardAloneReportsEFailOrTheAcquireStatus) {
  // InitInput on its own leaves the keyboard in place when no controller exists.
  AttachFakeControllers(0);
  EXPECT_EQ(InitInput(), E_FAIL);
  EXPECT_EQ(reader.Texts(), Strings{"InitInput : CreateJoystick\n"});
  FakeDInput().keyboardState[0x1E] = 0x80;  // A
  EXPECT_EQ(UpdateInput(), E_FAIL);  // a good read leaves the result as it started
  EXPECT_EQ(GetPadBits(), (DWORD)PAD_BUTTON3);
  FailFakeCall("keyboard.GetDeviceState", DIERR_INPUTLOST);
  ScriptFakeCall("keyboard.Acquire", {DIERR_OTHERAPPHASPRIO});
  EXPECT_EQ(UpdateInput(), DIERR_OTHERAPPHASPRIO);
  EXPECT_EQ(GetPadBits(), 0u);
}

TEST_F(InputTest, ReleaseUnacquiresReleasesAndZeroesEverything) {
  EXPECT_EQ(UpdateInput(), E_FAIL);  // before InitInput: nothing touched
  EXPECT_EQ(FakeDInput().calls, Strings{});
  ReleaseInput();

  ASSERT_EQ(Start(), 0);
  FakeDInputWorld& w = FakeDInput();
  w.keyboardState[0x12] = 0x80;
  w.joystickState.lX = 5;
  w.joystickState.rgbButtons[8] = 0x80;
  UpdateInput();
  ASSERT_NE(GetPadBits(), 0u);
  ReleaseInput();
  EXPECT_EQ(w.liveObjects, 0);
  EXPECT_EQ(w.releasedAcquired, 0);  // each device unacquired before its release
  w.calls.clear();
  ReleaseInput();  // twice: nothing more happens
  EXPECT_EQ(w.calls.size(), 0u);
  EXPECT_EQ(UpdateInput(), E_FAIL);
  EXPECT_EQ(GetPadBits(), 0u);
  EXPECT_EQ(IsKeyDown(0x12), 0);
  EXPECT_EQ(IsJoyRight() + IsJoyButtonDown(8), 0);
}

}  // namespace
