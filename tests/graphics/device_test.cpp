// Device creation, the render targets made at start-up, and the shut-down,
// against the recording fakes.
#include "gfx_fixture.h"

namespace {

using Strings = std::vector<std::string>;

TEST_F(GfxTest, FirstAttemptKeepsFourSamplesAndTheTabledParameters) {
  EXPECT_EQ(GetDevice(), nullptr);
  EXPECT_STREQ(GetAdapterDriver(), "");
  EXPECT_STREQ(GetAdapterDescription(), "");
  App.window = reinterpret_cast<HWND>(0x1234);  // handed over, never used by the fake

  ASSERT_EQ(InitDirectX(), 0);
  const Strings head(fake_d3d::Log().begin(), fake_d3d::Log().begin() + 4);
  EXPECT_EQ(head, (Strings{"Direct3DCreate9(32)", "GetAdapterIdentifier(0,0)",
                           "GetAdapterDisplayMode(0)", "CreateDevice(0,1,0x40,4)"}));
  ASSERT_EQ(fake_d3d::CreateDeviceCalls().size(), 1u);
  const fake_d3d::CreateDeviceCall& call = fake_d3d::CreateDeviceCalls()[0];
  EXPECT_EQ(call.window, App.window);
  const D3DPRESENT_PARAMETERS& pp = Gfx.PresentParam;
  EXPECT_EQ(pp.BackBufferWidth, 800u);
  EXPECT_EQ(pp.BackBufferHeight, 600u);
  EXPECT_EQ(pp.BackBufferFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(pp.BackBufferCount, 1u);
  EXPECT_EQ(pp.MultiSampleType, D3DMULTISAMPLE_4_SAMPLES);
  EXPECT_EQ(pp.MultiSampleQuality, 0u);
  EXPECT_EQ(pp.SwapEffect, D3DSWAPEFFECT_DISCARD);
  EXPECT_EQ(pp.hDeviceWindow, nullptr);
  EXPECT_EQ(pp.Windowed, 1);
  EXPECT_EQ(pp.EnableAutoDepthStencil, 1);
  EXPECT_EQ(pp.AutoDepthStencilFormat, D3DFMT_D16);
  EXPECT_EQ(pp.Flags, 0u);
  EXPECT_EQ(pp.FullScreen_RefreshRateInHz, 0u);
  EXPECT_EQ(pp.PresentationInterval, 0u);
  EXPECT_EQ(memcmp(&call.params, &pp, sizeof pp), 0);
  EXPECT_EQ(GetDevice(), static_cast<IDirect3DDevice9*>(fake_d3d::LastDevice()));
  EXPECT_STREQ(GetAdapterDriver(), "fake9.dll");
  EXPECT_STREQ(GetAdapterDescription(), "Fake Adapter");
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(GfxTest, FullScreenTakesTheDesktopFormat) {
  App.windowed = 0;
  fake_d3d::Configure().displayFormat = D3DFMT_R5G6B5;
  ASSERT_EQ(InitDirectX(), 0);
  EXPECT_EQ(Gfx.PresentParam.Windowed, 0);
  EXPECT_EQ(Gfx.PresentParam.BackBufferFormat, D3DFMT_R5G6B5);
  EXPECT_EQ(Gfx.PresentParam.FullScreen_RefreshRateInHz, 0u);
  EXPECT_EQ(fake_d3d::Calls("CreateTexture")[0], "CreateTexture(800,600,1,0x1,23,0)");
}

TEST_F(GfxTest, FallbacksDropMultisamplingThenHardwareVertexProcessing) {
  fake_d3d::Script("CreateDevice", {D3DERR_NOTAVAILABLE});
  ASSERT_EQ(InitDirectX(), 0);
  EXPECT_EQ(fake_d3d::Calls("CreateDevice"),
            (Strings{"CreateDevice(0,1,0x40,4)", "CreateDevice(0,1,0x40,1)"}));
  EXPECT_EQ(Gfx.PresentParam.MultiSampleType, D3DMULTISAMPLE_NONMASKABLE);
  // A later reset passes the kept parameters on.
  ASSERT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), 0);
  ASSERT_EQ(Dev().resets.size(), 1u);
  EXPECT_EQ(Dev().resets[0].MultiSampleType, D3DMULTISAMPLE_NONMASKABLE);
  ReleaseDirectX();

  fake_d3d::Reset();
  fake_d3d::Script("CreateDevice", {D3DERR_NOTAVAILABLE, D3DERR_INVALIDCALL});
  ASSERT_EQ(InitDirectX(), 0);
  EXPECT_EQ(fake_d3d::Calls("CreateDevice"),
            (Strings{"CreateDevice(0,1,0x40,4)", "CreateDevice(0,1,0x40,1)",
                     "CreateDevice(0,1,0x20,1)"}));
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(GfxTest, AllAttemptsFailingShowOneMessageAndReturnEFail) {
  fake_d3d::Script("CreateDevice", {}, D3DERR_NOTAVAILABLE);
  EXPECT_EQ(InitDirectX(), E_FAIL);  // not the last attempt's code
  EXPECT_EQ(fake_d3d::CallCount("CreateDevice"), 3);
  EXPECT_EQ(boxes.Texts(), (Strings{"CreateDirectXDevice : Can't Create DirectX9 Device\n"}));
  EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
  EXPECT_EQ(GetDevice(), nullptr);
  EXPECT_EQ(fake_d3d::CallCount("GetRenderTarget"), 0);
  EXPECT_NE(Gfx.lpD3D, nullptr);  // kept for ReleaseDirectX
}

TEST_F(GfxTest, OnlyExactlyZeroCreatesTheDevice) {
  fake_d3d::Script("CreateDevice", {S_FALSE});  // success class, still a failed attempt
  ASSERT_EQ(InitDirectX(), 0);
  EXPECT_EQ(fake_d3d::CallCount("CreateDevice"), 2);
  EXPECT_EQ(Gfx.PresentParam.MultiSampleType, D3DMULTISAMPLE_NONMASKABLE);
  // The device that came with S_FALSE was given back (TearDown checks the count).
  EXPECT_EQ(fake_d3d::Calls("Release"), (Strings{"Release(device)"}));
}

TEST_F(GfxTest, StartFailuresBeforeTheDevice) {
  fake_d3d::Script("Direct3DCreate9", {E_FAIL});
  EXPECT_EQ(InitDirectX(), E_FAIL);
  EXPECT_EQ(fake_d3d::Log(), (Strings{"Direct3DCreate9(32)"}));
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(CreateDirectXDevice(), E_FAIL);  // no Direct3D object

  fake_d3d::Reset();
  fake_d3d::Script("GetAdapterIdentifier", {D3DERR_INVALIDCALL});
  EXPECT_EQ(InitDirectX(), D3DERR_INVALIDCALL);
  ReleaseDirectX();
  fake_d3d::Script("GetAdapterDisplayMode", {D3DERR_NOTAVAILABLE});
  EXPECT_EQ(InitDirectX(), D3DERR_NOTAVAILABLE);
  EXPECT_EQ(fake_d3d::CallCount("CreateDevice"), 0);
  EXPECT_EQ(boxes.Texts(),
            (Strings{"GetAdapterIdentifier : Failed\n", "GetAdapterDisplayMode : Failed\n"}));
}

TEST_F(GfxTest, StartEmptiesTheTextureAndFontTablesAndBindsTheBackBuffer) {
  Gfx.textures[7] = {0x1234, reinterpret_cast<IDirect3DTexture9*>(8), 3};
  Gfx.fonts[31] = reinterpret_cast<ID3DXFont*>(8);
  ASSERT_EQ(InitDirectX(), 0);
  EXPECT_EQ(Gfx.textures[7].hash, 0u);
  EXPECT_EQ(Gfx.textures[7].texture, nullptr);
  EXPECT_EQ(Gfx.fonts[31], nullptr);

  EXPECT_EQ(N(Gfx.lpBackSurface), "back");
  EXPECT_EQ(N(Gfx.lpBackZBuffer), "backz");
  EXPECT_EQ(N(Gfx.lpEffectTexture), "tex1");
  EXPECT_EQ(N(Gfx.lpEffectSurface), "tex1/0");
  EXPECT_EQ(N(Gfx.lpFlipTexture[0]), "tex2");
  EXPECT_EQ(N(Gfx.lpFlipSurface[1]), "tex3/0");
  EXPECT_EQ(N(Gfx.lpFlipZBuffer[1]), "ds2");
  EXPECT_EQ(fake_d3d::Calls("CreateTexture"),
            Strings(3, "CreateTexture(800,600,1,0x1,22,0)"));  // full size, no shared handle
  // Each flip target is bound and cleared, target and depth, then the back buffer.
  EXPECT_EQ(fake_d3d::Calls("SetRenderTarget"),
            (Strings{"SetRenderTarget(0,tex2/0)", "SetRenderTarget(0,tex3/0)",
                     "SetRenderTarget(0,back)"}));
  EXPECT_EQ(fake_d3d::Calls("Clear"), Strings(2, "Clear(0,null,3,0x00000000,1,0)"));
  EXPECT_EQ(N(Dev().renderTarget), "back");
  EXPECT_EQ(N(Dev().depthStencil), "backz");
}

TEST_F(GfxTest, DepthBuffersFollowTheTargetsMultisampling) {
  fake_d3d::Configure().textureMultiSample = D3DMULTISAMPLE_2_SAMPLES;
  fake_d3d::Configure().textureMultiSampleQuality = 1;
  fake_d3d::FailCall("GetDesc", 1, D3DERR_INVALIDCALL);  // ignored: no multisampling
  ASSERT_EQ(InitDirectX(), 0);
  EXPECT_EQ(fake_d3d::Calls("CreateDepthStencilSurface"),
            (Strings{"CreateDepthStencilSurface(800,600,80,0,0,0)",
                     "CreateDepthStencilSurface(800,600,80,2,1,0)"}));
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(GfxTest, EachResourceStepFailingShowsItsMessageAndReturnsItsCode) {
  struct Step {
    const char* method;
    int nth;
    const char* message;
  };
  const Step steps[] = {
      {"GetRenderTarget", 1, "CreateResource : GetRenderTarget(BackSurface)\n"},
      {"GetDepthStencilSurface", 1, "CreateResource : GetDepthStencilSurface(lpBackZBuffer)\n"},
      {"CreateTexture", 1, "CreateResource : CreateTexture(lpEffectTexture)\n"},
      {"GetSurfaceLevel", 1, "CreateResource : GetSurfaceLevel(lpEffectSurface)\n"},
      {"CreateTexture", 2, "CreateResource : CreateTexture(lpFlipTexture)\n"},
      {"GetSurfaceLevel", 2, "CreateResource : GetSurfaceLevel(lpFlipTexture)\n"},
      {"CreateDepthStencilSurface", 1,
       "CreateResource : CreateDepthStencilSurface(lpFlipZBuffer)\n"},
      {"SetRenderTarget", 1, "CreateResource : SetRenderTarget(lpFlipSurface)\n"},
      {"SetDepthStencilSurface", 1, "CreateResource : SetDepthStencilSurface(lpFlipSurface)\n"},
      {"Clear", 1, "CreateResource : Clear(lpFlipSurface)\n"},
      {"CreateTexture", 3, "CreateResource : CreateTexture(lpFlipTexture)\n"},
      {"GetSurfaceLevel", 3, "CreateResource : GetSurfaceLevel(lpFlipTexture)\n"},
      {"CreateDepthStencilSurface", 2,
       "CreateResource : CreateDepthStencilSurface(lpFlipZBuffer)\n"},
      {"SetRenderTarget", 2, "CreateResource : SetRenderTarget(lpFlipSurface)\n"},
      {"SetDepthStencilSurface", 2, "CreateResource : SetDepthStencilSurface(lpFlipSurface)\n"},
      {"Clear", 2, "CreateResource : Clear(lpFlipSurface)\n"},
      {"SetRenderTarget", 3, "CreateResource : SetRenderTarget(lpBackSurface)\n"},
      {"SetDepthStencilSurface", 3, "CreateResource : SetDepthStencilSurface(lpBackZBuffer)\n"},
  };
  HRESULT code = MAKE_D3DHRESULT(2100);
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.method) + " #" + std::to_string(step.nth));
    fake_d3d::Reset();
    boxes.Clear();
    fake_d3d::FailCall(step.method, step.nth, ++code);
    EXPECT_EQ(InitDirectX(), code);
    EXPECT_EQ(boxes.Texts(), Strings{step.message});
    EXPECT_EQ(fake_d3d::CallCount(step.method), step.nth);  // nothing after the failure
    ReleaseDirectX();  // what was made before the failure goes here
    EXPECT_EQ(fake_d3d::Leaks(), "");
  }
  EXPECT_FALSE(TakeQuit());
}

TEST_F(GfxTest, ShutDownReleasesEverythingInOrderAndMayRunTwice) {
  ReleaseDirectX();  // nothing created: no platform call
  ReleaseDirectX();
  EXPECT_TRUE(fake_d3d::Log().empty());

  Start();
  Gfx.fonts[4] = fake_d3d::NewFont();
  Gfx.textures[9] = {77, fake_d3d::NewTexture(8, 8, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED), 2};
  ASSERT_EQ(PushRect(0, 0, 1, 1, 0), 0);
  fake_d3d::ClearLog();
  ReleaseDirectX();
  EXPECT_EQ(fake_d3d::Log(),
            (Strings{"Release(font1)", "Release(tex4)", "Release(tex1/0)", "Release(tex1)",
                     "Release(ds1)", "Release(tex2/0)", "Release(tex2)", "Release(ds2)",
                     "Release(tex3/0)", "Release(tex3)", "Release(backz)", "Release(back)",
                     "Release(device)", "Release(d3d)"}));
  EXPECT_EQ(GetDevice(), nullptr);
  EXPECT_EQ(Gfx.lpD3D, nullptr);
  EXPECT_EQ(Gfx.fonts[4], nullptr);
  EXPECT_EQ(Gfx.textures[9].texture, nullptr);
  EXPECT_EQ(Gfx.textures[9].refCount, 0);
  EXPECT_EQ(Gfx.lpFlipSurface[1], nullptr);
  EXPECT_EQ(Gfx.batch.vertices, nullptr);  // the batch's storage is given back too
  fake_d3d::ClearLog();
  ReleaseDirectX();
  EXPECT_TRUE(fake_d3d::Log().empty());
  EXPECT_EQ(ReleaseResource(), 0);
}

}  // namespace
