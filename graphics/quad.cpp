// Quads, drawn at once from the stack or collected in the batch and drawn in one
// call per frame (the push into the batch is inline, in graphics.h), through the
// 2D camera while one is in force. Neither path binds a texture or sets a preset.
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "util/sin_table.h"

static HRESULT DrawVertices(const Vertex2D quad[QUAD_VERTICES]) {
  Gfx.lpDevice->SetFVF(VERTEX2D_FVF);  // result never reported
  return Gfx.lpDevice->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, VERTEX2D_STRIDE);
}

HRESULT DrawRect(float left, float top, float right, float bottom, D3DCOLOR color) {
  return DrawRectUV(left, top, right, bottom, color, 0.0f, 0.0f, 1.0f, 1.0f);
}

HRESULT DrawRectCenter(float cx, float cy, float halfWidth, float halfHeight, D3DCOLOR color) {
  return DrawRect(cx - halfWidth, cy - halfHeight, cx + halfWidth, cy + halfHeight, color);
}

HRESULT DrawRectUV(float left, float top, float right, float bottom, D3DCOLOR color,
                   float uLeft, float vTop, float uRight, float vBottom) {
  if (Gfx.lpDevice == NULL) return E_FAIL;
  Vertex2D quad[QUAD_VERTICES];
  if (Gfx.camera2dOn) {
    LayoutQuadCamera2D(quad, Gfx.camera2d, left, top, right, bottom, color, uLeft, vTop, uRight,
                       vBottom);
  } else {
    LayoutQuad(quad, left, top, right, bottom, color, uLeft, vTop, uRight, vBottom);
  }
  return DrawVertices(quad);
}

// The device test is made by the inline PushRect.
HRESULT PushRectCamera2D(float left, float top, float right, float bottom, D3DCOLOR color) {
  Vertex2D* quad = QuadBatchAppendSpace(&Gfx.batch);
  if (quad == NULL) return E_FAIL;
  LayoutQuadCamera2D(quad, Gfx.camera2d, left, top, right, bottom, color, 0.0f, 0.0f, 1.0f, 1.0f);
  return 0;
}

// Empties the batch in every case, so quads that failed to draw never come back.
HRESULT FlushRects() {
  HRESULT hr = E_FAIL;
  if (Gfx.lpDevice != NULL && Gfx.batch.count > 0) {
    if (Gfx.shapeRuns.count > 0) {
      hr = DrawBatchWithShapes();
    } else {
      Gfx.lpDevice->SetFVF(VERTEX2D_FVF);
      hr = Gfx.lpDevice->DrawPrimitiveUP(D3DPT_TRIANGLELIST, Gfx.batch.count / 3,
                                         Gfx.batch.vertices, VERTEX2D_STRIDE);
    }
  }
  QuadBatchEmpty(&Gfx.batch);
  BatchRunsEmpty(&Gfx.shapeRuns);
  return hr;
}

static void LayoutSprite(Vertex2D out[QUAD_VERTICES], const QuadDesc* q) {
  if (GetSin(SIN_TABLE_SIZE / 4) == 0) InitSinTable();  // the game has not filled it
  const bool whole = q->u0 == 0 && q->v0 == 0 && q->u1 == 0 && q->v1 == 0;
  float cx = q->cx, cy = q->cy, hw = q->halfWidth, hh = q->halfHeight;
  uint32_t angle = (uint32_t)q->angle;  // unsigned, so that any angle wraps
  if (Gfx.camera2dOn) {
    // The centre moved, the size zoomed, the turns added: one table entry for both.
    Camera2DWorldToScreen(Gfx.camera2d, &cx, &cy);
    hw *= Gfx.camera2d.zoom;
    hh *= Gfx.camera2d.zoom;
    angle += (uint32_t)Gfx.camera2d.angle;
  }
  // A quarter turn on is the cosine.
  const int32_t quarterOn = (int32_t)(angle + SIN_TABLE_SIZE / 4);
  LayoutTurnedQuad(out, cx, cy, hw, hh, GetSin(quarterOn),
                   GetSin((int32_t)angle), q->color, whole ? 0.0f : q->u0, whole ? 0.0f : q->v0,
                   whole ? 1.0f : q->u1, whole ? 1.0f : q->v1);
}

HRESULT DrawQuad(const QuadDesc* quad) {
  if (Gfx.lpDevice == NULL || quad == NULL) return E_FAIL;
  Vertex2D vertices[QUAD_VERTICES];
  LayoutSprite(vertices, quad);
  return DrawVertices(vertices);
}

HRESULT PushQuad(const QuadDesc* quad) {
  if (Gfx.lpDevice == NULL || quad == NULL) return E_FAIL;
  Vertex2D* vertices = QuadBatchAppendSpace(&Gfx.batch);
  if (vertices == NULL) return E_FAIL;
  LayoutSprite(vertices, quad);
  return 0;
}
