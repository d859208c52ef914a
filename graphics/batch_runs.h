// The stretches of the quad batch that hold shapes, drawn untextured: one flush
// then draws the quads' stretches with the bound texture and these without, in
// push order. Quads never touch it, so the quad push costs what it did. No
// Windows header: tested natively.
#pragma once
#include <stdint.h>

struct BatchRuns {
  uint32_t* bounds;  // pairs: first vertex, vertex past the last; in batch order
  uint32_t count;    // numbers held, two a stretch
  uint32_t capacity;
};

// Marks vertices start to end (start < end, at or past the last stretch's end)
// as a shape's, joined to the last stretch when it ends at start. 0, or -1 when
// the storage cannot grow (the stretches held kept).
int BatchRunsAdd(BatchRuns* runs, uint32_t start, uint32_t end);
// Drops the stretches and keeps the storage.
void BatchRunsEmpty(BatchRuns* runs);
// Frees the storage; the list is empty and usable again.
void BatchRunsFree(BatchRuns* runs);
