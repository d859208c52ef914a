// Text as quads over a glyph atlas.
#include "graphics/glyph_layout.h"

#include <string.h>

// Entries in use stay under three in four, so that a search always ends soon.
enum { GLYPH_ENTRY_LIMIT = GLYPH_SLOTS / 4 * 3 };

static uint32_t FirstSlot(uint32_t code) {
  return (code * 2654435761u) >> 23 & (GLYPH_SLOTS - 1);  // GLYPH_SLOTS is 2^9
}

static_assert((GLYPH_SLOTS & (GLYPH_SLOTS - 1)) == 0 && GLYPH_SLOTS == 1 << 9, "the hash's size");
static_assert(GLYPH_CELLS <= 65536, "cells fit the metrics");

const GlyphMetrics* FindGlyph(const GlyphAtlas* atlas, uint32_t code) {
  for (uint32_t i = FirstSlot(code);; i = (i + 1) & (GLYPH_SLOTS - 1)) {
    if (atlas->keys[i] == 0) return nullptr;
    if (atlas->keys[i] == code + 1) return &atlas->glyphs[i];
  }
}

const GlyphMetrics* AddGlyph(GlyphAtlas* atlas, uint32_t code, const GlyphMetrics* glyph) {
  const bool drawn = glyph->width > 0 && glyph->height > 0;
  if (atlas->entries >= GLYPH_ENTRY_LIMIT || (drawn && atlas->cells >= GLYPH_CELLS)) {
    return nullptr;
  }
  uint32_t i = FirstSlot(code);
  while (atlas->keys[i] != 0) i = (i + 1) & (GLYPH_SLOTS - 1);
  atlas->keys[i] = code + 1;
  atlas->glyphs[i] = *glyph;
  atlas->glyphs[i].cell = drawn ? (uint16_t)atlas->cells++ : 0;
  ++atlas->entries;
  return &atlas->glyphs[i];
}

void ClearGlyphs(GlyphAtlas* atlas) {
  memset(atlas->keys, 0, sizeof atlas->keys);
  atlas->entries = atlas->cells = 0;
}

int AdvancePen(TextPen* pen, const GlyphAtlas* atlas, uint32_t code, const GlyphMetrics* g,
               uint32_t color, Vertex2D* out) {
  if (pen->lines == 0) pen->lines = 1;
  if (code == '\n') {
    pen->pen = 0;
    ++pen->lines;
    return 0;
  }
  if (code == '\r' || g == nullptr) return 0;
  const bool drawn = g->width > 0 && g->height > 0;
  if (drawn && out != nullptr) {
    const float atlasWidth = (float)(atlas->cellWidth * GLYPH_GRID);
    const float atlasHeight = (float)(atlas->cellHeight * GLYPH_GRID);
    const int left = pen->x + pen->pen + g->left;
    const int top = pen->y + (pen->lines - 1) * atlas->lineHeight + g->top;
    const float u = (float)(g->cell % GLYPH_GRID * atlas->cellWidth);
    const float v = (float)(g->cell / GLYPH_GRID * atlas->cellHeight);
    LayoutQuad(out, (float)left, (float)top, (float)(left + g->width), (float)(top + g->height),
               color, u / atlasWidth, v / atlasHeight, (u + g->width) / atlasWidth,
               (v + g->height) / atlasHeight);
  }
  pen->pen += g->advance;
  if (pen->pen > pen->widest) pen->widest = pen->pen;
  return drawn ? 1 : 0;
}

void PenExtent(const TextPen* pen, const GlyphAtlas* atlas, int* width, int* height) {
  if (width != nullptr) *width = pen->widest;
  if (height != nullptr) *height = pen->lines * atlas->lineHeight;
}
