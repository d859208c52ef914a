// Not for games: installed only because the inline PushRect of graphics/graphics.h needs it.
// The quad batch: a growable array of vertices appended six at a time and drawn
// in one call. Platform-free, so its growth is tested under the sanitizers.
#pragma once
#include <stdint.h>

#include "graphics/quad_layout.h"

struct QuadBatch {
  Vertex2D* vertices;    // null until the first append
  uint32_t count;        // vertices held, always a multiple of 6
  uint32_t capacity;     // vertices the storage can hold
  uint32_t maxVertices;  // growth stops here; 0 means QUAD_BATCH_MAX_VERTICES
};

enum : uint32_t {
  QUAD_BATCH_FIRST_CAPACITY = QUAD_VERTICES * 1024,
  // The largest batch whose byte size stays below 2 GiB.
  QUAD_BATCH_MAX_VERTICES = (0x7FFFFFFFu / VERTEX2D_STRIDE) / QUAD_VERTICES * QUAD_VERTICES,
};

// The capacity to grow to so that `needed` vertices fit: double, at least the
// first capacity, never beyond the limit. 0 when `needed` cannot fit.
uint32_t QuadBatchGrowth(uint32_t capacity, uint32_t needed, uint32_t maxVertices);

// Appends one quad. Returns 0, or -1 when the batch cannot grow; the vertices
// already held are then kept untouched.
int QuadBatchAppend(QuadBatch* batch, const Vertex2D quad[QUAD_VERTICES]);

// Appends room for one quad, for the caller to fill in place, and returns it;
// null when the batch cannot grow, as for QuadBatchAppend.
inline Vertex2D* QuadBatchAppendSpace(QuadBatch* batch);

// QuadBatchAppendSpace when the storage may have to grow first.
Vertex2D* QuadBatchAppendGrowing(QuadBatch* batch);

// Room for quads quads (1 or more) at once, as QuadBatchAppendSpace gives one;
// null, the batch kept, when it cannot grow that far.
Vertex2D* QuadBatchAppendQuads(QuadBatch* batch, uint32_t quads);

// Inline: once per quad. Room for one more quad in the storage is the common case.
inline Vertex2D* QuadBatchAppendSpace(QuadBatch* batch) {
  if (batch == nullptr || batch->capacity < QUAD_VERTICES ||
      batch->count > batch->capacity - QUAD_VERTICES) {
    return QuadBatchAppendGrowing(batch);
  }
  Vertex2D* space = batch->vertices + batch->count;
  batch->count += QUAD_VERTICES;
  return space;
}

// Drops the vertices and keeps the storage for the next frame.
void QuadBatchEmpty(QuadBatch* batch);

// Frees the storage; the batch is empty and usable again.
void QuadBatchFree(QuadBatch* batch);
