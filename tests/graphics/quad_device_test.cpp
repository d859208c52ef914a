// Immediate quads and the batch through the recording fake device.
#include "gfx_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class QuadTest : public GfxTest {
 protected:
  void SetUp() override {
    GfxTest::SetUp();
    Start();
  }
  const fake_d3d::DrawCall& LastDraw() { return Dev().draws.back(); }
};

void ExpectQuad(const Vertex2D* v, float l, float t, float r, float b, D3DCOLOR color, float u0,
                float v0, float u1, float v1) {
  Vertex2D expected[6];
  LayoutQuad(expected, l, t, r, b, color, u0, v0, u1, v1);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(memcmp(&v[i], &expected[i], sizeof(Vertex2D)), 0)
        << v[i].x << "," << v[i].y << " u " << v[i].u << "," << v[i].v;
  }
}

TEST_F(QuadTest, AnImmediateQuadSetsOnlyTheFormatAndDrawsTwoTriangles) {
  ASSERT_EQ(DrawRect(0, 0, 800, 600, 0xFF00FF00), 0);
  EXPECT_EQ(fake_d3d::Log(), (Strings{"SetFVF(0x144)", "DrawPrimitiveUP(4,2,28)"}));
  ASSERT_EQ(Dev().draws.size(), 1u);
  const Vertex2D* v = LastDraw().Vertices<Vertex2D>();
  EXPECT_EQ(v[0].x, -0.5f);
  EXPECT_EQ(v[4].x, 799.5f);
  EXPECT_EQ(v[4].y, 599.5f);
  ExpectQuad(v, 0, 0, 800, 600, 0xFF00FF00, 0, 0, 1, 1);

  ASSERT_EQ(DrawRectCenter(100, 50, 16, 8, 0x11223344), 0);  // half extents
  ExpectQuad(LastDraw().Vertices<Vertex2D>(), 84, 42, 116, 58, 0x11223344, 0, 0, 1, 1);
  ASSERT_EQ(DrawRectCenter(5, 5, 0, 0, 0), 0);  // degenerate, drawn all the same
  ASSERT_EQ(DrawRectUV(0, 0, 64, 32, 0xFFFFFFFF, 0.5f, 0.5f, 0, 0), 0);  // mirrored texture
  ExpectQuad(LastDraw().Vertices<Vertex2D>(), 0, 0, 64, 32, 0xFFFFFFFF, 0.5f, 0.5f, 0, 0);
  EXPECT_EQ(LastDraw().fvf, 0x144u);
  EXPECT_EQ(Dev().draws.size(), 4u);
}

TEST_F(QuadTest, TheDrawCallsResultIsReportedAndTheFormatCallsIsNot) {
  fake_d3d::FailCall("SetFVF", 1, D3DERR_INVALIDCALL);
  EXPECT_EQ(DrawRect(0, 0, 1, 1, 0), 0);
  fake_d3d::FailCall("DrawPrimitiveUP", 1, D3DERR_INVALIDCALL);
  EXPECT_EQ(DrawRectUV(0, 0, 1, 1, 0, 0, 0, 1, 1), D3DERR_INVALIDCALL);
}

TEST_F(QuadTest, TheBatchDrawsEveryPushedQuadInOneCallAndEmpties) {
  EXPECT_EQ(FlushRects(), E_FAIL);  // empty: no format, no draw
  EXPECT_TRUE(fake_d3d::Log().empty());

  ASSERT_EQ(PushRect(0, 0, 10, 10, 1), 0);
  ASSERT_EQ(PushRectCenter(20, 20, 4, 2, 2), 0);
  EXPECT_TRUE(fake_d3d::Log().empty());  // pushing touches memory only
  ASSERT_EQ(FlushRects(), 0);  // nothing is flushed automatically in between
  ASSERT_EQ(PushRect(30, 30, 31, 32, 3), 0);
  ASSERT_EQ(PushRect(40, 40, 41, 42, 4), 0);
  ASSERT_EQ(PushRect(50, 50, 51, 52, 5), 0);
  const QuadDesc sprites[] = {{60, 60, 2, 3, 0, 6, 0, 0, 0, 0}, {70, 70, 2, 3, 2048, 7, 0, 0, 0, 0},
                              {80, 80, 2, 3, -8192, 8, 0.5f, 0, 1, 0.25f}};
  for (const QuadDesc& sprite : sprites) ASSERT_EQ(PushQuad(&sprite), 0);
  const Vertex2D* storage = Gfx.batch.vertices;
  fake_d3d::ClearLog();
  ASSERT_EQ(FlushRects(), 0);  // upright, turned and sheet quads: one call
  EXPECT_EQ(fake_d3d::Log(), (Strings{"SetFVF(0x144)", "DrawPrimitiveUP(4,12,28)"}));
  ASSERT_EQ(LastDraw().VertexCount(), 36u);
  const Vertex2D* v = LastDraw().Vertices<Vertex2D>();
  ExpectQuad(v, 30, 30, 31, 32, 3, 0, 0, 1, 1);
  ExpectQuad(v + 12, 50, 50, 51, 52, 5, 0, 0, 1, 1);
  ExpectQuad(v + 18, 58, 57, 62, 63, 6, 0, 0, 1, 1);  // angle 0: PushRectCenter's quad
  ExpectQuad(v + 30, 78, 77, 82, 83, 8, 0.5f, 0, 1, 0.25f);
  EXPECT_EQ(Gfx.batch.count, 0u);
  EXPECT_EQ(Gfx.batch.vertices, storage);  // the storage stays for the next frame

  ExpectQuad(Dev().draws[0].Vertices<Vertex2D>() + 6, 16, 18, 24, 22, 2, 0, 0, 1, 1);
  EXPECT_EQ(FlushRects(), E_FAIL);
}

TEST_F(QuadTest, FailedFlushesStillEmptyTheBatch) {
  PushRect(0, 0, 1, 1, 0);
  fake_d3d::FailCall("DrawPrimitiveUP", 1, D3DERR_INVALIDCALL);
  EXPECT_EQ(FlushRects(), D3DERR_INVALIDCALL);
  EXPECT_EQ(Gfx.batch.count, 0u);

  PushRect(0, 0, 1, 1, 0);
  IDirect3DDevice9* device = Gfx.lpDevice;
  Gfx.lpDevice = NULL;
  EXPECT_EQ(PushRect(0, 0, 1, 1, 0), E_FAIL);
  EXPECT_EQ(Gfx.batch.count, 6u);  // unchanged by the refused push
  EXPECT_EQ(PushRectCenter(0, 0, 1, 1, 0), E_FAIL);
  EXPECT_EQ(PushQuadSpace(1), nullptr);
  EXPECT_EQ(DrawRect(0, 0, 1, 1, 0), E_FAIL);
  EXPECT_EQ(DrawRectCenter(0, 0, 1, 1, 0), E_FAIL);
  EXPECT_EQ(DrawRectUV(0, 0, 1, 1, 0, 0, 0, 1, 1), E_FAIL);
  EXPECT_EQ(FlushRects(), E_FAIL);
  EXPECT_EQ(Gfx.batch.count, 0u);
  Gfx.lpDevice = device;
  EXPECT_TRUE(DrawQuad(NULL) == E_FAIL && PushQuad(NULL) == E_FAIL);
  EXPECT_TRUE(Dev().draws.empty());
}

TEST_F(QuadTest, AFullBatchRefusesNewQuadsAndKeepsItsOwn) {
  Gfx.batch.maxVertices = 12;
  ASSERT_EQ(PushRect(1, 1, 2, 2, 1), 0);
  ASSERT_EQ(PushRect(3, 3, 4, 4, 2), 0);
  EXPECT_EQ(PushRect(5, 5, 6, 6, 3), E_FAIL);
  EXPECT_EQ(PushRectCenter(5, 5, 1, 1, 3), E_FAIL);
  EXPECT_EQ(PushQuadSpace(1), nullptr);
  Gfx.batch.maxVertices = 24;
  EXPECT_TRUE(PushQuadSpace(3) == NULL && PushQuadSpace(0) == NULL && PushQuadSpace(-1) == NULL);
  LayoutQuad(PushQuadSpace(2) + 6, 7, 7, 8, 8, 4, 0, 0, 1, 1);  // the second of two
  ASSERT_EQ(FlushRects(), 0);
  ExpectQuad(LastDraw().Vertices<Vertex2D>() + 18, 7, 7, 8, 8, 4, 0, 0, 1, 1);
  Gfx.batch.maxVertices = 12;
  ASSERT_EQ(PushRect(1, 1, 2, 2, 1), 0);
  ASSERT_EQ(PushRect(3, 3, 4, 4, 2), 0);
  ASSERT_EQ(FlushRects(), 0);
  EXPECT_EQ(LastDraw().primitives, 4u);
  ExpectQuad(LastDraw().Vertices<Vertex2D>() + 6, 3, 3, 4, 4, 2, 0, 0, 1, 1);
}

}  // namespace
