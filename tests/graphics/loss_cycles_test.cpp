// Device loss and reset over and over against the recording fakes, with fonts and
// textures held and frames drawn between them: 1000 cycles, or LQ_LOSS_CYCLES.
#include <stdlib.h>

#include <sstream>
#include <vector>

#include "app/app_state.h"
#include "app/application.h"
#include "gfx_fixture.h"
#include "graphics/internal.h"
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

// A toggle asked while the device is lost waits, and is made once it can be; a
// refused one changes nothing.
TEST_F(LossCycles, AToggleWhileLostWaitsForTheRestoreARefusedOneChangesNothing) {
  App = AppState{};
  App.window = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 90, 90, 0, 0, 0, 0);
  App.windowed = 1;
  ASSERT_EQ(InitDirectXFor(App.window, 800, 600, 1), 0);
  fake_d3d::Script("TestCooperativeLevel", {D3DERR_DEVICELOST});
  EXPECT_EQ(SetFullscreen(1) + IsFullscreen() + fake_d3d::CallCount("Reset"), 0);
  ApplyWantedFullscreen();
  EXPECT_EQ(IsFullscreen() + fake_d3d::CallCount("Reset"), 2);
  EXPECT_EQ(Gfx.PresentParam.BackBufferWidth, (UINT)GetSystemMetrics(SM_CXSCREEN));
  // A refused reset: window and device as they were, targets made, no message.
  fake_d3d::Script("Reset", {D3DERR_INVALIDCALL});
  EXPECT_EQ(SetFullscreen(0), D3DERR_INVALIDCALL);
  RECT client;
  GetClientRect(App.window, &client);
  EXPECT_EQ((std::vector<long>{IsFullscreen(), client.right, (long)Gfx.PresentParam.BackBufferWidth,
                               Gfx.lpFlipTexture[1] != NULL}),
            (std::vector<long>{1, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CXSCREEN), 1}));
  EXPECT_TRUE(boxes.Texts().empty());
  ReleaseDirectX();
  DestroyWindow(App.window);
}

}  // namespace
