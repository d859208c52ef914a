// The glow on the real Direct3D 9: a bright square on black, blurred, read back.
#include "real_device.h"

namespace {

TEST_F(RealDevice, TheGlowSpreadsTheTintBeyondABrightSquareAndRestoresTheDrawMode) {
  struct Case {
    D3DCOLOR tint;
    bool halo;
  };
  const Case cases[] = {{0xFFFF8722, true}, {0x00FF8722, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tint);
    const int i = Gfx.FlipCount & 1;  // the glow reads and writes the current target
    std::vector<DWORD> before;
    DWORD modeAfter = 0, blendAfter = 0;
    HRESULT result = E_FAIL;
    DrawInto(i, 0xFF000000, [&] {
      SetDrawMode(DRAWMODE_TEXTURE_MODULATE);
      DrawRect(24, 24, 40, 40, 0xFFFFFFFF);
      before = Read(Gfx.lpFlipSurface[i]);
      SetDrawMode(DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR2);
      result = DrawEffectGaussianBlur(c.tint);
      modeAfter = GetDrawMode();
      GetDevice()->GetRenderState(D3DRS_DESTBLEND, &blendAfter);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(modeAfter, 529u);
    EXPECT_EQ(blendAfter, (DWORD)D3DBLEND_INVSRCALPHA);  // not the glow's additive blend
    const std::vector<DWORD> after = Read(Gfx.lpFlipSurface[i]);
    ASSERT_EQ(after.size(), (size_t)kSize * kSize);
    ASSERT_EQ(before.size(), after.size());
    EXPECT_EQ(after[32 * kSize + 32], 0xFFFFFFu);
    EXPECT_EQ(after[4 * kSize + 4], 0u);  // far from the square
    if (!c.halo) {
      EXPECT_EQ(after, before);
      continue;
    }
    // Just outside each edge: orange, red above green above blue.
    for (int at : {32 * kSize + 40, 32 * kSize + 23, 40 * kSize + 32, 23 * kSize + 32}) {
      SCOPED_TRACE(at);
      const DWORD p = after[at];
      EXPECT_EQ(before[at], 0u);
      EXPECT_GT(Channel(p, 16), Channel(p, 8));
      EXPECT_GT(Channel(p, 8), Channel(p, 0));
      EXPECT_GT(Channel(p, 0), 0);
    }
  }
}

}  // namespace
