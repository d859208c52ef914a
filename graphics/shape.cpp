// Lines, triangles, circles and outlines, drawn at once or pushed into the quad
// batch, untextured: the texture bound is taken off for their draw calls and put
// back after. The camera moves their vertices once laid out in world units.
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "graphics/shape_layout.h"

static HRESULT DrawUntextured(const Vertex2D* vertices, uint32_t count) {
  IDirect3DDevice9* device = Gfx.lpDevice;
  IDirect3DBaseTexture9* bound = NULL;
  device->GetTexture(0, &bound);
  if (bound != NULL) device->SetTexture(0, NULL);
  device->SetFVF(VERTEX2D_FVF);  // result never reported
  const HRESULT hr = device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, count / 3, vertices,
                                             VERTEX2D_STRIDE);
  if (bound != NULL) {
    device->SetTexture(0, bound);
    bound->Release();  // GetTexture added a reference
  }
  return hr;
}

static HRESULT DrawTextured(const Vertex2D* vertices, uint32_t count) {
  Gfx.lpDevice->SetFVF(VERTEX2D_FVF);
  return Gfx.lpDevice->DrawPrimitiveUP(D3DPT_TRIANGLELIST, count / 3, vertices, VERTEX2D_STRIDE);
}

HRESULT DrawBatchWithShapes() {
  const QuadBatch& batch = Gfx.batch;
  const BatchRuns& runs = Gfx.shapeRuns;
  HRESULT result = 0;
  uint32_t done = 0;
  for (uint32_t i = 0; i + 1 < runs.count && done < batch.count; i += 2) {
    const uint32_t start = runs.bounds[i] < batch.count ? runs.bounds[i] : batch.count;
    const uint32_t end = runs.bounds[i + 1] < batch.count ? runs.bounds[i + 1] : batch.count;
    HRESULT hr = start > done ? DrawTextured(batch.vertices + done, start - done) : 0;
    if (result == 0) result = hr;
    hr = end > start ? DrawUntextured(batch.vertices + start, end - start) : 0;
    if (result == 0) result = hr;
    done = end;
  }
  if (done < batch.count) {
    const HRESULT hr = DrawTextured(batch.vertices + done, batch.count - done);
    if (result == 0) result = hr;
  }
  return result;
}

// Room for groups six-vertex groups: in the batch, or in the scratch for a draw.
static Vertex2D* ShapeSpace(bool push, uint32_t groups) {
  if (Gfx.lpDevice == NULL || groups == 0) return NULL;
  return QuadBatchAppendQuads(push ? &Gfx.batch : &Gfx.shapeScratch, groups);
}

// The shape laid out at the end of the batch or the scratch, through the camera,
// then pushed (marked as a shape's) or drawn. The space is given back on failure.
static HRESULT FinishShape(bool push, Vertex2D* vertices, uint32_t groups) {
  const uint32_t count = groups * QUAD_VERTICES;
  if (Gfx.camera2dOn) Camera2DVertices(Gfx.camera2d, vertices, count);
  if (push) {
    const uint32_t start = Gfx.batch.count - count;
    if (BatchRunsAdd(&Gfx.shapeRuns, start, Gfx.batch.count) == 0) return 0;
    Gfx.batch.count = start;
    return E_FAIL;
  }
  const HRESULT hr = DrawUntextured(vertices, count);
  QuadBatchEmpty(&Gfx.shapeScratch);
  return hr;
}

static HRESULT Line(bool push, float x0, float y0, float x1, float y1, float width,
                    D3DCOLOR color) {
  Vertex2D* v = ShapeSpace(push, 1);
  if (v == NULL) return E_FAIL;
  LayoutLine(v, x0, y0, x1, y1, width, color);
  return FinishShape(push, v, 1);
}

static HRESULT Triangle(bool push, float x0, float y0, float x1, float y1, float x2, float y2,
                        D3DCOLOR color) {
  Vertex2D* v = ShapeSpace(push, 1);
  if (v == NULL) return E_FAIL;
  LayoutTriangle(v, x0, y0, x1, y1, x2, y2, color);
  return FinishShape(push, v, 1);
}

// Segments for the circle as drawn: its radius in screen pixels.
static uint32_t ScreenSegments(float radius) {
  return CircleSegments(Gfx.camera2dOn ? radius * Gfx.camera2d.zoom : radius);
}

static HRESULT Circle(bool push, float cx, float cy, float radius, D3DCOLOR color) {
  if (Gfx.lpDevice == NULL) return E_FAIL;
  const uint32_t segments = ScreenSegments(radius);
  if (segments == 0) return 0;  // nothing to draw
  Vertex2D* v = ShapeSpace(push, segments / 2);
  if (v == NULL) return E_FAIL;
  LayoutCircle(v, cx, cy, radius, segments, color);
  return FinishShape(push, v, segments / 2);
}

HRESULT DrawLine(float x0, float y0, float x1, float y1, float width, D3DCOLOR color) {
  return Line(false, x0, y0, x1, y1, width, color);
}

HRESULT PushLine(float x0, float y0, float x1, float y1, float width, D3DCOLOR color) {
  return Line(true, x0, y0, x1, y1, width, color);
}

HRESULT DrawTriangle(float x0, float y0, float x1, float y1, float x2, float y2, D3DCOLOR color) {
  return Triangle(false, x0, y0, x1, y1, x2, y2, color);
}

HRESULT PushTriangle(float x0, float y0, float x1, float y1, float x2, float y2, D3DCOLOR color) {
  return Triangle(true, x0, y0, x1, y1, x2, y2, color);
}

HRESULT DrawCircle(float cx, float cy, float radius, D3DCOLOR color) {
  return Circle(false, cx, cy, radius, color);
}

HRESULT PushCircle(float cx, float cy, float radius, D3DCOLOR color) {
  return Circle(true, cx, cy, radius, color);
}

HRESULT DrawCircleLine(float cx, float cy, float radius, float width, D3DCOLOR color) {
  if (Gfx.lpDevice == NULL) return E_FAIL;
  const uint32_t segments = ScreenSegments(radius);
  if (segments == 0 || !(width > 0)) return 0;  // nothing to draw
  Vertex2D* v = ShapeSpace(false, segments);
  if (v == NULL) return E_FAIL;
  LayoutRing(v, cx, cy, radius, width, segments, color);
  return FinishShape(false, v, segments);
}

HRESULT DrawRectLine(float left, float top, float right, float bottom, float width,
                     D3DCOLOR color) {
  Vertex2D* v = ShapeSpace(false, RECT_LINE_GROUPS);
  if (v == NULL) return E_FAIL;
  LayoutRectLine(v, left, top, right, bottom, width, color);
  return FinishShape(false, v, RECT_LINE_GROUPS);
}
