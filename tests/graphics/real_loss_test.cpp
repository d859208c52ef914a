// Recovery from a lost device on the real Direct3D 9, with a font and a texture
// loaded: after frames drawn the way the demo draws them (Flip leaves the flip
// texture bound on stage 0), and after a frame that was not flipped (its flip
// surface still the render target), the reset succeeds and drawing goes on.
#include "real_device.h"

#include <psapi.h>  // after windows.h

#include "app/application.h"
#include "tools/handle_count.h"

namespace {

TEST_F(RealDevice, AResetWithTheFlipTextureBoundOrItsSurfaceSetRebuildsClearsAndDrawsAgain) {
  ASSERT_TRUE(Gfx.fonts[9] != NULL || CreateFontSlot(9, "Tahoma", 16) == 0);
  ASSERT_EQ(LoadTexture(LQ_DEMO_BMP), 0);
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    for (int frame = 0; frame < 3; ++frame) {
      ASSERT_EQ(BeginRender(0), 0);
      BindTexture(LQ_DEMO_BMP);
      DrawRect(0, 0, 16, 16, 0xFFFFFFFF);
      DrawString(9, 20, 20, 0xFF00FF00, "HI");
      DrawEffectGaussianBlur(0xFFFF8722);
      SetDrawMode(DRAWMODE_LINEAR2);
      EndRender();
      if (round == 1 && frame == 2) break;  // lost before the flip
      ASSERT_EQ(Flip(0xFFFFFFFF), 0);
    }
    IDirect3DBaseTexture9* bound = NULL;
    IDirect3DSurface9* target = NULL;
    GetDevice()->GetTexture(0, &bound);
    GetDevice()->GetRenderTarget(0, &target);
    if (bound != NULL) bound->Release();
    if (target != NULL) target->Release();
    EXPECT_TRUE(round == 1 ? target == Gfx.lpFlipSurface[FlipIndex()]
                           : bound == Gfx.lpFlipTexture[FlipIndex()]);
    const DWORD flips = Gfx.FlipCount;
    ASSERT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), 0)
        << (boxes->Texts().empty() ? "" : boxes->Texts()[0]);
    EXPECT_EQ(Gfx.FlipCount, flips);
    for (int i = 0; i < 2; ++i) {
      const std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[i]);
      ASSERT_EQ(pixels.size(), (size_t)kSize * kSize);
      EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0u), kSize * kSize) << "target " << i;
    }

    // The next frame shows: a red square in the current target, then presented.
    ASSERT_EQ(BeginRender(0), 0);
    BindTexture(NULL);
    SetDrawMode(0);
    DrawRect(4, 4, 12, 12, 0xFFFF0000);
    EndRender();
    const std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[FlipIndex()]);
    ASSERT_EQ(pixels.size(), (size_t)kSize * kSize);
    EXPECT_EQ(pixels[8 * kSize + 8], 0xFF0000u);
    EXPECT_EQ(Flip(0xFFFFFFFF), 0);
  }
  ReleaseTexture(LQ_DEMO_BMP);
}

// Twenty toggles to full screen and back at a logical size on the real device:
// the window covers the screen and comes back, handles and memory stay flat,
// and the texture and the text still draw into the logical target.
TEST_F(RealDevice, TwentyTogglesKeepHandlesAndMemoryFlatAndEveryResourceDrawing) {
  ASSERT_TRUE(Gfx.fonts[9] != NULL || CreateFontSlot(9, "Tahoma", 16) == 0);
  ASSERT_EQ(LoadTexture(LQ_DEMO_BMP), 0);
  ASSERT_EQ(SetLogicalSize(48, 32, SCALE_INTEGER), 0);
  long handles = 0;
  SIZE_T memory = 0;
  RECT framed;  // the platform keeps a framed window wider than 64
  GetClientRect(window, &framed);
  for (int toggle = 1; toggle <= 20 && !HasFailure(); ++toggle) {
    SCOPED_TRACE(toggle);
    const int full = toggle & 1;
    EXPECT_EQ(SetFullscreen(full), 0);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, full ? GetSystemMetrics(SM_CXSCREEN) : framed.right);
    EXPECT_EQ(BeginRender(0), 0);
    SetDrawMode(DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE);
    BindTexture(LQ_DEMO_BMP);
    DrawRect(0, 0, 16, 16, 0xFFFFFFFF);
    DrawString(9, 18, 0, 0xFF00FF00, "HI");
    EndRender();
    const std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[FlipIndex()]);
    if (pixels.size() != 48u * 32u) break;  // failed above
    EXPECT_GE(Channel(pixels[8 * 48 + 8], 16), 200);  // the disc's middle
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](DWORD p) {  // the text
                return Channel(p, 8) >= 128 && Channel(p, 16) < 64;
              }), 5);
    EXPECT_EQ(Flip(0xFFFFFFFF), 0);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&counters, sizeof counters);
    if (toggle == 4) {
      handles = CountProcessHandles(GetCurrentProcess(), GetCurrentProcessId());
      memory = counters.PrivateUsage;
    } else if (toggle == 20) {
      EXPECT_EQ(CountProcessHandles(GetCurrentProcess(), GetCurrentProcessId()), handles);
      EXPECT_LT(counters.PrivateUsage, memory + 4 * 1024 * 1024) << memory;
    }
  }
  // Back as the other tests want it, whatever failed.
  EXPECT_EQ(SetFullscreen(0), 0);
  EXPECT_EQ(SetLogicalSize(0, 0, 0), 0);
  ReleaseTexture(LQ_DEMO_BMP);
}

}  // namespace
