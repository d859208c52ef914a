// Where a logical picture lands in the back buffer, and the cursor mapped back.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/view_scale.h"

TEST(PlaceView, EachModeCentresItsLargestFit) {
  struct Case {
    uint32_t w, h, backW, backH, scaling;
    ViewRect want;
  } cases[] = {
      {320, 240, 800, 600, VIEW_INTEGER, {80, 60, 640, 480}},     // 2x, bars on every side
      {320, 240, 1280, 1024, VIEW_INTEGER, {0, 32, 1280, 960}},   // 4x, bars above and below
      {320, 240, 639, 479, VIEW_INTEGER, {159, 119, 320, 240}},   // just short of 2x: 1x
      {320, 240, 160, 100, VIEW_INTEGER, {13, 0, 133, 100}},      // smaller: fit, aspect kept
      {320, 240, 800, 600, VIEW_FIT, {0, 0, 800, 600}},
      {320, 240, 1280, 1024, VIEW_FIT, {0, 32, 1280, 960}},
      {320, 200, 1920, 1080, VIEW_FIT, {96, 0, 1728, 1080}},      // as high as the buffer
      {320, 240, 1280, 1024, VIEW_STRETCH, {0, 0, 1280, 1024}},
      {8192, 1, 10, 10, VIEW_FIT, {0, 5, 10, 0}},                 // rounds to nothing, no fault
      {0, 0, 800, 600, VIEW_INTEGER, {0, 0, 0, 0}},
      {320, 240, 0, 0, VIEW_FIT, {0, 0, 0, 0}},                   // minimised
  };
  for (const Case& c : cases) {
    const ViewRect got = PlaceView(c.w, c.h, c.backW, c.backH, c.scaling);
    EXPECT_EQ((std::vector<int32_t>{got.x, got.y, got.width, got.height}),
              (std::vector<int32_t>{c.want.x, c.want.y, c.want.width, c.want.height}))
        << c.w << "x" << c.h << " in " << c.backW << "x" << c.backH << " mode " << c.scaling;
  }
}

TEST(MapToView, RoundsDownAndDoesNotClamp) {
  const ViewRect twice = {80, 60, 640, 480}, empty = {0, 0, 0, 0};
  struct Case {
    ViewRect place;
    int32_t x, y, wantX, wantY;
  } cases[] = {
      {twice, 80, 60, 0, 0},       {twice, 81, 61, 0, 0},    {twice, 719, 539, 319, 239},
      {twice, 720, 540, 320, 240}, {twice, 79, 59, -1, -1},  {twice, 10, 10, -35, -25},
      {twice, -3000, 5000, -1540, 2470}, {empty, 7, -7, 7, -7},
  };
  for (const Case& c : cases) {
    int32_t x = c.x, y = c.y;
    MapToView(c.place, 320, 240, &x, &y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.wantX, c.wantY)) << c.x << ", " << c.y;
  }
}
