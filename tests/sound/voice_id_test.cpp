#include <gtest/gtest.h>

#include <set>

#include "sound/voice_id.h"

TEST(VoiceId, PartsComeBackAndWhatDoesNotFitNamesNothing) {
  const uint32_t last = VOICE_GENERATION_LAST;
  struct Case { uint32_t slot, voice, generation, id; };
  const Case cases[] = {{0, 0, 1, 0x800},
                        {255, 7, 1, 0xFFF},
                        {3, 5, 2, 0x101D},
                        {255, 7, last, 0xFFFFFFFF},
                        {0, 0, 0, 0},         // a voice never played
                        {256, 0, 1, 0},       // past the slots
                        {0, 8, 1, 0},         // past a slot's voices
                        {0, 0, last + 1, 0},  // past the generations
                        {3, 5, 0, 0}, {3, 5, last + 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.slot << " " << c.voice << " " << c.generation);
    const uint32_t id = MakeVoiceId(c.slot, c.voice, c.generation);
    EXPECT_EQ(id, c.id);
    if (id == 0) continue;
    const VoiceIdParts parts = SplitVoiceId(id);
    EXPECT_EQ(parts.slot, c.slot);
    EXPECT_EQ(parts.voice, c.voice);
    EXPECT_EQ(parts.generation, c.generation);
  }
  EXPECT_EQ(SplitVoiceId(0).generation, 0u);  // 0 splits into no play's generation
}

TEST(VoiceId, GenerationsNeverComeBackToZeroAndEachPlayIsNamedOnce) {
  const uint32_t last = VOICE_GENERATION_LAST;
  struct Case { uint32_t from, next; };
  const Case cases[] = {{0, 1}, {1, 2}, {last - 1, last}, {last, 1}, {0xFFFFFFFF, 1}};
  for (const Case& c : cases) EXPECT_EQ(NextVoiceGeneration(c.from), c.next) << c.from;
  // A thousand plays of each voice of three slots: every id differs from every other.
  std::set<uint32_t> ids;
  for (uint32_t slot : {0u, 1u, 255u}) {
    for (uint32_t voice = 0; voice < 8; ++voice) {
      for (uint32_t g = NextVoiceGeneration(0), n = 0; n < 1000; g = NextVoiceGeneration(g), ++n) {
        ids.insert(MakeVoiceId(slot, voice, g));
      }
    }
  }
  EXPECT_EQ(ids.size(), 3u * 8 * 1000);
  EXPECT_EQ(ids.count(0), 0u);
}
