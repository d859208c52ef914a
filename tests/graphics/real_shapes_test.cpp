// The 2D camera and the shapes on the real Direct3D 9 (Wine's, software-rendered
// under Xvfb), read back from the flip target.
#include <math.h>

#include "real_device.h"

namespace {

const DWORD kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kGrey = 0x808080;

class RealShapes : public RealDevice {
 protected:
  void TearDown() override {
    SetCamera2D(NULL);
    RealDevice::TearDown();
  }
  // Draws into flip target 0 on black and reads it back.
  static std::vector<DWORD> Drawn(const std::function<void()>& draw) {
    DrawInto(0, 0xFF000000, draw);
    std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[0]);
    EXPECT_EQ(pixels.size(), (size_t)kSize * kSize);
    pixels.resize((size_t)kSize * kSize);
    return pixels;
  }
  // A 1 x 1 texture of that colour, bound: quads show it, shapes must not.
  static IDirect3DTexture9* BindColourTexture(DWORD argb) {
    IDirect3DTexture9* texture = NULL;
    EXPECT_EQ(GetDevice()->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                         NULL), 0);
    D3DLOCKED_RECT locked;
    if (texture != NULL && texture->LockRect(0, &locked, NULL, 0) == 0) {
      *static_cast<DWORD*>(locked.pBits) = argb;
      texture->UnlockRect(0);
    }
    GetDevice()->SetTexture(0, texture);
    return texture;
  }
};

int Count(const std::vector<DWORD>& pixels, DWORD colour) {
  int n = 0;
  for (DWORD p : pixels) n += p == colour;
  return n;
}

DWORD At(const std::vector<DWORD>& pixels, int x, int y) { return pixels[y * kSize + x]; }

// The pixels of the colour are exactly those of [l, r) x [t, b).
void ExpectExactly(const std::vector<DWORD>& pixels, DWORD colour, int l, int t, int r, int b) {
  int wrong = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const bool inside = x >= l && x < r && y >= t && y < b;
      if ((At(pixels, x, y) == colour) != inside && ++wrong <= 5) {
        ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << At(pixels, x, y);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(RealShapes, AQuadAtTheCameraTargetIsDrawnAtItsOffsetZoomed) {
  const Camera2D camera = {1000, 500, 160, 120, 2, 0};
  ASSERT_EQ(SetCamera2D(&camera), 0);
  const QuadDesc sprite = {1000, 500, 5, 5, 0, 0xFFFF0000, 0, 0, 0, 0};
  for (int path = 0; path < 3; ++path) {
    SCOPED_TRACE(path);
    ExpectExactly(Drawn([&] {
                    SetDrawMode(DRAWMODE_TEXTURE_MODULATE);
                    if (path == 0) DrawRectCenter(1000, 500, 5, 5, 0xFFFF0000);
                    if (path == 1) PushRectCenter(1000, 500, 5, 5, 0xFFFF0000), FlushRects();
                    if (path == 2) PushQuad(&sprite), FlushRects();
                  }),
                  kRed, 150, 110, 170, 130);
  }
  float x = 150, y = 110;  // the mouse over the quad's corner
  ScreenToWorld(&x, &y);
  EXPECT_NEAR(x, 995, 1e-3);
  EXPECT_NEAR(y, 495, 1e-3);
  WorldToScreen(&x, &y);
  EXPECT_NEAR(x, 150, 1e-3);
  const Camera2D zero = {0, 0, 0, 0, 0, 0};
  EXPECT_EQ(SetCamera2D(&zero), E_INVALIDARG);  // the camera in force is kept
  x = 995, y = 495;
  WorldToScreen(&x, &y);
  EXPECT_NEAR(x, 150, 1e-3);
  ASSERT_EQ(SetCamera2D(NULL), 0);
  WorldToScreen(&x, &y);
  EXPECT_EQ(x, 150);
  ExpectExactly(Drawn([] { DrawRect(4, 5, 9, 7, 0xFFFF0000); }), kRed, 4, 5, 9, 7);
}

// A bar 20 x 4 world units under a quarter-turned camera stands upright on
// screen; a sprite turned back by as much lies flat again.
TEST_F(RealShapes, ATurnedCameraTurnsQuadsAndSprites) {
  const Camera2D camera = {1000, 500, 160, 120, 2, 2048};
  ASSERT_EQ(SetCamera2D(&camera), 0);
  ExpectExactly(Drawn([] { DrawRectCenter(1000, 500, 10, 2, 0xFFFF0000); }), kRed, 156, 100, 164,
                140);
  ExpectExactly(Drawn([] { PushRectCenter(1010, 500, 5, 2, 0xFFFF0000), FlushRects(); }), kRed,
                156, 130, 164, 150);  // right of the target: below the offset
  const QuadDesc back = {1000, 500, 10, 2, -2048, 0xFFFF0000, 0, 0, 0, 0};
  ExpectExactly(Drawn([&] { DrawQuad(&back); }), kRed, 140, 116, 180, 124);
}

TEST_F(RealShapes, LinesTrianglesAndOutlinesCoverTheirPixelsUntextured) {
  IDirect3DTexture9* grey = NULL;
  const std::vector<DWORD> pixels = Drawn([&] {
    grey = BindColourTexture(0xFF808080);
    SetDrawMode(DRAWMODE_TEXTURE_MODULATE | DRAWMODE_CULL);  // every shape runs clockwise
    EXPECT_EQ(DrawLine(10, 20.5f, 60, 20.5f, 3, 0xFFFF0000), 0);  // rows 19 to 21
    EXPECT_EQ(DrawLine(80.5f, 70, 80.5f, 10, 1, 0xFFFF0000), 0);  // column 80, drawn upwards
    EXPECT_EQ(DrawTriangle(100, 10, 100, 50, 140, 10, 0xFF00FF00), 0);  // counter-clockwise as given
    EXPECT_EQ(DrawRectLine(200, 100, 150, 80, 2, 0xFF0000FF), 0);
  });
  if (grey != NULL) grey->Release();
  int wrong = 0;
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 100; ++x) {
      const bool line = (x >= 10 && x < 60 && y >= 19 && y < 22) || (x == 80 && y >= 10 && y < 70);
      if ((At(pixels, x, y) == kRed) != line && ++wrong <= 5) ADD_FAILURE() << x << "," << y;
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_NEAR(Count(pixels, kGreen), 40 * 40 / 2, 40);  // half the square, give or take the diagonal
  EXPECT_EQ(At(pixels, 105, 15), kGreen);
  EXPECT_EQ(At(pixels, 135, 45), 0u);
  EXPECT_EQ(Count(pixels, kBlue), 50 * 20 - 46 * 16);
  EXPECT_EQ(At(pixels, 150, 80), kBlue);
  EXPECT_EQ(At(pixels, 152, 82), 0u);
  EXPECT_EQ(Count(pixels, kGrey), 0);
}

TEST_F(RealShapes, CirclesHaveTheirAreaWithinTwoPerCent) {
  const double pi = 3.14159265358979323846;
  for (float radius : {20.0f, 60.0f, 100.0f}) {
    SCOPED_TRACE(radius);
    const std::vector<DWORD> pixels = Drawn([&] {
      SetDrawMode(DRAWMODE_TEXTURE_MODULATE | DRAWMODE_CULL);
      EXPECT_EQ(DrawCircle(128, 128, radius, 0xFF0000FF), 0);
      EXPECT_EQ(DrawCircleLine(128, 128, radius, 2, 0xFFFF0000), 0);  // its rim, inside
    });
    const double rim = pi * (radius * radius - (radius - 2) * (radius - 2));
    const double inside = pi * radius * radius - rim;
    EXPECT_NEAR(Count(pixels, kBlue), inside, 0.02 * inside);
    EXPECT_NEAR(Count(pixels, kRed) + Count(pixels, kBlue), pi * radius * radius,
                0.02 * pi * radius * radius);
    EXPECT_EQ(At(pixels, 128, 128), kBlue);
    EXPECT_EQ(At(pixels, (int)(128 + radius + 1), 128), 0u);
    EXPECT_EQ(At(pixels, 128, (int)(128 - radius)), kRed);
  }
  // Through a camera: the circle's centre moved, its radius zoomed.
  const Camera2D camera = {0, 0, 200, 60, 3, 777};
  ASSERT_EQ(SetCamera2D(&camera), 0);
  const std::vector<DWORD> pixels = Drawn([] { DrawCircle(0, 0, 10, 0xFF0000FF); });
  EXPECT_NEAR(Count(pixels, kBlue), pi * 900, 0.02 * pi * 900);
  EXPECT_EQ(At(pixels, 200, 60), kBlue);
  EXPECT_EQ(At(pixels, 200, 29), 0u);
}

// Quads and shapes pushed in turn draw in push order, the quads with the bound
// texture and the shapes without, each with the camera of its push.
TEST_F(RealShapes, BatchedShapesInterleaveWithBatchedQuadsInOrder) {
  IDirect3DTexture9* grey = NULL;
  const Camera2D camera = {0, 0, 100, 100, 2, 0};
  const std::vector<DWORD> pixels = Drawn([&] {
    grey = BindColourTexture(0xFF808080);
    SetDrawMode(DRAWMODE_TEXTURE_MODULATE);
    PushRect(20, 20, 120, 120, 0xFFFFFFFF);       // grey
    PushCircle(70, 70, 40, 0xFF00FF00);           // green over it
    PushRect(60, 60, 80, 80, 0xFFFFFFFF);         // grey again, over the circle
    PushTriangle(65, 65, 75, 65, 65, 75, 0xFF0000FF);  // blue over that
    PushLine(0, 200.5f, 256, 200.5f, 1, 0xFFFF0000);
    SetCamera2D(&camera);
    PushRectCenter(50, 50, 5, 5, 0xFFFFFFFF);     // grey, at 190..210 on screen
    PushLine(45, 50, 55, 50, 2, 0xFFFF0000);      // red across it, 4 rows high
    SetCamera2D(NULL);
    PushRect(0, 240, 10, 250, 0xFFFFFFFF);        // grey, no camera
    EXPECT_EQ(FlushRects(), 0);
  });
  if (grey != NULL) grey->Release();
  EXPECT_EQ(At(pixels, 25, 25), kGrey);
  EXPECT_EQ(At(pixels, 70, 40), kGreen);
  EXPECT_EQ(At(pixels, 78, 78), kGrey);
  EXPECT_EQ(At(pixels, 66, 66), kBlue);
  EXPECT_EQ(At(pixels, 5, 200), kRed);
  EXPECT_EQ(At(pixels, 192, 192), kGrey);
  EXPECT_EQ(At(pixels, 192, 199), kRed);
  EXPECT_EQ(At(pixels, 192, 203), kGrey);
  EXPECT_EQ(At(pixels, 5, 245), kGrey);
  EXPECT_EQ(Gfx.batch.count, 0u);
  EXPECT_EQ(Gfx.shapeRuns.count, 0u);
}

// The frame's own copy (the last frame laid under the new one) stays in target
// pixels whatever camera the game left set.
TEST_F(RealShapes, TheFrameCopyIgnoresTheCamera) {
  const Camera2D camera = {0, 0, 50, 50, 3, 1000};
  ASSERT_EQ(SetCamera2D(&camera), 0);
  SetTrailColor(0);
  ASSERT_EQ(BeginRender(0xFF000000), 0);
  GetDevice()->SetTexture(0, white);
  SetDrawMode(DRAWMODE_TEXTURE_MODULATE);
  DrawCircle(0, 0, 10, 0xFF00FF00);
  EndRender();
  ASSERT_EQ(Flip(0xFFFFFFFF), 0);
  SetTrailColor(0xFFFFFFFF);  // the whole last frame, nothing new over it
  ASSERT_EQ(BeginRender(0xFF000000), 0);
  EndRender();
  const std::vector<DWORD> pixels = Read(GetFlipSurface());
  ASSERT_EQ(Flip(0xFFFFFFFF), 0);
  SetTrailColor(0);
  ASSERT_EQ(pixels.size(), (size_t)kSize * kSize);
  EXPECT_EQ(At(pixels, 50, 50), kGreen);
  EXPECT_EQ(At(pixels, 50, 18), 0u);
  EXPECT_NEAR(Count(pixels, kGreen), 3.14159 * 900, 0.02 * 3.14159 * 900);
}

}  // namespace
