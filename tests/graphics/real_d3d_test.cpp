// The graphics core against the real Direct3D 9 (Wine's, software-rendered under
// Xvfb): quads are drawn into the flip targets and the pixels read back.
#include <float.h>
#include <math.h>

#include "graphics/internal.h"
#include "real_device.h"
#include "util/exact_checks.h"
#include "util/util_state.h"

namespace {

TEST_F(RealDevice, AQuadCoversExactlyThePixelsOfItsRectangle) {
  struct Rect {
    int l, t, r, b;
    DWORD color;
  };
  const Rect rects[] = {{0, 0, 4, 4, 0xFF0000},     {18, 17, 22, 23, 0x00FF00},
                        {40, 8, 43, 9, 0x0000FF},    {60, 60, 64, 64, 0xFFFFFF},
                        {27, 12, 37, 32, 0xFF0000},  {27, 32, 37, 52, 0x00FF00},  // the bar
                        {44, 24, 60, 40, 0x00FF00}};  // the sheet's right cell alone
  const QuadDesc bar = {32, 32, 20, 5, 2048, 0xFFFFFFFF, 0, 0, 0, 0};  // turned clockwise
  const QuadDesc cell = {52, 32, 8, 8, -8192, 0xFFFFFFFF, 0.5f, 0, 1, 1};
  IDirect3DTexture9* sheet = NULL;
  D3DLOCKED_RECT locked;
  ASSERT_EQ(0, GetDevice()->CreateTexture(2, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &sheet, NULL));
  ASSERT_EQ(sheet->LockRect(0, &locked, NULL, 0), 0);
  static_cast<DWORD*>(locked.pBits)[0] = 0xFFFF0000;
  static_cast<DWORD*>(locked.pBits)[1] = 0xFF00FF00;
  sheet->UnlockRect(0);
  DrawInto(0, 0xFF000000, [&] {
    SetDrawMode(DRAWMODE_TEXTURE_MODULATE);
    DrawRect(0, 0, 4, 4, 0xFFFF0000);
    DrawRectCenter(20, 20, 2, 3, 0xFF00FF00);
    PushRect(40, 8, 43, 9, 0xFF0000FF);
    FlushRects();
    DrawRectUV(60, 60, 64, 64, 0xFFFFFFFF, 0, 0, 1, 1);
    GetDevice()->SetTexture(0, sheet);
    GetDevice()->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);  // texels unblended
    DrawQuad(&bar);
    DrawQuad(&cell);
  });
  sheet->Release();
  const std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[0]);
  ASSERT_EQ(pixels.size(), (size_t)kSize * kSize);
  int wrong = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      DWORD expected = 0;
      for (const Rect& r : rects) {
        if (x >= r.l && x < r.r && y >= r.t && y < r.b) expected = r.color;
      }
      if (pixels[y * kSize + x] != expected && ++wrong <= 5) {
        ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << pixels[y * kSize + x]
                      << " not " << expected;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(RealDevice, AlphaAndAdditivePresetsBlendAsTheirFormulasSay) {
  const D3DCOLOR background = 0xFF2040C0;
  DrawInto(1, background, [&] {
    SetDrawMode(DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE);
    DrawRect(0, 0, 8, 8, 0x80FF0000);
    SetDrawMode(DRAWMODE_BLEND_ADD | DRAWMODE_TEXTURE_MODULATE);
    DrawRect(8, 0, 16, 8, 0x80FF0000);
    DrawRect(16, 0, 24, 8, 0x40808080);
    SetDrawMode(DRAWMODE_BLEND_ADD | DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR2);
    SetDrawMode(DRAWMODE_LINEAR2);  // sets no blend state: still additive
    DrawRect(24, 0, 32, 8, 0x80FF0000);
  });
  const std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[1]);
  ASSERT_EQ(pixels.size(), (size_t)kSize * kSize);
  const double dst[3] = {0x20, 0x40, 0xC0};
  auto expect = [&](int x, const double src[3], double alpha, bool add) {
    SCOPED_TRACE(x);
    const DWORD pixel = pixels[4 * kSize + x];
    const int shifts[3] = {16, 8, 0};
    for (int c = 0; c < 3; ++c) {
      double value = src[c] * alpha + dst[c] * (add ? 1.0 : 1.0 - alpha);
      EXPECT_NEAR(Channel(pixel, shifts[c]), fmin(value, 255.0), 2.0) << "channel " << c;
    }
  };
  const double red[3] = {255, 0, 0}, grey[3] = {128, 128, 128};
  expect(4, red, 128 / 255.0, false);   // src * a + dst * (1 - a)
  expect(12, red, 128 / 255.0, true);   // src * a + dst
  expect(20, grey, 64 / 255.0, true);
  expect(28, red, 128 / 255.0, true);
  EXPECT_EQ(pixels[20 * kSize + 4], 0x2040C0u);  // untouched
}

TEST_F(RealDevice, BatchedAndImmediateQuadsGiveTheSamePixels) {
  struct Quad {
    float l, t, r, b;
    D3DCOLOR color;
  };
  std::vector<Quad> quads;
  uint32_t seed = 12345;
  auto next = [&](uint32_t range) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % range;
  };
  for (int i = 0; i < 2000; ++i) {
    float x = (float)next(kSize * 4) / 4.0f - 4, y = (float)next(kSize * 4) / 4.0f - 4;
    float w = (float)next(64) / 4.0f, h = (float)next(64) / 4.0f;
    quads.push_back({x, y, x + w, y + h, (next(256) << 24) | next(0x1000000)});
  }
  const D3DCOLOR background = 0xFF101010;
  const DWORD mode = DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE;
  DrawInto(0, background, [&] {
    SetDrawMode(mode);
    for (const Quad& q : quads) DrawRect(q.l, q.t, q.r, q.b, q.color);
  });
  DrawInto(1, background, [&] {
    SetDrawMode(mode);
    for (const Quad& q : quads) ASSERT_EQ(PushRect(q.l, q.t, q.r, q.b, q.color), 0);
    ASSERT_EQ(FlushRects(), 0);
  });
  const std::vector<DWORD> immediate = Read(Gfx.lpFlipSurface[0]);
  const std::vector<DWORD> batched = Read(Gfx.lpFlipSurface[1]);
  ASSERT_EQ(immediate.size(), (size_t)kSize * kSize);
  int drawn = 0, differ = 0;
  for (size_t i = 0; i < immediate.size(); ++i) {
    drawn += immediate[i] != 0x101010;
    differ += immediate[i] != batched[i];
  }
  EXPECT_GT(drawn, kSize * kSize / 2);
  EXPECT_EQ(differ, 0);
}

TEST_F(RealDevice, FramesLayThePreviousOneUnderTheNextAndSurviveAReset) {
  DrawInto(0, 0xFF000000, [] {});  // no leftovers of earlier tests
  DrawInto(1, 0xFF000000, [] {});
  SetTrailColor(0x80FFFFFF);
  for (int frame = 0; frame < 3; ++frame) {
    SCOPED_TRACE(frame);
    ASSERT_EQ(BeginRender(0xFF000000), 0);
    EXPECT_EQ(GetFlipSurface(), Gfx.lpFlipSurface[FlipIndex()]);
    SetDrawMode(DRAWMODE_TEXTURE_MODULATE);
    GetDevice()->SetTexture(0, white);
    // A red square in the first frame only: later frames show its fading trail.
    if (frame == 0) DrawRect(0, 0, 8, 8, 0xFFFF0000);
    ASSERT_EQ(EndRender(), 0);
    const std::vector<DWORD> pixels = Read(GetFlipSurface());
    ASSERT_EQ(pixels.size(), (size_t)kSize * kSize);
    const int expected[3] = {255, 128, 64};  // halved by the trail colour each frame
    EXPECT_NEAR(Channel(pixels[2 * kSize + 2], 16), expected[frame], 2);
    // Texel for pixel: the edge stays sharp under linear filtering.
    EXPECT_NEAR(Channel(pixels[2 * kSize + 7], 16), expected[frame], 2);
    EXPECT_EQ(pixels[2 * kSize + 8], 0u);
    EXPECT_EQ(pixels[20 * kSize + 20], 0u);
    ASSERT_EQ(Flip(0xFFFFFFFF), 0);
  }
  // A reset on the real device: every default-pool target must have been given back.
  const DWORD count = Gfx.FlipCount;
  ASSERT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), 0);
  EXPECT_EQ(Gfx.FlipCount, count);
  ASSERT_NE(Gfx.lpFlipTexture[0], nullptr);
  const std::vector<DWORD> cleared = Read(Gfx.lpFlipSurface[0]);
  ASSERT_EQ(cleared.size(), (size_t)kSize * kSize);
  EXPECT_EQ(cleared[2 * kSize + 2], 0u);
  ASSERT_EQ(BeginRender(0xFF000000), 0);
  ASSERT_EQ(EndRender(), 0);
  EXPECT_EQ(Flip(0xFFFFFFFF), 0);
}

// The device narrows its thread's x87 unit to single precision: the sine table and
// the vector helpers keep their documented results after it, the table is the one
// computed at the program's start-up precision, and the caller's word survives.
TEST_F(RealDevice, SineTableAndVectorsStayExactAfterTheDevice) {
  const unsigned deviceWord = _controlfp(0, 0);
  ASSERT_EQ(deviceWord & _MCW_PC, (unsigned)_PC_24) << "the device left the x87 precision alone";
  InitSinTable();
  EXPECT_EQ(_controlfp(0, 0), deviceWord);
  ExpectDocumentedSinTable();
  ExpectExactVec2Table();
  const std::vector<float> narrowed(Util.sinTable, Util.sinTable + SIN_TABLE_SIZE);
  _controlfp(_PC_64, _MCW_PC);
  InitSinTable();
  _controlfp(deviceWord, _MCW_PC);
  int differ = 0;
  for (int i = 0; i < SIN_TABLE_SIZE; ++i) differ += Util.sinTable[i] != narrowed[i];
  EXPECT_EQ(differ, 0);
}

}  // namespace
