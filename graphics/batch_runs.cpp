#include "graphics/batch_runs.h"

#include <stdlib.h>

int BatchRunsAdd(BatchRuns* runs, uint32_t start, uint32_t end) {
  if (runs == nullptr || start >= end) return -1;
  if (runs->count > 0) {
    uint32_t& last = runs->bounds[runs->count - 1];
    if (start < last) return -1;  // out of order: would draw twice
    if (start == last) {
      last = end;
      return 0;
    }
  }
  if (runs->count + 2 > runs->capacity) {
    // Bounded by the batch: a stretch needs at least one group of vertices.
    const uint32_t grown = runs->capacity < 16 ? 16 : runs->capacity * 2;
    void* storage = realloc(runs->bounds, (size_t)grown * sizeof(uint32_t));
    if (storage == nullptr) return -1;
    runs->bounds = static_cast<uint32_t*>(storage);
    runs->capacity = grown;
  }
  runs->bounds[runs->count++] = start;
  runs->bounds[runs->count++] = end;
  return 0;
}

void BatchRunsEmpty(BatchRuns* runs) {
  if (runs != nullptr) runs->count = 0;
}

void BatchRunsFree(BatchRuns* runs) {
  if (runs == nullptr) return;
  free(runs->bounds);
  runs->bounds = nullptr;
  runs->count = 0;
  runs->capacity = 0;
}
