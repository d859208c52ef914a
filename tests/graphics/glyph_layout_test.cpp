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
  // Full by entries: three in four of the table.
  while (AddGlyph(atlas.get(), ++code, &blank) != nullptr) {}
  EXPECT_EQ(atlas->entries, (uint32_t)GLYPH_SLOTS / 4 * 3);
  ClearGlyphs(atlas.get());
  EXPECT_EQ(FindGlyph(atlas.get(), 'a'), nullptr);
  const GlyphMetrics* first = AddGlyph(atlas.get(), 'b', &drawn);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->cell, 0);
}

}  // namespace
