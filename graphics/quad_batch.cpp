#include "graphics/quad_batch.h"

#include <stdlib.h>
#include <string.h>

uint32_t QuadBatchGrowth(uint32_t capacity, uint32_t needed, uint32_t maxVertices) {
  uint32_t limit = maxVertices == 0 || maxVertices > QUAD_BATCH_MAX_VERTICES
                       ? QUAD_BATCH_MAX_VERTICES
                       : maxVertices;
  limit -= limit % QUAD_VERTICES;
  if (needed > limit) return 0;
  // No overflow: capacity never exceeds QUAD_BATCH_MAX_VERTICES (< 2^27).
  uint32_t next = capacity < QUAD_BATCH_FIRST_CAPACITY / 2 ? QUAD_BATCH_FIRST_CAPACITY
                                                            : capacity * 2;
  if (next < needed) next = needed;
  if (next > limit) next = limit;
  return next;
}

Vertex2D* QuadBatchAppendGrowing(QuadBatch* batch) { return QuadBatchAppendQuads(batch, 1); }

Vertex2D* QuadBatchAppendQuads(QuadBatch* batch, uint32_t quads) {
  if (batch == nullptr || quads == 0) return nullptr;
  // In quads first: quads * QUAD_VERTICES must not wrap.
  if (quads > (QUAD_BATCH_MAX_VERTICES - batch->count) / QUAD_VERTICES) return nullptr;
  uint32_t needed = batch->count + quads * QUAD_VERTICES;
  if (needed > batch->capacity) {
    uint32_t grown = QuadBatchGrowth(batch->capacity, needed, batch->maxVertices);
    if (grown == 0) return nullptr;
    // realloc leaves the old block intact when it fails.
    void* storage = realloc(batch->vertices, (size_t)grown * sizeof(Vertex2D));
    if (storage == nullptr) return nullptr;
    batch->vertices = static_cast<Vertex2D*>(storage);
    batch->capacity = grown;
  }
  Vertex2D* space = batch->vertices + batch->count;
  batch->count = needed;
  return space;
}

int QuadBatchAppend(QuadBatch* batch, const Vertex2D quad[QUAD_VERTICES]) {
  if (quad == nullptr) return -1;
  Vertex2D* space = QuadBatchAppendSpace(batch);
  if (space == nullptr) return -1;
  memcpy(space, quad, QUAD_VERTICES * sizeof(Vertex2D));
  return 0;
}

void QuadBatchEmpty(QuadBatch* batch) {
  if (batch != nullptr) batch->count = 0;
}

void QuadBatchFree(QuadBatch* batch) {
  if (batch == nullptr) return;
  free(batch->vertices);
  batch->vertices = nullptr;
  batch->count = 0;
  batch->capacity = 0;
}
