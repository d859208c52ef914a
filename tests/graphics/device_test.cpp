// Device creation, the render targets made at start-up, and the shut-down,
// against the recording fakes.
#include <algorithm>
#include <set>

#include "app/internal.h"
#include "gfx_fixture.h"
#include "graphics/internal.h"

namespace {

using Strings = std::vector<std::string>;

TEST_F(GfxTest, FirstAttemptKeepsFourSamplesAndTheTabledParameters) {
  EXPECT_EQ(GetDevice(), nullptr);
  EXPECT_STREQ(GetAdapterDriver(), "");
  EXPECT_STREQ(GetAdapterDescription(), "");
  const HWND window = reinterpret_cast<HWND>(0x1234);  // handed over, never used by the fake

  ASSERT_EQ(Init(window), 0);
  const Strings head(fake_d3d::Log().begin(), fake_d3d::Log().begin() + 4);
  EXPECT_EQ(head, (Strings{"Direct3DCreate9(32)", "GetAdapterIdentifier(0,0)",
                           "GetAdapterDisplayMode(0)", "CreateDevice(0,1,0x40,4)"}));
  ASSERT_EQ(fake_d3d::CreateDeviceCalls().size(), 1u);
  const fake_d3d::CreateDeviceCall& call = fake_d3d::CreateDeviceCalls()[0];
  EXPECT_EQ(call.window, window);
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
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(GfxTest, FullScreenTakesTheDesktopFormat) {
  fake_d3d::Configure().displayFormat = D3DFMT_R5G6B5;
  ASSERT_EQ(Init(NULL, 0), 0);
  EXPECT_EQ(Gfx.PresentParam.Windowed, 0);
  EXPECT_EQ(Gfx.PresentParam.BackBufferFormat, D3DFMT_R5G6B5);
  EXPECT_EQ(Gfx.PresentParam.FullScreen_RefreshRateInHz, 0u);
  EXPECT_EQ(fake_d3d::Calls("CreateTexture")[0], "CreateTexture(800,600,1,0x1,23,0)");
}

TEST_F(GfxTest, FallbacksDropMultisamplingThenHardwareVertexProcessing) {
  fake_d3d::Script("CreateDevice", {D3DERR_NOTAVAILABLE});
  ASSERT_EQ(Init(), 0);
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
  ASSERT_EQ(Init(), 0);
  EXPECT_EQ(fake_d3d::Calls("CreateDevice"),
            (Strings{"CreateDevice(0,1,0x40,4)", "CreateDevice(0,1,0x40,1)",
                     "CreateDevice(0,1,0x20,1)"}));
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(GfxTest, AllAttemptsFailingShowOneMessageAndReturnEFail) {
  fake_d3d::Script("CreateDevice", {}, D3DERR_NOTAVAILABLE);
  EXPECT_EQ(Init(), E_FAIL);  // not the last attempt's code
  EXPECT_EQ(fake_d3d::CallCount("CreateDevice"), 3);
  EXPECT_EQ(boxes.Texts(), (Strings{"CreateDirectXDevice : Can't Create DirectX9 Device\n"}));
  EXPECT_EQ(GetDevice(), nullptr);
  EXPECT_EQ(fake_d3d::CallCount("GetRenderTarget"), 0);
  EXPECT_NE(Gfx.lpD3D, nullptr);  // kept for ReleaseDirectX
}

TEST_F(GfxTest, OnlyExactlyZeroCreatesTheDevice) {
  fake_d3d::Script("CreateDevice", {S_FALSE});  // success class, still a failed attempt
  ASSERT_EQ(Init(), 0);
  EXPECT_EQ(fake_d3d::CallCount("CreateDevice"), 2);
  EXPECT_EQ(Gfx.PresentParam.MultiSampleType, D3DMULTISAMPLE_NONMASKABLE);
  // The device that came with S_FALSE was given back (TearDown checks the count).
  EXPECT_EQ(fake_d3d::Calls("Release"), (Strings{"Release(device)"}));
}

TEST_F(GfxTest, StartFailuresBeforeTheDevice) {
  fake_d3d::Script("Direct3DCreate9", {E_FAIL});
  EXPECT_EQ(Init(), E_FAIL);
  EXPECT_EQ(fake_d3d::Log(), (Strings{"Direct3DCreate9(32)"}));
  EXPECT_TRUE(boxes.Texts().empty());
  EXPECT_EQ(CreateDirectXDevice(), E_FAIL);  // no Direct3D object

  fake_d3d::Reset();
  fake_d3d::Script("GetAdapterIdentifier", {D3DERR_INVALIDCALL});
  EXPECT_EQ(Init(), D3DERR_INVALIDCALL);
  ReleaseDirectX();
  fake_d3d::Script("GetAdapterDisplayMode", {D3DERR_NOTAVAILABLE});
  EXPECT_EQ(Init(), D3DERR_NOTAVAILABLE);
  EXPECT_EQ(fake_d3d::CallCount("CreateDevice"), 0);
  EXPECT_EQ(boxes.Texts(),
            (Strings{"GetAdapterIdentifier : Failed\n", "GetAdapterDisplayMode : Failed\n"}));
}

TEST_F(GfxTest, StartEmptiesTheTextureAndFontTablesAndBindsTheBackBuffer) {
  Gfx.textures[7] = {0x1234, reinterpret_cast<IDirect3DTexture9*>(8), 3};
  Gfx.fonts[31] = reinterpret_cast<ID3DXFont*>(8);
  ASSERT_EQ(Init(), 0);
  EXPECT_EQ(Gfx.textures[7].hash, 0u);
  EXPECT_EQ(Gfx.textures[7].texture, nullptr);
  EXPECT_EQ(Gfx.fonts[31], nullptr);

  EXPECT_EQ(N(Gfx.lpBackSurface), "back");
  EXPECT_EQ(N(Gfx.lpBackZBuffer), "backz");
  EXPECT_EQ(fake_d3d::Calls("CreateTexture"),
            Strings(3, "CreateTexture(800,600,1,0x1,22,0)"));  // full size, no shared handle
  // Three distinct targets, each surface its texture's level 0.
  IDirect3DTexture9* textures[] = {Gfx.lpEffectTexture, Gfx.lpFlipTexture[0],
                                   Gfx.lpFlipTexture[1]};
  IDirect3DSurface9* surfaces[] = {Gfx.lpEffectSurface, Gfx.lpFlipSurface[0],
                                   Gfx.lpFlipSurface[1]};
  EXPECT_EQ(std::set<void*>(textures, textures + 3).size(), 3u);
  for (int i = 0; i < 3; ++i) {
    IDirect3DSurface9* level0 = nullptr;
    ASSERT_EQ(textures[i]->GetSurfaceLevel(0, &level0), D3D_OK);
    EXPECT_EQ(level0, surfaces[i]) << i;
    level0->Release();
  }
  // Each flip target cleared with its own depth buffer, then the back buffer bound.
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(Dev().cleared[Gfx.lpFlipSurface[i]], (DWORD)D3DCLEAR_TARGET) << i;
    EXPECT_EQ(Dev().cleared[Gfx.lpFlipZBuffer[i]], (DWORD)D3DCLEAR_ZBUFFER) << i;
  }
  EXPECT_NE(Gfx.lpFlipZBuffer[0], Gfx.lpFlipZBuffer[1]);
  EXPECT_EQ(fake_d3d::Calls("Clear"), Strings(2, "Clear(0,null,3,0x00000000,1,0)"));
  EXPECT_EQ(N(Dev().renderTarget), "back");
  EXPECT_EQ(N(Dev().depthStencil), "backz");
}

TEST_F(GfxTest, DepthBuffersFollowTheTargetsMultisampling) {
  fake_d3d::Configure().textureMultiSample = D3DMULTISAMPLE_2_SAMPLES;
  fake_d3d::Configure().textureMultiSampleQuality = 1;
  fake_d3d::FailCall("GetDesc", 1, D3DERR_INVALIDCALL);  // ignored: no multisampling
  ASSERT_EQ(Init(), 0);
  EXPECT_EQ(fake_d3d::Calls("CreateDepthStencilSurface"),
            (Strings{"CreateDepthStencilSurface(800,600,80,0,0,0)",
                     "CreateDepthStencilSurface(800,600,80,2,1,0)"}));
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(GfxTest, EachResourceStepFailingShowsItsMessageAndReturnsItsCode) {
  // Each call of a method fails in turn; its messages, in whatever order the
  // targets are made.
  const char* kFlipTexture = "CreateResource : CreateTexture(lpFlipTexture)\n";
  const char* kFlipLevel = "CreateResource : GetSurfaceLevel(lpFlipTexture)\n";
  const char* kFlipZ = "CreateResource : CreateDepthStencilSurface(lpFlipZBuffer)\n";
  const char* kFlipBind = "CreateResource : SetRenderTarget(lpFlipSurface)\n";
  const char* kFlipDepth = "CreateResource : SetDepthStencilSurface(lpFlipSurface)\n";
  const char* kFlipClear = "CreateResource : Clear(lpFlipSurface)\n";
  const std::pair<const char*, Strings> steps[] = {
      {"GetRenderTarget", {"CreateResource : GetRenderTarget(BackSurface)\n"}},
      {"GetDepthStencilSurface", {"CreateResource : GetDepthStencilSurface(lpBackZBuffer)\n"}},
      {"CreateTexture",
       {"CreateResource : CreateTexture(lpEffectTexture)\n", kFlipTexture, kFlipTexture}},
      {"GetSurfaceLevel",
       {"CreateResource : GetSurfaceLevel(lpEffectSurface)\n", kFlipLevel, kFlipLevel}},
      {"CreateDepthStencilSurface", {kFlipZ, kFlipZ}},
      {"SetRenderTarget",
       {kFlipBind, kFlipBind, "CreateResource : SetRenderTarget(lpBackSurface)\n"}},
      {"SetDepthStencilSurface",
       {kFlipDepth, kFlipDepth, "CreateResource : SetDepthStencilSurface(lpBackZBuffer)\n"}},
      {"Clear", {kFlipClear, kFlipClear}},
  };
  HRESULT code = MAKE_D3DHRESULT(2100);
  for (const auto& step : steps) {
    Strings shown;
    for (int nth = 1; nth <= (int)step.second.size(); ++nth) {
      SCOPED_TRACE(std::string(step.first) + " #" + std::to_string(nth));
      fake_d3d::Reset();
      boxes.Clear();
      fake_d3d::FailCall(step.first, nth, ++code);
      EXPECT_EQ(Init(), code);
      ASSERT_EQ(boxes.Texts().size(), 1u);
      shown.push_back(boxes.Texts()[0]);
      EXPECT_EQ(fake_d3d::CallCount(step.first), nth);  // nothing after the failure
      ReleaseDirectX();  // what was made before the failure goes here
      EXPECT_EQ(fake_d3d::Leaks(), "");
    }
    Strings expected = step.second;
    std::sort(shown.begin(), shown.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected) << step.first;
  }
  EXPECT_FALSE(TakeQuit());
}

TEST_F(GfxTest, ShutDownReleasesWhatTheDeviceMadeBeforeItAndItBeforeDirect3D) {
  ReleaseDirectX();  // nothing created: no platform call
  ReleaseDirectX();
  EXPECT_TRUE(fake_d3d::Log().empty());

  Start();
  Gfx.fonts[4] = fake_d3d::NewFont();
  Gfx.textures[9] = {77, fake_d3d::NewTexture(8, 8, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED), 2};
  ASSERT_EQ(PushRect(0, 0, 1, 1, 0), 0);
  fake_d3d::Device& device = Dev();
  ReleaseDirectX();
  EXPECT_EQ(fake_d3d::Leaks(), "");
  // The platform's order: what the device made before the device, the device
  // before the Direct3D object.
  EXPECT_EQ(device.heldAtRelease, 0);
  EXPECT_FALSE(device.outlivedDirect3D);
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
