// The 2D camera's transform, its inverse and its quad layout (also run natively
// under the sanitizers).
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include "graphics/camera2d_transform.h"
#include "util/sin_table.h"

namespace {

Camera2DTransform Make(const Camera2D& camera) {
  Camera2DTransform t;
  EXPECT_EQ(MakeCamera2DTransform(camera, &t), 0);
  return t;
}

TEST(Camera2D, MovesWorldPointsAsTheTableSays) {
  const float r = 10 * sqrtf(0.5f);  // 10 units at an eighth of a turn
  struct Case {
    Camera2D camera;
    float wx, wy, sx, sy;
  } cases[] = {
      {{0, 0, 0, 0, 1, 0}, 3, -4, 3, -4},                   // none at all
      {{1000, 500, 160, 120, 2, 0}, 995, 495, 150, 110},    // zoomed about the target
      {{1000, 500, 160, 120, 2, 0}, 1005, 505, 170, 130},
      {{10, 10, 100, 100, 1, 2048}, 20, 10, 100, 110},      // right of the target: below
      {{10, 10, 100, 100, 1, 2048}, 10, 20, 90, 100},       // below it: left
      {{10, 10, 100, 100, 1, 4096}, 20, 10, 90, 100},
      {{10, 10, 100, 100, 1, -2048}, 20, 10, 100, 90},
      {{10, 10, 100, 100, 1, 8192 + 2048}, 20, 10, 100, 110},  // any angle wraps
      {{10, 10, 100, 100, 1, 1024}, 20, 10, 100 + r, 100 + r},
      {{-5, 7, 0, 0, 0.25f, 6144}, -1, 7, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.camera.angle);
    const Camera2DTransform t = Make(c.camera);
    float x = c.wx, y = c.wy;
    Camera2DWorldToScreen(t, &x, &y);
    EXPECT_NEAR(x, c.sx, 1e-4);
    EXPECT_NEAR(y, c.sy, 1e-4);
    Camera2DScreenToWorld(t, &x, &y);
    EXPECT_NEAR(x, c.wx, 1e-3);
    EXPECT_NEAR(y, c.wy, 1e-3);
  }
}

TEST(Camera2D, TheInverseUndoesTheTransformForAnyAngleAndZoom) {
  for (int32_t angle = -8192; angle <= 8192; angle += 311) {
    for (float zoom : {0.01f, 0.5f, 1.0f, 3.0f, 64.0f}) {
      const Camera2DTransform t = Make({1234.5f, -77.25f, 320, 240, zoom, angle});
      float x = 1300.75f, y = -20.5f;
      Camera2DWorldToScreen(t, &x, &y);
      Camera2DScreenToWorld(t, &x, &y);
      ASSERT_NEAR(x, 1300.75f, 2e-3) << angle << " " << zoom;
      ASSERT_NEAR(y, -20.5f, 2e-3) << angle << " " << zoom;
    }
  }
}

TEST(Camera2D, RefusesAZoomNotAboveZeroAndAnythingNotFinite) {
  const Camera2D bad[] = {{0, 0, 0, 0, 0, 0},        {0, 0, 0, 0, -1, 0},
                          {0, 0, 0, 0, NAN, 0},      {0, 0, 0, 0, INFINITY, 0},
                          {NAN, 0, 0, 0, 1, 0},      {0, INFINITY, 0, 0, 1, 0},
                          {0, 0, -INFINITY, 0, 1, 0}, {0, 0, 0, NAN, 1, 0}};
  for (const Camera2D& camera : bad) {
    Camera2DTransform t;
    memset(&t, 0x5A, sizeof t);
    EXPECT_EQ(MakeCamera2DTransform(camera, &t), -1);
    EXPECT_EQ(((const unsigned char*)&t)[7], 0x5A);  // untouched
  }
}

// Through a camera that changes nothing the layout is LayoutQuad's to the bit;
// through any other, each vertex is its world point moved, as shapes' are.
TEST(Camera2D, QuadsLaidOutThroughItAreTheirCornersMoved) {
  Vertex2D through[7], plain[6];
  LayoutQuadCamera2D(through, Make({0, 0, 0, 0, 1, 0}), 10.25f, 3, 8, 7, 0x80FF0102u, 0.25f,
                     0.75f, 0.5f, 0.125f);
  LayoutQuad(plain, 10.25f, 3, 8, 7, 0x80FF0102u, 0.25f, 0.75f, 0.5f, 0.125f);
  EXPECT_EQ(memcmp(through, plain, sizeof plain), 0);

  const Camera2DTransform t = Make({1000, 500, 160, 120, 1.75f, 700});
  through[6].x = 12345;  // a store past the quad would show here
  LayoutQuadCamera2D(through, t, 990, 480, 1010, 490, 7, 0, 0, 1, 1);
  EXPECT_EQ(through[6].x, 12345);
  LayoutQuad(plain, 990, 480, 1010, 490, 7, 0, 0, 1, 1);
  Camera2DVertices(t, plain, 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_NEAR(through[i].x, plain[i].x, 1e-3) << i;
    EXPECT_NEAR(through[i].y, plain[i].y, 1e-3) << i;
    EXPECT_EQ(memcmp(&through[i].z, &plain[i].z, 5 * sizeof(float)), 0) << i;
  }
}

}  // namespace
