// Text laid out as quads over a glyph atlas: one cell for each byte value, 16
// cells across and down. Portable: the native build tests it.
#pragma once
#include <stdint.h>

#include "graphics/quad_layout.h"

enum { GLYPH_COUNT = 256, GLYPH_GRID = 16 };

struct GlyphMetrics {
  int16_t left, top;       // the bitmap's corner from the pen, on the line's top
  uint16_t width, height;  // the bitmap, from its cell's corner; 0: nothing drawn
  int16_t advance;         // the pen's step to the next glyph
};

struct GlyphAtlas {
  GlyphMetrics glyphs[GLYPH_COUNT];
  int cellWidth, cellHeight;  // the atlas is GLYPH_GRID cells of these across and down
  int lineHeight;
};

// Lays out count bytes of text from the point (x, y), left to right, lines
// lineHeight apart ('\n' starts a line, '\r' is skipped), one quad in the
// colour for each glyph with a bitmap. Writes at most maxQuads quads; returns
// the number the whole text needs (never more than count). width and height
// receive the box the text covers: its widest line's advances, and its lines.
int LayoutText(const GlyphAtlas* atlas, const char* text, int count, int x, int y,
               uint32_t color, Vertex2D* out, int maxQuads, int* width, int* height);
