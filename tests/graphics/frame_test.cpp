// Frame begin and flip, and the recovery from a lost device, against the
// recording fakes.
#include <stdint.h>

#include <algorithm>

#include "gfx_fixture.h"
#include "graphics/internal.h"

namespace {

using Strings = std::vector<std::string>;

float MaxX(const fake_d3d::DrawCall& draw) {
  float x = -1e9f;
  for (size_t i = 0; i < draw.VertexCount(); ++i) x = std::max(x, draw.Vertices<Vertex2D>()[i].x);
  return x;
}

float MaxY(const fake_d3d::DrawCall& draw) {
  float y = -1e9f;
  for (size_t i = 0; i < draw.VertexCount(); ++i) y = std::max(y, draw.Vertices<Vertex2D>()[i].y);
  return y;
}

TEST_F(GfxTest, FramesAlternateTargetsAndLayThePreviousOneUnderTheNext) {
  Start();
  SetTrailColor(0x80EEEEF9);
  std::string copied;  // the texture Flip put on the back buffer
  for (DWORD frame = 1; frame <= 3; ++frame) {
    SCOPED_TRACE(frame);
    const size_t before = Dev().draws.size();
    ASSERT_EQ(BeginRender(0), 0);
    const DWORD current = frame & 1, previous = current ^ 1;
    EXPECT_EQ(Gfx.FlipCount, frame);
    EXPECT_EQ(N(Dev().renderTarget), N(Gfx.lpFlipSurface[current]));
    EXPECT_EQ(N(Dev().depthStencil), N(Gfx.lpFlipZBuffer[current]));
    EXPECT_EQ(GetFlipSurface(), Gfx.lpFlipSurface[current]);
    EXPECT_EQ(GetFlipTexture(), Gfx.lpFlipTexture[current]);
    EXPECT_EQ(GetDrawMode(),  // the trail preset stays in force
              DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR2);
    EXPECT_TRUE(Dev().inScene);
    EXPECT_EQ(Dev().texture0, nullptr);

    ASSERT_EQ(Dev().draws.size(), before + 1);
    const fake_d3d::DrawCall& trail = Dev().draws.back();
    EXPECT_EQ(trail.target, N(Gfx.lpFlipSurface[current]));
    EXPECT_EQ(trail.texture, N(Gfx.lpFlipTexture[previous]));
    if (!copied.empty()) {
      EXPECT_EQ(trail.texture, copied);  // what Flip showed is laid under the next
    }
    EXPECT_EQ(trail.Vertices<Vertex2D>()[0].diffuse, 0x80EEEEF9u);
    EXPECT_EQ(MaxX(trail), 799.5f);  // far corner exactly W, H
    EXPECT_EQ(MaxY(trail), 599.5f);
    EXPECT_TRUE(trail.inScene);

    ASSERT_EQ(EndRender(), 0);
    ASSERT_EQ(Flip(0xFFFFFFFF), 0);
    ASSERT_EQ(Dev().draws.size(), before + 2);
    const fake_d3d::DrawCall& copy = Dev().draws.back();
    EXPECT_EQ(copy.target, "back");
    EXPECT_EQ(copy.texture, N(Gfx.lpFlipTexture[current]));
    EXPECT_EQ(copy.Vertices<Vertex2D>()[0].diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(MaxX(copy), 799.0f);  // the copy quad ends at W - 0.5, H - 0.5
    EXPECT_EQ(MaxY(copy), 599.0f);
    copied = copy.texture;
    EXPECT_EQ(N(Dev().renderTarget), "back");
    EXPECT_EQ(N(Dev().depthStencil), "backz");
    EXPECT_FALSE(Dev().inScene);
  }
  EXPECT_EQ(fake_d3d::Calls("Present"), Strings(3, "Present()"));
  EXPECT_EQ(fake_d3d::Calls("Clear"), Strings(6, "Clear(0,null,3,0x00000000,1,0)"));
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(GfxTest, ClearFlagsFollowTheAutomaticDepthBuffer) {
  Start();
  ReleaseResource();
  Gfx.PresentParam.EnableAutoDepthStencil = FALSE;
  ASSERT_EQ(CreateResource(), 0);  // its own clears still take the depth too
  EXPECT_EQ(fake_d3d::Calls("Clear"), Strings(2, "Clear(0,null,3,0x00000000,1,0)"));
  fake_d3d::ClearLog();
  Clear(0xFF102030);
  EXPECT_EQ(fake_d3d::Calls("Clear"), Strings(2, "Clear(0,null,1,0xff102030,1,0)"));

  fake_d3d::FailCall("Clear", 2, D3DERR_INVALIDCALL);
  EXPECT_EQ(Clear(0), D3DERR_INVALIDCALL);
  Gfx.PresentParam.EnableAutoDepthStencil = TRUE;
  fake_d3d::FailCall("Clear", 2, D3DERR_INVALIDCALL);
  EXPECT_EQ(Clear(0), D3DERR_INVALIDCALL);
  EXPECT_EQ(boxes.Texts(), (Strings{"Clear : Failed : D3DCLEAR_TARGET\n",
                                    "Clear : Failed : D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER\n"}));
  EXPECT_FALSE(TakeQuit());
}

TEST_F(GfxTest, AFailedBindInClearStillLetsBeginRenderOpenTheScene) {
  Start();
  fake_d3d::FailCall("SetRenderTarget", 1, D3DERR_INVALIDCALL);
  EXPECT_EQ(BeginRender(0), 0);  // the BeginScene result, whatever Clear did
  EXPECT_TRUE(Dev().inScene);
  EXPECT_EQ(N(Dev().renderTarget), "back");  // the game draws into what was bound
  EXPECT_EQ(Gfx.FlipCount, 1u);
  EndRender();

  fake_d3d::FailCall("SetDepthStencilSurface", 1, D3DERR_INVALIDCALL);
  EXPECT_EQ(Clear(0), D3DERR_INVALIDCALL);
  EXPECT_EQ(boxes.Texts(), (Strings{"Clear : Failed : SetRenderTarget\n",
                                    "Clear : Failed : SetDepthStencilSurface\n"}));
  EXPECT_FALSE(TakeQuit());
}

// Mend: a scene that cannot open is a failure of Clear, not a success.
TEST_F(GfxTest, ClearWithoutAScene) {
  Start();
  fake_d3d::FailCall("BeginScene", 1, D3DERR_INVALIDCALL);
  EXPECT_EQ(Clear(0), D3DERR_INVALIDCALL);  // silently: nothing drawn, no scene closed
  EXPECT_TRUE(Dev().draws.empty());
  EXPECT_EQ(fake_d3d::CallCount("EndScene"), 0);
  EXPECT_EQ(fake_d3d::CallCount("SetRenderState"), 0);  // no preset either

  fake_d3d::FailCall("SetTexture", 1, D3DERR_INVALIDCALL);
  EXPECT_EQ(Clear(0), D3DERR_INVALIDCALL);  // the previous frame's texture is its result
  EXPECT_EQ(Dev().draws.size(), 1u);        // drawn all the same, and the scene closed
  EXPECT_FALSE(Dev().inScene);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(GfxTest, FlipWithoutASceneStillPresents) {
  Start();
  fake_d3d::FailCall("BeginScene", 1, D3DERR_INVALIDCALL);
  EXPECT_EQ(Flip(0xFFFFFFFF), 0);
  EXPECT_TRUE(Dev().draws.empty());
  EXPECT_EQ(fake_d3d::CallCount("Present"), 1);
}

// Mend: a Flip that cannot bind the back buffer or its depth buffer closes the
// scene it opened, so that the following frames still work.
TEST_F(GfxTest, FlipClosesItsSceneWhenItCannotBind) {
  Start();
  const char* binds[] = {"SetRenderTarget", "SetDepthStencilSurface"};
  for (const char* bind : binds) {
    SCOPED_TRACE(bind);
    ASSERT_EQ(BeginRender(0), 0);
    EndRender();
    fake_d3d::ClearLog();
    fake_d3d::FailCall(bind, 1, D3DERR_INVALIDCALL);
    EXPECT_EQ(Flip(0xFFFFFFFF), D3DERR_INVALIDCALL);
    EXPECT_EQ(fake_d3d::CallCount("Present"), 0);
    EXPECT_EQ(fake_d3d::Log().back(), "EndScene()");
    EXPECT_FALSE(Dev().inScene);
    EXPECT_EQ(BeginRender(0), 0);  // the next frame opens its scene
    EndRender();
    EXPECT_EQ(Flip(0xFFFFFFFF), 0);
  }
  EXPECT_EQ(boxes.Texts(), (Strings{"Flip : SetRenderTarget : Failed\n",
                                    "Flip : SetDepthStencilSurface : Failed\n"}));
  EXPECT_FALSE(TakeQuit());
}

TEST_F(GfxTest, WithoutADeviceFrameCallsFailSilently) {
  EXPECT_EQ(SetTrailColor(0x12345678), 0);
  EXPECT_EQ(Gfx.trailColor, 0x12345678u);
  EXPECT_EQ(Clear(0), E_FAIL);
  EXPECT_EQ(BeginScene(), E_FAIL);
  EXPECT_EQ(BeginRender(0), E_FAIL);
  EXPECT_EQ(EndRender(), E_FAIL);
  EXPECT_EQ(Flip(0), E_FAIL);
  EXPECT_EQ(CreateResource(), E_FAIL);
  EXPECT_EQ(SetRenderTarget(), E_FAIL);
  EXPECT_EQ(SetDepthStencilSurface(), E_FAIL);
  EXPECT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), E_FAIL);
  EXPECT_EQ(GetFlipTexture(), nullptr);
  EXPECT_EQ(Gfx.FlipCount, 0u);
  EXPECT_TRUE(fake_d3d::Log().empty());
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(GfxTest, RebindingTheCurrentFlipTarget) {
  Start();
  ASSERT_EQ(BeginRender(0), 0);
  Dev().renderTarget = Gfx.lpEffectSurface;
  Dev().depthStencil = nullptr;
  EXPECT_EQ(SetRenderTarget(), 0);
  EXPECT_EQ(SetDepthStencilSurface(), 0);
  EXPECT_EQ(Dev().renderTarget, Gfx.lpFlipSurface[1]);
  EXPECT_EQ(Dev().depthStencil, Gfx.lpFlipZBuffer[1]);
  fake_d3d::FailCall("SetRenderTarget", 1, E_FAIL);
  fake_d3d::FailCall("SetDepthStencilSurface", 1, E_FAIL);
  EXPECT_EQ(SetRenderTarget(), E_FAIL);
  EXPECT_EQ(SetDepthStencilSurface(), E_FAIL);
  EXPECT_EQ(boxes.Texts(), (Strings{"CreateResource : SetRenderTarget(lpFlipSurface)\n",
                                    "SetDepthStencilSurface : SetDepthStencilSurface(lpFlipZBuffer)\n"}));
  EXPECT_FALSE(TakeQuit());
  EndRender();
}

// ---------------------------------------------------------------- device loss

TEST_F(GfxTest, EachPresentOutcome) {
  const char* kInternal = "HandlePresentParam : Failed : D3DERR_DRIVERINTERNALERROR\n";
  struct Case {
    HRESULT present, cooperative;  // Present's result, then TestCooperativeLevel's
    HRESULT flip;
    int tests, resets;
    bool waits, quits;
    const char* message;
  };
  const Case cases[] = {
      {D3D_OK, D3D_OK, 0, 0, 0, false, false, nullptr},
      {D3DERR_DEVICELOST, D3DERR_DEVICELOST, E_FAIL, 1, 0, true, false, nullptr},  // next frame
      {D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET, 0, 1, 1, false, false, nullptr},
      {D3DERR_DEVICELOST, D3D_OK, E_FAIL, 1, 0, false, false, nullptr},  // no longer lost
      {D3DERR_DEVICENOTRESET, D3D_OK, 0, 0, 1, false, false, nullptr},  // reset untested
      {E_OUTOFMEMORY, D3D_OK, E_FAIL, 0, 0, false, false, nullptr},
      {D3DERR_DRIVERINTERNALERROR, D3D_OK, E_FAIL, 0, 0, false, true, kInternal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.present);
    ReleaseDirectX();
    EXPECT_EQ(fake_d3d::Leaks(), "");
    fake_d3d::Reset();
    boxes.Clear();
    Start();
    IDirect3DTexture9* flip = Gfx.lpFlipTexture[0];
    fake_d3d::Script("Present", {c.present});
    fake_d3d::Script("TestCooperativeLevel", {c.cooperative});
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    EXPECT_EQ(Flip(0xFFFFFFFF), c.flip);
    QueryPerformanceCounter(&end);
    const double ms = 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
    EXPECT_EQ(ms >= 240.0, c.waits) << ms;
    EXPECT_LT(ms, 1000.0);
    EXPECT_EQ(fake_d3d::CallCount("TestCooperativeLevel"), c.tests);
    EXPECT_EQ(Dev().resets.size(), (size_t)c.resets);
    EXPECT_EQ(Gfx.lpFlipTexture[0] == flip, c.resets == 0);  // kept unless reset
    EXPECT_EQ(boxes.Texts(), c.message ? Strings{c.message} : Strings{});
    EXPECT_EQ(TakeQuit(), c.quits);
    EXPECT_EQ(Flip(0xFFFFFFFF), 0);  // the next frame presents again
  }
}

TEST_F(GfxTest, AResetRecreatesAndClearsTheTargetsAndKeepsTheFrameCount) {
  Start();
  Gfx.fonts[2] = fake_d3d::NewFont();
  for (int frame = 0; frame < 3; ++frame) {
    BeginRender(0);
    EndRender();
    Flip(0xFFFFFFFF);
  }
  const std::string oldFlip = N(Gfx.lpFlipTexture[0]);
  fake_d3d::ClearLog();
  fake_d3d::Script("Present", {D3DERR_DEVICELOST});
  fake_d3d::Script("TestCooperativeLevel", {D3DERR_DEVICENOTRESET});
  EXPECT_EQ(Flip(0xFFFFFFFF), 0);

  // The fake's Reset refuses while a target is held or a font not told.
  EXPECT_EQ(fake_d3d::Calls("OnResetDevice"), Strings{"OnResetDevice(font1)"});
  ASSERT_EQ(Dev().resets.size(), 1u);
  EXPECT_EQ(memcmp(&Dev().resets[0], &Gfx.PresentParam, sizeof Gfx.PresentParam), 0);
  EXPECT_NE(N(Gfx.lpFlipTexture[0]), oldFlip);
  EXPECT_NE(Gfx.lpFlipZBuffer[1], nullptr);
  EXPECT_EQ(fake_d3d::Calls("Clear"), Strings(2, "Clear(0,null,3,0x00000000,1,0)"));
  EXPECT_EQ(N(Dev().renderTarget), "back");
  EXPECT_EQ(Gfx.FlipCount, 3u);
  EXPECT_TRUE(boxes.Texts().empty());

  // Frames go on from where they were.
  ASSERT_EQ(BeginRender(0), 0);
  EXPECT_EQ(Gfx.FlipCount, 4u);
  EndRender();
  EXPECT_EQ(Flip(0xFFFFFFFF), 0);
}

TEST_F(GfxTest, AFontThatRefusesTheLossIsAskedThirtyOneTimesThenQuits) {
  Start();
  Gfx.fonts[3] = fake_d3d::NewFont();  // font1
  Gfx.fonts[7] = fake_d3d::NewFont();  // font2
  fake_d3d::Script("OnLostDevice:font1", {}, E_FAIL);
  EXPECT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), E_FAIL);
  EXPECT_EQ(fake_d3d::Calls("OnLostDevice"), Strings(31, "OnLostDevice(font1)"));
  EXPECT_EQ(fake_d3d::CallCount("Reset"), 0);
  EXPECT_NE(Gfx.lpFlipTexture[1], nullptr);  // the targets stay held
  EXPECT_EQ(boxes.Texts(), (Strings{"HandlePresentParam : Failed : OnLost\n"}));
  EXPECT_TRUE(TakeQuit());

  // Refusing 30 times, then agreeing: the reset goes on.
  ReleaseDirectX();
  EXPECT_EQ(fake_d3d::Leaks(), "");
  fake_d3d::Reset();
  Start();
  Gfx.fonts[0] = fake_d3d::NewFont();
  fake_d3d::Script("OnLostDevice", std::vector<HRESULT>(30, E_FAIL));
  EXPECT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), 0);
  EXPECT_EQ(fake_d3d::CallCount("OnLostDevice"), 31);
}

TEST_F(GfxTest, AFailedResetOrRestoreQuits) {
  Start();
  Gfx.fonts[0] = fake_d3d::NewFont();
  fake_d3d::Script("Reset", {D3DERR_INVALIDCALL});
  EXPECT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(boxes.Texts(), (Strings{"HandlePresentParam : Failed : Reset\n"}));
  EXPECT_TRUE(TakeQuit());

  boxes.Clear();
  fake_d3d::ClearLog();
  fake_d3d::FailCall("CreateTexture", 1, E_OUTOFMEMORY);
  EXPECT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), E_OUTOFMEMORY);
  ASSERT_EQ(boxes.Texts().size(), 2u);  // the first target's step, then the recovery's
  EXPECT_EQ(boxes.Texts()[0].rfind("CreateResource : CreateTexture(", 0), 0u);
  EXPECT_EQ(boxes.Texts()[1], "HandlePresentParam : Failed : OnRestore\n");
  EXPECT_EQ(fake_d3d::Calls("OnResetDevice"), (Strings{"OnResetDevice(font1)"}));  // still told
  EXPECT_TRUE(TakeQuit());
}

}  // namespace
