// The glow's failures against the recording fakes: which ones post the quit message.
#include "gfx_fixture.h"

namespace {

TEST_F(GfxTest, AFailingGlowStepReportsItselfAndQuitsOnlyWhereItMust) {
  Start();
  struct Case {
    const char* method;
    const char* message;
    bool quit;
  } cases[] = {{"SetTexture", "DrawEffectGaussianBlur : Failed : SetTexture\n", true},
               {"Clear", "DrawEffectGaussianBlur : Clear(lpEffectSurface)\n", false}};
  ASSERT_EQ(BeginRender(0), 0);
  for (const Case& c : cases) {
    boxes.Clear();
    fake_d3d::FailCall(c.method, 1, D3DERR_INVALIDCALL);
    EXPECT_EQ(DrawEffectGaussianBlur(0xFFFF8722), D3DERR_INVALIDCALL);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{c.message});
    EXPECT_EQ(TakeQuit(), c.quit);
  }
  EndRender();
}

}  // namespace
