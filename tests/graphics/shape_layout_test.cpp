// Shapes as six-vertex groups, and the batch's stretches of shapes (also run
// natively under the sanitizers).
#include <gtest/gtest.h>
#include <string.h>

#include <math.h>

#include <vector>

#include "graphics/batch_runs.h"
#include "graphics/shape_layout.h"

namespace {

const double kPi = 3.14159265358979323846;

// Twice the signed area: positive when clockwise on a screen whose y points down.
double Winding(const Vertex2D* t) {
  return ((double)t[1].x - t[0].x) * ((double)t[2].y - t[0].y) -
         ((double)t[1].y - t[0].y) * ((double)t[2].x - t[0].x);
}

// The area covered, every triangle clockwise or empty.
double Area(const std::vector<Vertex2D>& v) {
  double area = 0;
  for (size_t i = 0; i < v.size(); i += 3) {
    EXPECT_GE(Winding(&v[i]), -1e-9) << "triangle " << i / 3 << " runs counter-clockwise";
    area += Winding(&v[i]) / 2;
  }
  return area;
}

double Sagitta(double radius, uint32_t n) { return radius * (1 - cos(kPi / n)); }

TEST(CircleSegments, TheFewestEvenCountWithinHalfAPixel) {
  const struct {
    float radius;
    uint32_t segments;
  } table[] = {{0.25f, 8}, {0.5f, 8}, {1, 8}, {10, 10}, {20, 16}, {100, 32}, {1000, 100},
               {400000, 1988}, {5e5f, 2048}, {1e30f, 2048}, {0, 0}, {-3, 0}, {NAN, 0},
               {INFINITY, 0}};
  for (const auto& row : table) EXPECT_EQ(CircleSegments(row.radius), row.segments) << row.radius;
  for (float r = 0.5f; r < 400000; r *= 1.07f) {
    const uint32_t n = CircleSegments(r);
    ASSERT_EQ(n % 2, 0u) << r;
    ASSERT_LE(Sagitta(r, n), 0.5) << r;
    if (n > CIRCLE_MIN_SEGMENTS) {
      ASSERT_GT(Sagitta(r, n - 2), 0.5) << r;
    }
  }
}

TEST(ShapeLayout, TrianglesRunClockwiseWhateverTheOrderGiven) {
  Vertex2D t[6] = {};
  LayoutTriangle(t, 100, 10, 100, 50, 140, 10, 0xFF00FF00u);  // counter-clockwise as given
  EXPECT_GT(Winding(t), 0);
  for (int i = 3; i < 6; ++i) EXPECT_EQ(memcmp(&t[i], &t[0], sizeof t[0]), 0) << i;  // on one point
  EXPECT_EQ(t[1].x, 139.5f);
  EXPECT_EQ(t[1].y, 9.5f);
  LayoutTriangle(t, 100, 10, 140, 10, 100, 50, 7);  // clockwise: kept
  EXPECT_EQ(t[1].x, 139.5f);
  EXPECT_EQ(t[2].y, 49.5f);
  EXPECT_EQ(t[0].diffuse, 7u);
  EXPECT_EQ(t[0].z, 0.5f);
  EXPECT_EQ(t[0].rhw, 1.0f);
}

TEST(ShapeLayout, LinesAreRectanglesCentredOnTheSegment) {
  Vertex2D q[6], expected[6];
  LayoutLine(q, 10, 20, 60, 20, 3, 5);
  LayoutQuad(expected, 10, 18.5f, 60, 21.5f, 5, 0, 0, 0, 0);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(q[i].x, expected[i].x) << i;
    EXPECT_EQ(q[i].y, expected[i].y) << i;
  }
  LayoutLine(q, 60, 20, 10, 70, 4, 5);  // any direction: still clockwise, 4 wide
  EXPECT_GT(Winding(q), 0);
  EXPECT_GT(Winding(q + 3), 0);
  EXPECT_NEAR(std::hypot(q[2].x - q[0].x, q[2].y - q[0].y), 4, 1e-4);
  for (float width : {0.0f, -1.0f, NAN}) {
    LayoutLine(q, 1, 2, 3, 4, width, 5);
    EXPECT_EQ(Winding(q), 0);
  }
  LayoutLine(q, 1, 2, 1, 2, 3, 5);  // no length: nothing
  EXPECT_EQ(Winding(q) + Winding(q + 3), 0);
}

TEST(ShapeLayout, CirclesAndRingsHaveTheCircleArea) {
  for (float radius : {0.75f, 5.0f, 40.0f, 333.0f}) {
    SCOPED_TRACE(radius);
    const uint32_t n = CircleSegments(radius);
    std::vector<Vertex2D> v(n / 2 * QUAD_VERTICES);
    LayoutCircle(v.data(), 30, -7, radius, n, 9);
    EXPECT_NEAR(Area(v), kPi * radius * radius, 1e-5 * radius * radius);
    // Every corner, and so every chord, within half a pixel of the circle.
    for (const Vertex2D& p : v) {
      const double d = std::hypot(p.x + 0.5 - 30, p.y + 0.5 + 7);
      if (d > 1e-3) {
        EXPECT_NEAR(d, radius, 0.5);
      }
    }
    std::vector<Vertex2D> ring(n * QUAD_VERTICES);
    LayoutRing(ring.data(), 30, -7, radius, radius / 4, n, 9);
    const double inner = radius * 3 / 4;
    EXPECT_NEAR(Area(ring), kPi * (radius * radius - inner * inner), 1e-5 * radius * radius);
    LayoutRing(ring.data(), 30, -7, radius, radius * 2, n, 9);  // wider than the radius: filled
    EXPECT_NEAR(Area(ring), kPi * radius * radius, 1e-5 * radius * radius);
  }
}

TEST(ShapeLayout, RectOutlinesLieInsideTheRectangle) {
  std::vector<Vertex2D> v(RECT_LINE_GROUPS * QUAD_VERTICES);
  LayoutRectLine(v.data(), 50, 40, 10, 20, 2, 3);  // corners in any order
  EXPECT_NEAR(Area(v), 40 * 20 - 36 * 16, 1e-4);
  for (const Vertex2D& p : v) {
    EXPECT_TRUE(p.x >= 9.5f && p.x <= 49.5f && p.y >= 19.5f && p.y <= 39.5f) << p.x << "," << p.y;
  }
  LayoutRectLine(v.data(), 10, 20, 50, 40, 10, 3);  // as wide as half its height: filled
  EXPECT_NEAR(Area(v), 40 * 20, 1e-4);
  LayoutRectLine(v.data(), 10, 20, 50, 40, 0, 3);
  EXPECT_EQ(Area(v), 0);
}

TEST(BatchRuns, JoinsTouchingStretchesAndRefusesOverlaps) {
  BatchRuns runs = {};
  EXPECT_EQ(BatchRunsAdd(&runs, 6, 12), 0);
  EXPECT_EQ(BatchRunsAdd(&runs, 12, 30), 0);  // touching: one stretch
  EXPECT_EQ(BatchRunsAdd(&runs, 36, 42), 0);
  EXPECT_EQ(BatchRunsAdd(&runs, 40, 48), -1);  // overlaps the last
  EXPECT_EQ(BatchRunsAdd(&runs, 48, 48), -1);  // empty
  ASSERT_EQ(runs.count, 4u);
  EXPECT_EQ(std::vector<uint32_t>(runs.bounds, runs.bounds + 4), (std::vector<uint32_t>{6, 30, 36, 42}));
  for (uint32_t i = 0; i < 100; ++i) ASSERT_EQ(BatchRunsAdd(&runs, 100 + 12 * i, 106 + 12 * i), 0);
  EXPECT_EQ(runs.count, 204u);
  const uint32_t* storage = runs.bounds;
  BatchRunsEmpty(&runs);
  EXPECT_EQ(runs.count, 0u);
  EXPECT_EQ(BatchRunsAdd(&runs, 0, 6), 0);
  EXPECT_EQ(runs.bounds, storage);
  BatchRunsFree(&runs);
  EXPECT_TRUE(runs.bounds == nullptr && runs.count == 0 && runs.capacity == 0);
  BatchRunsFree(&runs);
  EXPECT_EQ(BatchRunsAdd(nullptr, 0, 6), -1);
}

}  // namespace
