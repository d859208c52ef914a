// The glow's failures against the recording fakes: which ones post the quit message.
#include "gfx_fixture.h"

namespace {

TEST_F(GfxTest, AFailingGlowStepReportsItselfAndQuitsOnlyWhereItMust) {
  Start();
  struct Case {
    const char* method;
    int nth;
    const char* message;
    bool quit;
  } cases[] = {{"SetTexture", 1, "DrawEffectGaussianBlur : Failed : SetTexture\n", true},
               {"SetTexture", 2, "DrawEffectGaussianBlur : Failed : SetTexture(lpEffectTexture)\n", true},
               {"Clear", 1, "DrawEffectGaussianBlur : Clear(lpEffectSurface)\n", false}};
  ASSERT_EQ(BeginRender(0), 0);
  for (const Case& c : cases) {
    boxes.Clear();
    fake_d3d::FailCall(c.method, c.nth, D3DERR_INVALIDCALL);
    EXPECT_EQ(DrawEffectGaussianBlur(0xFFFF8722), D3DERR_INVALIDCALL);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{c.message});
    EXPECT_EQ(TakeQuit(), c.quit);
  }
  EndRender();
}

}  // namespace
