// Where a logical picture lands in the back buffer, and the cursor mapped back.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/view_scale.h"

using Ints = std::vector<int32_t>;

TEST(View, PlacesEachModeCentredAndMapsPointsBackRoundedDownUnclamped) {
  const std::vector<std::pair<Ints, Ints>> places = {  // w, h, back w, back h, mode -> rect
      {{320, 240, 800, 600, VIEW_INTEGER}, {80, 60, 640, 480}},
      {{320, 240, 1280, 1024, VIEW_INTEGER}, {0, 32, 1280, 960}},
      {{320, 240, 639, 479, VIEW_INTEGER}, {159, 119, 320, 240}},  // short of 2x: 1x
      {{320, 240, 160, 100, VIEW_INTEGER}, {13, 0, 133, 100}},  // smaller: fitted
      {{320, 200, 1920, 1080, VIEW_FIT}, {96, 0, 1728, 1080}},
      {{320, 240, 1280, 1024, 2}, {0, 0, 1280, 1024}},  // 2, as games pass SCALE_STRETCH
      {{320, 240, 800, 0, VIEW_FIT}, {0, 0, 0, 0}}, {{0, 240, 800, 600, VIEW_FIT}, {0, 0, 0, 0}},
      {{320, 240, 0, 600, VIEW_FIT}, {0, 0, 0, 0}}, {{320, 0, 800, 600, VIEW_FIT}, {0, 0, 0, 0}}};
  for (const auto& c : places) {
    const Ints& a = c.first;
    const ViewRect got = PlaceView(a[0], a[1], a[2], a[3], a[4]);
    EXPECT_EQ((Ints{got.x, got.y, got.width, got.height}), c.second) << a[2] << " " << a[4];
  }
  const std::vector<Ints> points = {  // place x, y, w, h; point -> point
      {80, 60, 640, 480, 720, 539, 320, 239}, {80, 60, 640, 480, 79, 59, -1, -1},
      {80, 60, 640, 480, -3000, 5000, -1540, 2470}, {0, 0, 0, 0, 7, -7, 7, -7},
      {80, 60, 640, 0, 7, -7, 7, -7}, {80, 60, 0, 480, 7, -7, 7, -7}};  // no division by 0
  for (const Ints& c : points) {
    int32_t x = c[4], y = c[5];
    MapToView(ViewRect{c[0], c[1], c[2], c[3]}, 320, 240, &x, &y);
    EXPECT_EQ((Ints{x, y}), (Ints{c[6], c[7]})) << c[4] << "," << c[5];
  }
}
