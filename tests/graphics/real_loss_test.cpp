// Recovery from a lost device on the real Direct3D 9, with a font and a texture
// loaded: after frames drawn the way the demo draws them (Flip leaves the flip
// texture bound on stage 0), and after a frame that was not flipped (its flip
// surface still the render target), the reset succeeds and drawing goes on.
#include "real_device.h"

#include <psapi.h>  // after windows.h

#include "app/application.h"
#include "graphics/internal.h"
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

// Twenty toggles to full screen and back at a logical size: the window covers the
// screen and comes back, handles and memory stay flat, texture and text draw.
TEST_F(RealDevice, TwentyTogglesKeepHandlesAndMemoryFlatAndEveryResourceDrawing) {
  ASSERT_TRUE(Gfx.fonts[9] != NULL || CreateFontSlot(9, "Tahoma", 16) == 0);
  ASSERT_EQ(LoadTexture(LQ_DEMO_BMP) + SetLogicalSize(48, 32, SCALE_INTEGER), 0);
  RECT framed, client;  // the platform keeps a framed window wider than 64
  GetClientRect(window, &framed);
  long handles = 0;
  PROCESS_MEMORY_COUNTERS_EX memory[2] = {};
  for (int toggle = 1; toggle <= 20 && !HasFailure(); ++toggle) {
    EXPECT_EQ(SetFullscreen(toggle & 1) + BeginRender(0), 0) << toggle;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, toggle & 1 ? GetSystemMetrics(SM_CXSCREEN) : framed.right);
    SetDrawMode(DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE);
    BindTexture(LQ_DEMO_BMP);
    DrawRect(0, 0, 16, 16, 0xFFFFFFFF);
    DrawString(9, 18, 0, 0xFF00FF00, "HI");
    EndRender();
    std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[FlipIndex()]);
    pixels.resize(48 * 32);
    EXPECT_GE(Channel(pixels[8 * 48 + 8], 16), 200) << toggle;  // the disc's middle
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(),  // the green text
                            [](DWORD p) { return Channel(p, 8) >= 128 && Channel(p, 16) < 64; }),
              5) << toggle;
    EXPECT_EQ(Flip(0xFFFFFFFF), 0);
    if (toggle == 4) handles = CountProcessHandles(GetCurrentProcess(), GetCurrentProcessId());
    PROCESS_MEMORY_COUNTERS* counters = (PROCESS_MEMORY_COUNTERS*)&memory[toggle / 16];
    if (toggle % 16 == 4) GetProcessMemoryInfo(GetCurrentProcess(), counters, sizeof memory[0]);
  }
  EXPECT_EQ(CountProcessHandles(GetCurrentProcess(), GetCurrentProcessId()), handles);
  EXPECT_LT(memory[1].PrivateUsage, memory[0].PrivateUsage + 4 * 1024 * 1024);
  EXPECT_EQ(SetFullscreen(0) + SetLogicalSize(0, 0, 0), 0);  // as the other tests want it
  ReleaseTexture(LQ_DEMO_BMP);
}

}  // namespace
