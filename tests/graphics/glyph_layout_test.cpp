// The glyph atlas's table: found by code point, full by cells or by entries.
#include <gtest/gtest.h>

#include <memory>

#include "graphics/glyph_layout.h"

namespace {

TEST(GlyphAtlas, KeepsGlyphsByCodePointUntilItsCellsOrEntriesRunOut) {
  auto atlas = std::make_unique<GlyphAtlas>();  // zeroed: empty
  const GlyphMetrics drawn = {1, 2, 5, 7, 6, 999}, blank = {0, 0, 0, 0, 4, 999};
  // Codes that share first slots and wrap around the table's end.
  const uint32_t codes[] = {0, 'a', 0xEB, 0x10FFFF, 0x41F, 'a' + GLYPH_SLOTS * 7, 0x1F600};
  for (uint32_t i = 0; i < 7; ++i) {
    EXPECT_EQ(FindGlyph(atlas.get(), codes[i]), nullptr);
    const GlyphMetrics* kept = AddGlyph(atlas.get(), codes[i], i % 2 ? &blank : &drawn);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->cell, i % 2 ? 0 : i / 2);  // cells only for bitmaps, in order
    EXPECT_EQ(kept->advance, i % 2 ? 4 : 6);
  }
  for (uint32_t i = 0; i < 7; ++i) {
    const GlyphMetrics* found = FindGlyph(atlas.get(), codes[i]);
    ASSERT_NE(found, nullptr) << codes[i];
    EXPECT_EQ(found->width, i % 2 ? 0 : 5);
  }
  // Full by cells: the 257th bitmap is refused, a blank still kept.
  uint32_t code = 0x3000;
  while (atlas->cells < GLYPH_CELLS) ASSERT_NE(AddGlyph(atlas.get(), code++, &drawn), nullptr);
  EXPECT_EQ(AddGlyph(atlas.get(), code, &drawn), nullptr);
  EXPECT_EQ(FindGlyph(atlas.get(), code), nullptr);
  EXPECT_NE(AddGlyph(atlas.get(), code, &blank), nullptr);
  // Full by entries: three in four of the table. Each keeps its own metrics, however
  // many share a first slot (codes n * n apart, which collide); a bitmap with no
  // width or no height takes no cell.
  const uint32_t firstBlank = code + 1;
  GlyphMetrics own = {};
  for (own.advance = 1;; ++own.advance) {
    own.width = own.advance % 2 ? 5 : 0, own.height = own.advance % 2 ? 0 : 5;
    if (!AddGlyph(atlas.get(), firstBlank + own.advance * own.advance, &own)) break;
  }
  EXPECT_EQ(atlas->entries, (uint32_t)GLYPH_SLOTS / 4 * 3);
  EXPECT_EQ(atlas->cells, (uint32_t)GLYPH_CELLS);
  for (int16_t n = 1; n < own.advance; ++n) {
    const GlyphMetrics* found = FindGlyph(atlas.get(), firstBlank + n * n);
    ASSERT_NE(found, nullptr) << n;
    EXPECT_EQ(found->advance, n);
    EXPECT_EQ(found->cell, 0);
  }
  ClearGlyphs(atlas.get());
  EXPECT_EQ(FindGlyph(atlas.get(), 'a'), nullptr);
  const GlyphMetrics* first = AddGlyph(atlas.get(), 'b', &drawn);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->cell, 0);
}

// A pen over "A\r\nB CD" on a two-glyph atlas of 8 x 10 cells (128 x 160), lines 12
// apart: 'A' in cell 0, 'B' in cell 17 (row 1, column 1), no 'C'; the space and
// 'D' have a bitmap of no height or no width, which draws nothing.
TEST(GlyphAtlas, APenLaysOutQuadsLinesAndTheTextsBox) {
  auto atlas = std::make_unique<GlyphAtlas>();
  atlas->cellWidth = 8, atlas->cellHeight = 10, atlas->lineHeight = 12;
  const GlyphMetrics a = {1, 2, 5, 7, 6, 0}, b = {0, 1, 4, 6, 5, 17}, space = {0, 0, 3, 0, 4, 0},
                     d = {0, 0, 0, 4, 2, 0};
  const char* text = "A\r\nB CD";
  for (const bool drawing : {true, false}) {  // without out: counted, nothing written
    TextPen pen = {100, 50, 0, 0, 0};
    int width = -1, height = -1;
    PenExtent(&pen, atlas.get(), &width, &height);
    EXPECT_EQ(width, 0);  // nothing yet: an empty box
    EXPECT_EQ(height, 0);
    Vertex2D quads[2][6] = {};
    int drawn = 0;
    for (const char* c = text; *c; ++c) {
      const GlyphMetrics* g =
          *c == 'A' ? &a : *c == 'B' ? &b : *c == ' ' ? &space : *c == 'D' ? &d : nullptr;
      drawn += AdvancePen(&pen, atlas.get(), (uint8_t)*c, g, 0xFF00FF00u,
                          drawing ? quads[drawn] : nullptr);
    }
    EXPECT_EQ(drawn, 2);
    PenExtent(&pen, atlas.get(), &width, &height);
    EXPECT_EQ(width, 11);  // the second line: 5 + 4 + 2
    EXPECT_EQ(height, 24);
    PenExtent(&pen, atlas.get(), nullptr, nullptr);
    if (!drawing) {
      EXPECT_EQ(quads[0][0].x, 0.0f);
      continue;
    }
    // Corners (offset by -0.5) and texture corners of A, then B on the second line.
    const float want[2][8] = {{100.5f, 51.5f, 105.5f, 58.5f, 0, 0, 5 / 128.0f, 7 / 160.0f},
                              {99.5f, 62.5f, 103.5f, 68.5f, 8 / 128.0f, 10 / 160.0f,
                               12 / 128.0f, 16 / 160.0f}};
    for (int q = 0; q < 2; ++q) {
      const Vertex2D &first = quads[q][0], &last = quads[q][4];
      const float got[8] = {first.x, first.y, last.x, last.y, first.u, first.v, last.u, last.v};
      for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(got[i], want[q][i]) << q << " " << i;
      EXPECT_EQ(first.diffuse, 0xFF00FF00u);
    }
  }
}

}  // namespace
