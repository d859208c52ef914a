// The glyph atlas's table and the pen that lays text out over it.
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
  // Full by entries: three in four of the table.
  while (AddGlyph(atlas.get(), ++code, &blank) != nullptr) {}
  EXPECT_EQ(atlas->entries, (uint32_t)GLYPH_SLOTS / 4 * 3);
  ClearGlyphs(atlas.get());
  EXPECT_EQ(FindGlyph(atlas.get(), 'a'), nullptr);
  const GlyphMetrics* first = AddGlyph(atlas.get(), 'b', &drawn);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->cell, 0);
}

TEST(GlyphAtlas, ThePenLaysGlyphsOutOnLinesAndMeasuresThem) {
  auto atlas = std::make_unique<GlyphAtlas>();
  atlas->cellWidth = 10, atlas->cellHeight = 20, atlas->lineHeight = 18;
  const GlyphMetrics drawn = {1, 2, 5, 7, 6, 0}, blank = {0, 0, 0, 0, 4, 0};
  const GlyphMetrics* a = AddGlyph(atlas.get(), 'a', &blank);  // no cell
  const GlyphMetrics* b = AddGlyph(atlas.get(), 'b', &drawn);  // cell 0
  const GlyphMetrics* c = AddGlyph(atlas.get(), 'c', &drawn);  // cell 1
  TextPen pen = {100, 50, 0, 0, 0};
  int width = -1, height = -1;
  PenExtent(&pen, atlas.get(), &width, &height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);  // no character: no line
  Vertex2D quads[2 * QUAD_VERTICES];
  EXPECT_EQ(AdvancePen(&pen, atlas.get(), 'a', a, 0xFF00FF00, quads), 0);
  EXPECT_EQ(AdvancePen(&pen, atlas.get(), 'c', c, 0xFF00FF00, quads), 1);
  EXPECT_EQ(AdvancePen(&pen, atlas.get(), '\r', NULL, 0, NULL), 0);
  EXPECT_EQ(AdvancePen(&pen, atlas.get(), '\n', NULL, 0, NULL), 0);
  EXPECT_EQ(AdvancePen(&pen, atlas.get(), 0xFFFD, NULL, 0, NULL), 0);  // no glyph: no step
  EXPECT_EQ(AdvancePen(&pen, atlas.get(), 'b', b, 0xFF0000FF, quads + QUAD_VERTICES), 1);
  PenExtent(&pen, atlas.get(), &width, &height);
  EXPECT_EQ(width, 10);   // 4 + 6 on the first line
  EXPECT_EQ(height, 36);  // two lines
  // 'c' at the pen 4 on line 1: its box from (100 + 4 + 1, 50 + 2), cell 1's texels.
  EXPECT_FLOAT_EQ(quads[0].x, 104.5f);
  EXPECT_FLOAT_EQ(quads[0].y, 51.5f);
  EXPECT_FLOAT_EQ(quads[4].x, 109.5f);
  EXPECT_FLOAT_EQ(quads[4].y, 58.5f);
  EXPECT_FLOAT_EQ(quads[0].u, 10.0f / 160);
  EXPECT_FLOAT_EQ(quads[4].u, 15.0f / 160);
  EXPECT_FLOAT_EQ(quads[4].v, 7.0f / 320);
  // 'b' at the start of line 2, cell 0.
  EXPECT_FLOAT_EQ(quads[QUAD_VERTICES].x, 100.5f);
  EXPECT_FLOAT_EQ(quads[QUAD_VERTICES].y, 69.5f);
  EXPECT_FLOAT_EQ(quads[QUAD_VERTICES].u, 0.0f);
  EXPECT_EQ(quads[QUAD_VERTICES].diffuse, 0xFF0000FFu);
}

}  // namespace
