// Render-state presets, fog and camera, against the recording fakes.
#include <string.h>

#include "gfx_fixture.h"
#include "graphics/camera_math.h"

namespace {

using States = std::map<DWORD, DWORD>;
using StageStates = std::map<std::pair<DWORD, DWORD>, DWORD>;

class DrawModeTest : public GfxTest {
 protected:
  void SetUp() override {
    GfxTest::SetUp();
    Start();
  }
  // Applies one word on a device whose states are all unset.
  void Apply(DWORD word) {
    Dev().ForgetStates();
    EXPECT_EQ(SetDrawMode(word), 0);
    EXPECT_EQ(GetDrawMode(), word);
  }
};

// What every word sets, one way or the other.
States Always(bool z, bool cull, bool fog, bool light) {
  return {{D3DRS_ZWRITEENABLE, z ? 1u : 0u}, {D3DRS_ZENABLE, (DWORD)(z ? D3DZB_TRUE : D3DZB_FALSE)},
          {D3DRS_CULLMODE, (DWORD)(cull ? D3DCULL_CCW : D3DCULL_NONE)},
          {D3DRS_FOGENABLE, fog ? 1u : 0u}, {D3DRS_LIGHTING, light ? 1u : 0u}};
}

States With(States states, DWORD destBlend) {
  states[D3DRS_ALPHABLENDENABLE] = TRUE;
  states[D3DRS_SRCBLEND] = D3DBLEND_SRCALPHA;
  states[D3DRS_DESTBLEND] = destBlend;
  return states;
}

// The framework's own words: the glow's soft pass, the trails, the glow's additive pass.
const DWORD kSoft = DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR;
const DWORD kTrail = DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR2;
const DWORD kGlow = DRAWMODE_BLEND_ADD | DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR2;

const StageStates kModulate = {{{0, D3DTSS_ALPHAOP}, D3DTOP_MODULATE},
                               {{0, D3DTSS_COLORARG1}, D3DTA_TEXTURE},
                               {{0, D3DTSS_COLORARG2}, D3DTA_DIFFUSE}};
const StageStates kLinear = {{{0, D3DSAMP_MAGFILTER}, D3DTEXF_LINEAR},
                             {{0, D3DSAMP_MINFILTER}, D3DTEXF_LINEAR},
                             {{0, D3DSAMP_MIPFILTER}, D3DTEXF_LINEAR}};

// Magnification and minification set to the filter over the other states.
StageStates Filter(DWORD filter, StageStates states) {
  states[{0, D3DSAMP_MAGFILTER}] = filter;
  states[{0, D3DSAMP_MINFILTER}] = filter;
  return states;
}

TEST_F(DrawModeTest, EachPresetSetsExactlyItsStates) {
  struct Case {
    DWORD word;
    States states;
    StageStates stage, sampler;
    BOOL light;
  };
  const States off = Always(false, false, false, false);
  const Case cases[] = {
      {0, off, {}, {}, FALSE},
      {0x8000, off, {}, {}, FALSE},  // meaningless bits change nothing
      {DRAWMODE_POINT, off, {}, Filter(D3DTEXF_POINT, {}), FALSE},
      {DRAWMODE_POINT | DRAWMODE_LINEAR2, off, {}, Filter(D3DTEXF_POINT, kLinear), FALSE},
      {0, off, {}, Filter(D3DTEXF_LINEAR, {}), FALSE},  // after point sampling: filtered again
      {kSoft, With(off, D3DBLEND_INVSRCALPHA), kModulate, kLinear, FALSE},
      {kTrail, With(off, D3DBLEND_INVSRCALPHA), kModulate, kLinear, FALSE},
      {kGlow, With(off, D3DBLEND_ONE), kModulate, kLinear, FALSE},
      {DRAWMODE_LINEAR2, off, {}, kLinear, FALSE},
      {DRAWMODE_BLEND_ALPHA | DRAWMODE_BLEND_ADD, With(off, D3DBLEND_ONE), {}, {}, FALSE},
      {DRAWMODE_LINEAR | DRAWMODE_LINEAR2, off, {}, kLinear, FALSE},
      {DRAWMODE_ZBUFFER | DRAWMODE_FOG | DRAWMODE_CULL | DRAWMODE_LIGHTING,
       Always(true, true, true, true), {}, {}, TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    Apply(c.word);
    EXPECT_EQ(Dev().renderStates, c.states);
    EXPECT_EQ(Dev().stageStates, c.stage);
    EXPECT_EQ(Dev().samplerStates, c.sampler);
    EXPECT_EQ(Dev().lights, (std::map<DWORD, BOOL>{{0, c.light}}));
  }
}

TEST_F(DrawModeTest, SwitchOnFlagsLeaveTheirStatesToLaterWords) {
  Apply(kGlow);
  const int stageCalls = fake_d3d::CallCount("SetTextureStageState");
  ASSERT_EQ(SetDrawMode(DRAWMODE_LINEAR2), 0);
  EXPECT_EQ(Dev().renderStates[D3DRS_DESTBLEND], (DWORD)D3DBLEND_ONE);  // still additive
  EXPECT_EQ(Dev().renderStates[D3DRS_ALPHABLENDENABLE], 1u);
  ASSERT_EQ(SetDrawMode(0), 0);
  EXPECT_EQ(Dev().renderStates[D3DRS_ALPHABLENDENABLE], 1u);
  EXPECT_EQ(Dev().stageStates, kModulate);
  EXPECT_EQ(fake_d3d::CallCount("SetTextureStageState"), stageCalls);
}

TEST_F(DrawModeTest, OnlyTheLightingCallsResultIsReported) {
  Dev().ForgetStates();
  fake_d3d::Script("SetRenderState:19", {}, D3DERR_INVALIDCALL);  // D3DRS_SRCBLEND
  EXPECT_EQ(SetDrawMode(kSoft), 0);  // a failure midway does not stop the preset
  EXPECT_EQ(Dev().renderStates.size(), 7u);
  fake_d3d::Script("SetRenderState:137", {}, D3DERR_INVALIDCALL);  // D3DRS_LIGHTING
  EXPECT_EQ(SetDrawMode(0), D3DERR_INVALIDCALL);
}

TEST_F(GfxTest, TheWordIsKeptWithoutADeviceAndRestoredLater) {
  EXPECT_EQ(GetDrawMode(), 0u);
  EXPECT_EQ(SetDrawMode(kSoft), E_FAIL);
  EXPECT_EQ(GetDrawMode(), kSoft);
  EXPECT_EQ(RestoreDrawMode(), E_FAIL);
  Start();
  EXPECT_EQ(RestoreDrawMode(), 0);
  EXPECT_EQ(Dev().renderStates[D3DRS_DESTBLEND], (DWORD)D3DBLEND_INVSRCALPHA);
  EXPECT_EQ(GetDrawMode(), kSoft);
}

DWORD Bits(float value) {
  DWORD bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}

TEST_F(GfxTest, FogSetsLinearTableFogWithoutSwitchingItOn) {
  EXPECT_EQ(SetFog(1, 2, 0), E_FAIL);
  Start();
  Dev().ForgetStates();
  EXPECT_EQ(SetFog(10.5f, 100.0f, 0xFF336699), 0);
  EXPECT_EQ(Dev().renderStates,
            (States{{D3DRS_FOGVERTEXMODE, D3DFOG_NONE}, {D3DRS_FOGTABLEMODE, D3DFOG_LINEAR},
                    {D3DRS_FOGSTART, Bits(10.5f)}, {D3DRS_FOGEND, Bits(100.0f)},
                    {D3DRS_FOGCOLOR, 0xFF336699}}));
  fake_d3d::Script("SetRenderState:34", {D3DERR_INVALIDCALL});  // D3DRS_FOGCOLOR
  EXPECT_EQ(SetFog(0, 1, 0), D3DERR_INVALIDCALL);
}

TEST_F(GfxTest, ProjectionAndViewReachTheDeviceFromTheirArguments) {
  const D3DXVECTOR3 eye(0, 0, -10), at(1, 2, 3), up(0, 1, 0);
  EXPECT_EQ(SetProjection(0.5f, 1.0f, 1, 100), E_FAIL);
  EXPECT_EQ(SetView(&eye, &at, &up), E_FAIL);
  Start();

  ASSERT_EQ(SetProjection(1.5f, 2.0f, 1.0f, 101.0f), 0);
  ASSERT_EQ(SetView(&eye, &at, &up), 0);
  // The matrices built from these arguments (their arithmetic is tested natively).
  D3DXMATRIX projection, view;
  PerspectiveFovLH(&projection.m[0][0], 1.5f, 2.0f, 1.0f, 101.0f);
  LookAtLH(&view.m[0][0], &eye.x, &at.x, &up.x);
  EXPECT_EQ(D3DXMATRIX(Dev().transforms[D3DTS_PROJECTION]), projection);
  EXPECT_EQ(D3DXMATRIX(Dev().transforms[D3DTS_VIEW]), view);
  EXPECT_EQ(Dev().transforms.size(), 2u);

  fake_d3d::FailCall("SetTransform", 1, D3DERR_INVALIDCALL);
  EXPECT_EQ(SetView(&eye, &at, &up), D3DERR_INVALIDCALL);
  Dev().transforms.clear();
  EXPECT_EQ(SetView(nullptr, &at, &up), E_FAIL);  // no matrix from nothing
  EXPECT_TRUE(Dev().transforms.empty());
}

}  // namespace
