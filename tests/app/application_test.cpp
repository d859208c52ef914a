// The window, its procedure and the message pump, against the real window system.
#include <gtest/gtest.h>

#include <string>

#include "app/application.h"
#include "app/internal.h"
#include "fakes/fake_d3d9.h"
#include "fakes/fake_dinput.h"
#include "input/input.h"
#include "sound/sound.h"
#include "tools/message_box_reader.h"

namespace {

const char* kName = "Lumaquill";

class Window : public ::testing::Test {
 protected:
  void Start(int windowed) {
    ASSERT_EQ(InitApplication(kName, 800, 600, windowed), 0);
    DrainQueue();
  }
  void TearDown() override {
    ReleaseApplication();
    DrainQueue();
  }
};

TEST_F(Window, ClassHasTheRequiredFields) {
  Start(1);
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExA(GetInstanceHandle(), kName, &wc));
  EXPECT_EQ(wc.style, 0x43u);  // own DC, redraw on resize, no double clicks
  EXPECT_EQ(wc.lpfnWndProc, WindowProc);
  EXPECT_EQ(wc.hCursor, LoadCursorA(NULL, IDC_ARROW));
  EXPECT_EQ(wc.hbrBackground, (HBRUSH)GetStockObject(BLACK_BRUSH));
  EXPECT_EQ(wc.lpszMenuName, nullptr);
  EXPECT_EQ(GetInstanceHandle(), GetModuleHandleA(NULL));
}

TEST_F(Window, GeometryFollowsTheWindowedFlagAndTheClientSize) {
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const DWORD kFramed = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
  struct Case { int windowed, width, height; DWORD style, exStyle; };
  const Case cases[] = {{0, 800, 600, WS_POPUP, WS_EX_APPWINDOW},
                        {1, 800, 600, WS_OVERLAPPEDWINDOW, kFramed},
                        {2, 800, 600, WS_OVERLAPPEDWINDOW, kFramed},  // kept as 2
                        {1, 320, 240, WS_OVERLAPPEDWINDOW, kFramed},
                        {0, sw + 200, sh + 100, WS_POPUP, WS_EX_APPWINDOW}};  // overhangs
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.windowed) + " " + std::to_string(c.width));
    ASSERT_EQ(InitApplication(kName, c.width, c.height, c.windowed), 0);
    HWND window = GetWindowHandle();
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS), c.style);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & c.exStyle, c.exStyle);
    EXPECT_EQ(IsWindowed(), c.windowed);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT client, outer;
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    EXPECT_EQ(client.right - client.left, c.width);  // the client area is exact
    EXPECT_EQ(client.bottom - client.top, c.height);
    EXPECT_EQ(GetScreenWidth(), (DWORD)c.width);
    EXPECT_EQ(GetScreenHeight(), (DWORD)c.height);
    const fake_d3d::CreateDeviceCall& device = fake_d3d::CreateDeviceCalls().back();
    EXPECT_EQ(device.window, window);  // the device is made for this window, at its size
    EXPECT_EQ(device.params.BackBufferWidth, (UINT)c.width);
    EXPECT_EQ(device.params.BackBufferHeight, (UINT)c.height);
    EXPECT_EQ(device.params.Windowed, c.windowed);
    // Centred by the client size, in signed arithmetic.
    EXPECT_EQ(outer.left, (sw - c.width) / 2);
    EXPECT_EQ(outer.top, (sh - c.height) / 2);
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, kName);
    ReleaseApplication();
  }
}

TEST_F(Window, CloseAndEscapePostOneQuitAndKeepTheWindow) {
  Start(1);
  const UINT requests[][2] = {{WM_CLOSE, 0}, {WM_KEYDOWN, VK_ESCAPE}, {WM_DESTROY, 0}};
  for (const auto& r : requests) {
    SCOPED_TRACE(r[0]);
    SendMessageA(GetWindowHandle(), r[0], r[1], 0);
    EXPECT_TRUE(IsWindow(GetWindowHandle()));
    EXPECT_EQ(ProcessMessage(), 0);
    EXPECT_EQ(ProcessMessage(), 1);  // one quit, not two
  }
  SendMessageA(GetWindowHandle(), WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(ProcessMessage(), 1);
}

TEST_F(Window, PowerSavingCommandsAreSwallowedOthersPassOn) {
  Start(1);
  HWND w = GetWindowHandle();
  EXPECT_EQ(WindowProc(w, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
  EXPECT_EQ(WindowProc(w, WM_SYSCOMMAND, SC_MONITORPOWER | 0x2, 2), 0);
  EXPECT_EQ(ProcessMessage(), 1);
  // Any other command reaches the default procedure: SC_CLOSE turns into WM_CLOSE.
  WindowProc(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(ProcessMessage(), 0);
}

TEST_F(Window, MouseButtonsAreRecorded) {
  Start(1);
  HWND w = GetWindowHandle();
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(w, WM_MBUTTONDOWN, MK_MBUTTON, 0);
  EXPECT_EQ(IsMouseButtonDown(MOUSE_LEFT), 1);
  EXPECT_EQ(IsMouseButtonDown(MOUSE_RIGHT), 0);
  EXPECT_EQ(IsMouseButtonDown(MOUSE_MIDDLE), 1);
  SendMessageA(w, WM_LBUTTONUP, 0, 0);
  SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, 0);
  EXPECT_EQ(IsMouseButtonDown(MOUSE_LEFT), 0);
  EXPECT_EQ(IsMouseButtonDown(MOUSE_RIGHT), 1);
  EXPECT_EQ(IsMouseButtonDown(3), 0);
  EXPECT_EQ(IsMouseButtonDown(-1), 0);
  SendMessageA(w, WM_RBUTTONUP, 0, 0);
  SendMessageA(w, WM_MBUTTONUP, 0, 0);
}

TEST_F(Window, MousePositionIsInClientCoordinates) {
  EXPECT_EQ(GetMousePos().x, 0);  // no window yet
  Start(1);
  POINT origin = {0, 0};
  ClientToScreen(GetWindowHandle(), &origin);
  ASSERT_TRUE(SetCursorPos(origin.x - 7, origin.y - 9));
  POINT p = GetMousePos();
  EXPECT_EQ(p.x, -7);
  EXPECT_EQ(p.y, -9);
}

TEST_F(Window, MessagesBehindQuitStayQueued) {
  Start(1);
  PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 5, 0);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 7, 0, 0);
  EXPECT_EQ(ProcessMessage(), 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, (UINT)WM_USER + 7);
}

TEST_F(Window, InputIsPolledOnEveryPumpIncludingTheLast) {
  Start(1);
  size_t before = FakeCalls("keyboard.GetDeviceState").size();
  EXPECT_EQ(ProcessMessage(), 1);
  SendMessageA(GetWindowHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(FakeCalls("keyboard.GetDeviceState").size(), before + 2);
}

TEST_F(Window, NoWindowMeansTheQueueIsNotTouched) {
  ASSERT_EQ(GetWindowHandle(), nullptr);
  PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
  EXPECT_EQ(ProcessMessage(), 1);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, (UINT)WM_QUIT);
}

TEST_F(Window, ReleaseTwiceAndAfterReleaseEverythingIsGone) {
  Start(1);
  HWND w = GetWindowHandle();
  EXPECT_EQ(ReleaseApplication(), 0);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(GetWindowHandle(), nullptr);
  EXPECT_EQ(GetInstanceHandle(), nullptr);
  EXPECT_EQ(GetScreenWidth(), 800u);  // sizes keep their last values
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(NULL), kName, &wc));
  EXPECT_EQ(ReleaseApplication(), 0);
  // The class can be registered again: a second start works.
  Start(1);
}

TEST_F(Window, LongNamesAreTruncatedNotOverflowed) {
  std::string name(600, 'n');
  ASSERT_EQ(InitApplication(name.c_str(), 320, 240, 1), 0);
  char title[1024] = "";
  GetWindowTextA(GetWindowHandle(), title, sizeof title);
  EXPECT_EQ(std::string(title), name.substr(0, 256));
  GetClassNameA(GetWindowHandle(), title, sizeof title);
  EXPECT_EQ(std::string(title), name.substr(0, 255));  // the platform's class-name limit
}

TEST_F(Window, StartOptionsGoOnWithoutAControllerAndRefuseSlotsWithoutSound) {
  MessageBoxReader reader;
  AttachFakeControllers(0), SetStartOptions(START_WITHOUT_CONTROLLER);
  Start(1);  // sound: the recorder's device
  EXPECT_TRUE(reader.Boxes().empty() && !IsControllerPresent() && IsSoundPresent());
  ReleaseApplication();  // no sound device now, and no start: the options change nothing
  SetStartOptions(START_WITHOUT_CONTROLLER | START_WITHOUT_SOUND);
  const HRESULT want[] = {E_FAIL, E_FAIL, E_FAIL, 0, 1};  // an empty slot releases to 1
  const HRESULT got[] = {LoadWave(0, "x"), PlayWave(0), StopWave(0), SetWaveLoop(0, 1),
                         ReleaseWave(0)};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(got[i], want[i]) << i;
  SetStartOptions(0), AttachFakeControllers(1);
}

TEST(WindowFailure, ClassAndWindowFailuresReportAndRelease) {
  MessageBoxReader reader;
  // A class of that name already registered makes RegisterClassExA fail.
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.lpszClassName = "Taken";
  ASSERT_NE(RegisterClassExA(&wc), 0);
  EXPECT_EQ(InitApplication("Taken", 800, 600, 1), E_FAIL);
  EXPECT_EQ(GetInstanceHandle(), nullptr);  // released
  UnregisterClassA("Taken", GetModuleHandleA(NULL));

  reader.RefuseWindowClass(kName);
  EXPECT_EQ(InitApplication(kName, 800, 600, 1), E_FAIL);
  EXPECT_EQ(GetWindowHandle(), nullptr);
  EXPECT_EQ(GetInstanceHandle(), nullptr);
  reader.RefuseWindowClass(nullptr);

  ASSERT_EQ(reader.Boxes().size(), 2u);
  EXPECT_EQ(reader.Boxes()[0].text, "RegisterClassEx : Failed\n");
  EXPECT_EQ(reader.Boxes()[1].text, "CreateWindowEx : Failed\n");
  for (const CapturedBox& box : reader.Boxes()) EXPECT_EQ(box.caption, "Error");

  // The failed start unregistered its class, so a normal start works afterwards.
  EXPECT_EQ(InitApplication(kName, 800, 600, 1), 0);
  ReleaseApplication();
  DrainQueue();
}

}  // namespace
