// Device loss and reset over and over against the recording fakes, with fonts and
// textures held and frames drawn between them: 1000 cycles, or LQ_LOSS_CYCLES.
#include <stdlib.h>

#include <sstream>
#include <vector>

#include "app/app_state.h"
#include "app/application.h"
#include "gfx_fixture.h"
#include "util/crc32.h"

namespace {

class LossCycles : public GfxTest {};

// Objects of the fakes still held by someone, and the references on them.
std::pair<int, long> Live() {
  std::istringstream leaks(fake_d3d::Leaks());
  std::string item;
  std::pair<int, long> live(0, 0);
  while (leaks >> item) {
    ++live.first;
    live.second += atol(item.c_str() + item.rfind(':') + 1);
  }
  return live;
}

TEST_F(LossCycles, EveryResetRebuildsTheTargetsKeepsFontsTexturesAndFrameCountAndHoldsNoMore) {
  const char* env = getenv("LQ_LOSS_CYCLES");
  const int cycles = env && *env ? atoi(env) : 1000;
  Start();
  Gfx.fonts[0] = fake_d3d::NewFont();
  Gfx.fonts[31] = fake_d3d::NewFont();
  const char* names[] = {"a.bmp", "b.bmp"};
  const int entries[] = {0, 255};
  for (int i = 0; i < 2; ++i) {
    Gfx.textures[entries[i]] = {CalcCrc32(names[i], 5),
                                fake_d3d::NewTexture(16, 16, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED), 1};
  }
  std::pair<int, long> live;
  int made = 0;  // objects held before the first loss: every target, font and texture
  for (int cycle = 0; cycle < cycles && !HasFailure(); ++cycle) {
    SCOPED_TRACE(cycle);
    for (int frame = 0; frame < 2; ++frame) {
      ASSERT_EQ(BeginRender(0), 0);
      BindTexture(names[(cycle + frame) & 1]);
      DrawRect(0, 0, 8, 8, 0xFFFFFFFF);
      PushRect(8, 8, 16, 16, 0xFF00FF00);
      FlushRects();
      DrawString(31, 4, 4, 0xFFFFFFFF, "text");
      DrawEffectGaussianBlur(0xFFFF8722);
      EndRender();
      ASSERT_EQ(Flip(0xFFFFFFFF), 0);
    }
    const std::string oldFlip = N(Gfx.lpFlipTexture[0]);
    const DWORD flips = Gfx.FlipCount;
    if (cycle == 0) made = Live().first;
    fake_d3d::ClearLog();
    // Lost, then ready for a reset; every other cycle Present asks for it at once.
    fake_d3d::Script("Present", {cycle & 1 ? D3DERR_DEVICENOTRESET : D3DERR_DEVICELOST});
    fake_d3d::Script("TestCooperativeLevel", {D3DERR_DEVICENOTRESET});
    ASSERT_EQ(Flip(0xFFFFFFFF), 0);

    EXPECT_EQ(fake_d3d::CallCount("Reset"), 1);
    EXPECT_EQ(fake_d3d::CallCount("OnLostDevice"), 2);
    EXPECT_EQ(fake_d3d::CallCount("OnResetDevice"), 2);
    EXPECT_EQ(Gfx.FlipCount, flips);
    EXPECT_NE(N(Gfx.lpFlipTexture[0]), oldFlip);
    D3DSURFACE_DESC flip = {}, back = {};
    Gfx.lpFlipSurface[1]->GetDesc(&flip);
    Gfx.lpBackSurface->GetDesc(&back);
    EXPECT_EQ((std::vector<UINT>{flip.Width, flip.Height, back.Width, back.Height}),
              (std::vector<UINT>{800, 600, 800, 600}));
    if (cycle == 0) live = Live();
    EXPECT_EQ(Live(), live) << fake_d3d::Leaks();
    EXPECT_EQ(live.first, made);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_FALSE(TakeQuit());
  }
}

// Full screen and back twenty times at a logical size, one toggle asked while the
// device is lost: each is one reset, the back buffer follows the screen, the
// targets keep the logical size, nothing more is held and everything draws.
TEST_F(LossCycles, TogglesResetToTheScreenAndBackHoldingNoMore) {
  RECT outer = {0, 0, 800, 600};
  AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
  App.window = CreateWindowExA(0, "STATIC", "toggles", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               outer.right - outer.left, outer.bottom - outer.top, NULL, NULL,
                               NULL, NULL);
  ASSERT_NE(App.window, nullptr);
  App.width = 800, App.height = 600, App.windowed = 1;
  ASSERT_EQ(InitDirectXFor(App.window, 800, 600, 1), 0);
  Gfx.fonts[3] = fake_d3d::NewFont();
  ASSERT_EQ(SetLogicalSize(320, 240, SCALE_INTEGER), 0);
  const UINT screen[2] = {(UINT)GetSystemMetrics(SM_CXSCREEN), (UINT)GetSystemMetrics(SM_CYSCREEN)};
  std::pair<int, long> live;
  for (int toggle = 1; toggle <= 20 && !HasFailure(); ++toggle) {
    SCOPED_TRACE(toggle);
    const int full = toggle & 1;
    fake_d3d::ClearLog();
    if (toggle == 5) {  // lost: the toggle waits, then happens once it can
      fake_d3d::Script("TestCooperativeLevel", {D3DERR_DEVICELOST});
      ASSERT_EQ(SetFullscreen(full), 0);
      EXPECT_EQ(fake_d3d::CallCount("Reset"), 0);
      EXPECT_EQ(IsFullscreen(), !full);
      ApplyWantedFullscreen();
    } else {
      ASSERT_EQ(SetFullscreen(full), 0);
    }
    EXPECT_EQ(fake_d3d::CallCount("Reset"), 1);
    EXPECT_EQ(IsFullscreen(), full);
    RECT client;
    GetClientRect(App.window, &client);
    D3DSURFACE_DESC flip = {}, back = {};
    Gfx.lpFlipSurface[0]->GetDesc(&flip);
    Gfx.lpBackSurface->GetDesc(&back);
    const UINT w = full ? screen[0] : 800, h = full ? screen[1] : 600;
    EXPECT_EQ((std::vector<UINT>{back.Width, back.Height, (UINT)client.right, (UINT)client.bottom,
                                 flip.Width, flip.Height, GetScreenWidth(), GetScreenHeight()}),
              (std::vector<UINT>{w, h, w, h, 320, 240, 320, 240}));
    ASSERT_EQ(BeginRender(0), 0);
    EXPECT_EQ(DrawString(3, 4, 4, 0xFFFFFFFF, "text"), 0);
    EXPECT_EQ(DrawEffectGaussianBlur(0xFFFF8722), 0);
    EndRender();
    ASSERT_EQ(Flip(0xFFFFFFFF), 0);
    if (toggle == 2) live = Live();
    if (toggle >= 2 && !full) {
      EXPECT_EQ(Live(), live) << fake_d3d::Leaks();
    }
  }
  EXPECT_TRUE(boxes.Texts().empty());
  ReleaseDirectX();
  DestroyWindow(App.window);
  App = AppState{};
}

}  // namespace
