// Text laid out as quads over a glyph atlas: each glyph is rendered on first use
// into a cell of a GLYPH_GRID x GLYPH_GRID grid and found again by its code
// point. Portable: the native build tests it.
#pragma once
#include <stdint.h>

#include "graphics/quad_layout.h"

enum { GLYPH_GRID = 16, GLYPH_CELLS = GLYPH_GRID * GLYPH_GRID, GLYPH_SLOTS = 512 };

struct GlyphMetrics {
  int16_t left, top;       // the bitmap's corner from the pen, on the line's top
  uint16_t width, height;  // the bitmap, from its cell's corner; 0: nothing drawn
  int16_t advance;         // the pen's step to the next glyph
  uint16_t cell;           // its cell, row by row, when it has a bitmap
};

// Zeroed, an empty atlas.
struct GlyphAtlas {
  uint32_t keys[GLYPH_SLOTS];  // code point + 1; 0 for a free entry
  GlyphMetrics glyphs[GLYPH_SLOTS];
  uint32_t entries, cells;     // entries in use, cells handed out
  int cellWidth, cellHeight;   // the atlas is GLYPH_GRID cells of these across and down
  int lineHeight;
};

// The code point's glyph, or null when it is not in the atlas.
const GlyphMetrics* FindGlyph(const GlyphAtlas* atlas, uint32_t code);
// Keeps a glyph not yet in the atlas, with the next cell when it has a bitmap;
// returns the kept entry (its cell set), or null when the atlas is full (every
// cell given, or three entries in four used): ClearGlyphs, then add again.
const GlyphMetrics* AddGlyph(GlyphAtlas* atlas, uint32_t code, const GlyphMetrics* glyph);
// Forgets every glyph; the cells are given out again from the first.
void ClearGlyphs(GlyphAtlas* atlas);

// A pen moving over text, left to right, lines lineHeight apart.
struct TextPen {
  int x, y;    // the text's corner
  int pen;     // from x, on the current line
  int widest;  // the widest line so far
  int lines;   // lines begun: 0 before the first character
};

// Moves the pen past one character: '\n' starts a line, '\r' is skipped, any
// other moves by the glyph's advance (nothing without a glyph). Writes the
// glyph's quad in the colour to out when it has a bitmap and out is non-null;
// returns 1 when the glyph has a quad, else 0.
int AdvancePen(TextPen* pen, const GlyphAtlas* atlas, uint32_t code, const GlyphMetrics* glyph,
               uint32_t color, Vertex2D* out);
// The box the text so far covers: its widest line's advances, and its lines.
void PenExtent(const TextPen* pen, const GlyphAtlas* atlas, int* width, int* height);
