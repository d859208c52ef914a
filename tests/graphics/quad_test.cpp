// Quad layout and the growth of the quad batch (also run natively under the
// sanitizers).
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "graphics/quad_batch.h"
#include "graphics/quad_layout.h"

namespace {

// Positive when the triangle runs clockwise on a screen whose y points down.
float Winding(const Vertex2D* t) {
  return (t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[1].y - t[0].y) * (t[2].x - t[0].x);
}

void ExpectVertex(const Vertex2D& v, float x, float y, float u, float tv, uint32_t color) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
  EXPECT_EQ(v.z, 0.5f);
  EXPECT_EQ(v.rhw, 1.0f);
  EXPECT_EQ(v.diffuse, color);
  EXPECT_EQ(v.u, u);
  EXPECT_EQ(v.v, tv);
}

TEST(QuadLayout, SixVerticesOffsetByMinusHalfInFixedOrder) {
  // Both ways of storing: at a 16-byte boundary and 8 bytes past one.
  alignas(16) uint8_t room[sizeof(Vertex2D) * 6 + 8];
  for (size_t offset : {0, 8}) {
    Vertex2D* q = reinterpret_cast<Vertex2D*>(room + offset);
    LayoutQuad(q, 0, 0, 800, 600, 0x80FF0102u, 0, 0, 1, 1);
    ExpectVertex(q[0], -0.5f, -0.5f, 0, 0, 0x80FF0102u);
    ExpectVertex(q[1], 799.5f, -0.5f, 1, 0, 0x80FF0102u);
    ExpectVertex(q[2], -0.5f, 599.5f, 0, 1, 0x80FF0102u);
    ExpectVertex(q[3], 799.5f, -0.5f, 1, 0, 0x80FF0102u);
    ExpectVertex(q[4], 799.5f, 599.5f, 1, 1, 0x80FF0102u);
    ExpectVertex(q[5], -0.5f, 599.5f, 0, 1, 0x80FF0102u);
    EXPECT_GT(Winding(q), 0);
    EXPECT_GT(Winding(q + 3), 0);

    LayoutQuad(q, 10.25f, 3, 12, 7, 0, 0.25f, 0.75f, 0.5f, 0.125f);  // texture rectangle as given
    const float x[] = {9.75f, 11.5f}, y[] = {2.5f, 6.5f}, u[] = {0.25f, 0.5f}, v[] = {0.75f, 0.125f};
    const int corner[6][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 6; ++i) {
      const int h = corner[i][0], w = corner[i][1];
      ExpectVertex(q[i], x[h], y[w], u[h], v[w], 0);
    }
  }
}

TEST(QuadLayout, CornersAreNeverSorted) {
  Vertex2D q[6];
  LayoutQuad(q, 8, 0, 0, 4, 0, 0, 0, 1, 1);  // mirrored in x: counter-clockwise
  EXPECT_EQ(q[0].x, 7.5f);
  EXPECT_LT(Winding(q), 0);
  EXPECT_LT(Winding(q + 3), 0);
  LayoutQuad(q, 8, 4, 0, 0, 0, 0, 0, 1, 1);  // mirrored in both: clockwise, texture turned
  EXPECT_GT(Winding(q), 0);
  EXPECT_GT(Winding(q + 3), 0);
  EXPECT_EQ(q[0].x, 7.5f);
  EXPECT_EQ(q[0].y, 3.5f);
  EXPECT_EQ(q[0].u, 0.0f);  // the texture's top-left lands bottom-right
}

// The pair lays out what two single calls lay out, mirrored and fractional corners too.
TEST(QuadLayout, APairIsTwoQuadsOfTheWholeTexture) {
  const float corners[][4] = {{0, 0, 800, 600}, {10.25f, 3, 12, 7}, {8, 4, 0, 0}, {-1e9f, 0.5f, 3, 2}};
  alignas(16) Vertex2D pair[12];
  Vertex2D single[12];
  for (const float* a : corners) {
    for (const float* b : corners) {
      LayoutQuadPair(pair, _mm_loadu_ps(a), _mm_loadu_ps(b), 0x80FF0102u);
      LayoutQuad(single, a[0], a[1], a[2], a[3], 0x80FF0102u, 0, 0, 1, 1);
      LayoutQuad(single + 6, b[0], b[1], b[2], b[3], 0x80FF0102u, 0, 0, 1, 1);
      ASSERT_EQ(0, memcmp(pair, single, sizeof pair)) << a[0] << " " << b[0];
    }
  }
}

TEST(QuadLayout, TurnedQuadsAreTheUprightOnesAtNoTurnAndTurnClockwise) {
  Vertex2D turned[6], upright[6], q[6];
  LayoutTurnedQuad(turned, 0.1f, 7.3f, 3.7f, 0.3f, 1, 0, 7, 0.25f, 0.5f, 0.75f, 1);
  LayoutQuad(upright, 0.1f - 3.7f, 7.3f - 0.3f, 0.1f + 3.7f, 7.3f + 0.3f, 7, 0.25f, 0.5f, 0.75f, 1);
  EXPECT_EQ(memcmp(turned, upright, sizeof turned), 0);
  LayoutTurnedQuad(q, 20, 30, 20, 5, 0, 1, 7, 0, 0, 1, 1);  // a quarter turn clockwise:
  ExpectVertex(q[0], 24.5f, 9.5f, 0, 0, 7);                 // top-left goes to top-right
  ExpectVertex(q[4], 14.5f, 49.5f, 1, 1, 7);
  EXPECT_GT(Winding(q) * Winding(q + 3), 0);
}

Vertex2D QuadVertex(uint32_t quad, int corner) {
  return Vertex2D{(float)quad, (float)corner, 0.5f, 1.0f, quad * 7u + corner, 0, 1};
}

void AppendNumbered(QuadBatch* batch, uint32_t quad) {
  Vertex2D q[6];
  for (int i = 0; i < 6; ++i) q[i] = QuadVertex(quad, i);
  ASSERT_EQ(QuadBatchAppend(batch, q), 0) << quad;
}

void ExpectNumbered(const QuadBatch& batch, uint32_t quads) {
  ASSERT_EQ(batch.count, quads * 6);
  for (uint32_t i = 0; i < batch.count; ++i) {
    ASSERT_EQ(batch.vertices[i].diffuse, (i / 6) * 7u + i % 6) << i;
    ASSERT_EQ(batch.vertices[i].x, (float)(i / 6)) << i;
  }
}

TEST(QuadBatch, GrowsWithoutLosingQuadsAndKeepsStorageWhenEmptied) {
  QuadBatch batch = {};
  const uint32_t quads = 3 * QUAD_BATCH_FIRST_CAPACITY / 6 + 5;  // crosses two growths
  uint32_t i = 0;
  for (; i < QUAD_BATCH_FIRST_CAPACITY / 6; ++i) AppendNumbered(&batch, i);
  EXPECT_EQ(batch.capacity, QUAD_BATCH_FIRST_CAPACITY);  // full, not yet grown
  for (; i < quads; ++i) AppendNumbered(&batch, i);
  ExpectNumbered(batch, quads);
  EXPECT_EQ(batch.capacity, 4 * QUAD_BATCH_FIRST_CAPACITY);

  const Vertex2D* storage = batch.vertices;
  QuadBatchEmpty(&batch);
  EXPECT_EQ(batch.count, 0u);
  for (uint32_t i = 0; i < quads; ++i) AppendNumbered(&batch, i);
  EXPECT_EQ(batch.vertices, storage);  // no new allocation for a frame no larger
  ExpectNumbered(batch, quads);

  QuadBatchFree(&batch);
  EXPECT_EQ(batch.vertices, nullptr);
  EXPECT_EQ(batch.capacity, 0u);
  EXPECT_EQ(batch.count, 0u);
  AppendNumbered(&batch, 0);  // usable again
  QuadBatchFree(&batch);
}

TEST(QuadBatch, AtItsLimitAnAppendFailsAndKeepsWhatItHolds) {
  QuadBatch batch = {};
  EXPECT_EQ(QuadBatchAppend(&batch, nullptr), -1);
  EXPECT_EQ(batch.count, 0u);
  batch.maxVertices = 17;  // rounded down to whole quads: two
  AppendNumbered(&batch, 0);
  AppendNumbered(&batch, 1);
  Vertex2D q[6] = {};
  EXPECT_EQ(QuadBatchAppend(&batch, q), -1);
  EXPECT_EQ(batch.capacity, 12u);
  ExpectNumbered(batch, 2);
  EXPECT_EQ(QuadBatchAppend(nullptr, q), -1);
  EXPECT_EQ(QuadBatchAppend(&batch, nullptr), -1);
  // Room for many at once: all of them or none, and no count that wraps.
  batch.maxVertices = 0;
  for (uint32_t quads : {0u, 0x2AAAAAABu, 0xFFFFFFFFu, QUAD_BATCH_MAX_VERTICES / 6})
    EXPECT_EQ(QuadBatchAppendQuads(&batch, quads), nullptr) << quads;
  EXPECT_EQ(QuadBatchAppendQuads(nullptr, 1), nullptr);
  ExpectNumbered(batch, 2);
  const Vertex2D* room = QuadBatchAppendQuads(&batch, 1000);  // grows
  EXPECT_EQ(room, batch.vertices + 12);
  EXPECT_EQ(batch.count, 12u + 6000u);
  // Filled to the last quad, then exactly: no growth.
  ASSERT_EQ(batch.capacity, QUAD_BATCH_FIRST_CAPACITY);
  QuadBatchAppendQuads(&batch, (batch.capacity - batch.count) / 6 - 1);
  room = QuadBatchAppendQuads(&batch, 1);
  EXPECT_EQ(room, batch.vertices + QUAD_BATCH_FIRST_CAPACITY - 6);
  EXPECT_EQ(batch.capacity, QUAD_BATCH_FIRST_CAPACITY);
  // One quad short of the largest batch, one more fits (counts as such a batch
  // holds them; nothing is written).
  Vertex2D one[6];
  QuadBatch limit = {one, QUAD_BATCH_MAX_VERTICES - 6, QUAD_BATCH_MAX_VERTICES, 0};
  EXPECT_NE(QuadBatchAppendQuads(&limit, 1), nullptr);
  EXPECT_EQ(QuadBatchAppendQuads(&limit, 1), nullptr);
  QuadBatchFree(&batch);
  QuadBatchFree(nullptr);
  QuadBatchEmpty(nullptr);
}

TEST(QuadBatch, GrowthDoublesFromAFirstBlockAndStopsAtTheLimit) {
  const uint32_t first = QUAD_BATCH_FIRST_CAPACITY;
  EXPECT_EQ(QuadBatchGrowth(0, 6, 0), first);
  EXPECT_EQ(QuadBatchGrowth(first, first + 6, 0), 2 * first);
  EXPECT_EQ(QuadBatchGrowth(2 * first, 2 * first + 6, 0), 4 * first);  // doubles, not steps
  EXPECT_EQ(QuadBatchGrowth(0, 3 * first, 0), 3 * first);               // never less than asked
  EXPECT_EQ(QuadBatchGrowth(2502, 2508, 0), first);  // doubling would give less than a first block
  EXPECT_EQ(QuadBatchGrowth(first, first + 6, first + 600), first + 600);  // clamped
  EXPECT_EQ(QuadBatchGrowth(first, first + 6, first), 0u);                 // cannot fit
  EXPECT_EQ(QuadBatchGrowth(0, 6, 13), 12u);
  EXPECT_EQ(QuadBatchGrowth(QUAD_BATCH_MAX_VERTICES - 6, QUAD_BATCH_MAX_VERTICES, 0),
            (uint32_t)QUAD_BATCH_MAX_VERTICES);
  EXPECT_EQ(QuadBatchGrowth(QUAD_BATCH_MAX_VERTICES, QUAD_BATCH_MAX_VERTICES + 6, 0), 0u);
  // Every capacity it hands out holds whole quads and fits in 2 GiB.
  EXPECT_EQ(QUAD_BATCH_MAX_VERTICES % 6, 0u);
  EXPECT_LT((uint64_t)QUAD_BATCH_MAX_VERTICES * sizeof(Vertex2D), 0x80000000ull);
}

// Run by its own test entry, whose allocator fails allocations over 1 MiB.
TEST(QuadBatch, DISABLED_AFailedAllocationKeepsWhatItHolds) {
  QuadBatch batch = {nullptr, 0, 0, 16 * QUAD_BATCH_FIRST_CAPACITY};  // ends if none fails
  Vertex2D q[6] = {};
  while (QuadBatchAppend(&batch, q) == 0) {}
  EXPECT_EQ(batch.count, 4 * QUAD_BATCH_FIRST_CAPACITY);  // 8 first blocks exceed 1 MiB
  EXPECT_EQ(batch.capacity, 4 * QUAD_BATCH_FIRST_CAPACITY);
  QuadBatchFree(&batch);
}

}  // namespace
