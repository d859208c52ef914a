// The glow on the real Direct3D 9: a white square on black, blurred, read back.
#include "real_device.h"

namespace {

TEST_F(RealDevice, TheGlowSpreadsTheTintBeyondABrightSquareAndRestoresTheDrawMode) {
  for (D3DCOLOR tint : {0xFFFF8722u, 0x00FF8722u}) {
    SCOPED_TRACE(tint);
    const int i = FlipIndex();  // the glow works on the current target
    std::vector<DWORD> before;
    DWORD mode = 0, blend = 0;
    DrawInto(i, 0xFF000000, [&] {
      SetDrawMode(DRAWMODE_TEXTURE_MODULATE);
      DrawRect(24, 24, 40, 40, 0xFFFFFFFF);
      before = Read(Gfx.lpFlipSurface[i]);
      SetDrawMode(DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR2);
      EXPECT_EQ(DrawEffectGaussianBlur(tint), 0);
      mode = GetDrawMode();
      GetDevice()->GetRenderState(D3DRS_DESTBLEND, &blend);
    });
    EXPECT_EQ(mode, DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR2);
    EXPECT_EQ(blend, (DWORD)D3DBLEND_INVSRCALPHA);  // not the glow's additive blend
    const std::vector<DWORD> after = Read(Gfx.lpFlipSurface[i]);
    ASSERT_EQ(after.size(), (size_t)kSize * kSize);
    if (tint >> 24 == 0) {
      EXPECT_EQ(after, before);  // alpha 0 adds nothing
      continue;
    }
    EXPECT_EQ(after[4 * kSize + 4], 0u);  // far from the square
    for (int at : {32 * kSize + 40, 32 * kSize + 23, 40 * kSize + 32, 23 * kSize + 32}) {
      const DWORD p = after[at];  // just outside an edge: orange
      EXPECT_TRUE(before[at] == 0 && Channel(p, 16) > Channel(p, 8) && Channel(p, 8) > Channel(p, 0) &&
                  Channel(p, 0) > 0) << std::hex << at << ": " << p;
    }
  }
}

}  // namespace
