// Text as quads over a glyph atlas.
#include "graphics/glyph_layout.h"

int LayoutText(const GlyphAtlas* atlas, const char* text, int count, int x, int y,
               uint32_t color, Vertex2D* out, int maxQuads, int* width, int* height) {
  const float atlasWidth = (float)(atlas->cellWidth * GLYPH_GRID);
  const float atlasHeight = (float)(atlas->cellHeight * GLYPH_GRID);
  int quads = 0, pen = 0, widest = 0, lines = count > 0 ? 1 : 0;
  for (int i = 0; i < count; ++i) {
    const unsigned char c = (unsigned char)text[i];
    if (c == '\r') continue;
    if (c == '\n') {
      pen = 0;
      ++lines;
      continue;
    }
    const GlyphMetrics& g = atlas->glyphs[c];
    if (g.width > 0 && g.height > 0) {
      if (quads < maxQuads) {
        const int left = x + pen + g.left;
        const int top = y + (lines - 1) * atlas->lineHeight + g.top;
        const float u = (float)(c % GLYPH_GRID * atlas->cellWidth);
        const float v = (float)(c / GLYPH_GRID * atlas->cellHeight);
        LayoutQuad(out + quads * QUAD_VERTICES, (float)left, (float)top, (float)(left + g.width),
                   (float)(top + g.height), color, u / atlasWidth, v / atlasHeight,
                   (u + g.width) / atlasWidth, (v + g.height) / atlasHeight);
      }
      ++quads;
    }
    pen += g.advance;
    if (pen > widest) widest = pen;
  }
  if (width != 0) *width = widest;
  if (height != 0) *height = lines * atlas->lineHeight;
  return quads;
}
