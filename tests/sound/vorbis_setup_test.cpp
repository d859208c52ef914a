// Ogg Vorbis files with right page checksums and hostile header fields, made by
// ogg_craft.h: the decoder refuses each or decodes it, and under the sanitizers
// it never reads or writes out of bounds. LQ_VORBIS_ROUNDS=N (scripts/reliability.sh)
// adds N rounds of random values in every field.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <random>

#include "ogg_craft.h"
#include "sound/vorbis_decoder.h"

namespace {

// Frames decoded (capped), or -1 when the decoder refuses the file.
long DecodedFrames(const std::string& file) {
  const uint8_t* bytes = (const uint8_t*)file.data();
  int error = 0;
  stb_vorbis* v = stb_vorbis_open_memory(bytes, (int)OggIntactBytes(bytes, (uint32_t)file.size()),
                                         &error, NULL);
  if (v == NULL) return -1;
  short samples[4096];
  long frames = 0;
  for (int n = 1; n > 0 && frames < (1 << 20); frames += n)
    n = stb_vorbis_get_samples_short_interleaved(v, 2, samples, 4096);
  stb_vorbis_close(v);
  return frames;
}

struct Row {
  const char* name;
  char outcome;  // r: refused, d: decoded, ?: either
  void (*bend)(VorbisFields&);
};

const Row kRows[] = {
    {"comment count 0", 'd', [](auto& f) { f.commentCount = 0; }},
    {"comment count 1", 'd', [](auto& f) { f.commentCount = 1; }},
    {"comment count 0x40000001", 'r', [](auto& f) { f.commentCount = 0x40000001; }},  // 8 x count wraps
    {"comment count 0x7FFFFFFF", 'r', [](auto& f) { f.commentCount = 0x7FFFFFFF; }},
    {"comment count 0xFFFFFFFF", '?', [](auto& f) { f.commentCount = 0xFFFFFFFF; }},
    {"comment length 1", 'd', [](auto& f) { f.commentLength = 1; f.commentCount = 1; }},
    {"comment length 0x7FFFFFFF", 'r', [](auto& f) { f.commentLength = 0x7FFFFFFF; f.commentCount = 1; }},
    {"comment length 0xFFFFFFFF", 'r', [](auto& f) { f.commentLength = 0xFFFFFFFF; f.commentCount = 1; }},
    {"codebook count 1", 'd', [](auto& f) { f.codebookField = 1; }},
    {"codebook count 255", 'd', [](auto& f) { f.codebookField = 255; }},
    {"codebook entries 0", 'r', [](auto& f) { f.entries = 0; }},
    {"codebook entries 1", '?', [](auto& f) { f.entries = 1; }},
    {"codebook entries 3", 'd', [](auto& f) { f.entries = 3; }},
    {"codebook entries 0xFFFFFF", 'r', [](auto& f) { f.entries = 0xFFFFFF; }},
    {"codebook dimensions 0", 'r', [](auto& f) { f.dimensions = 0; }},
    {"codebook dimensions 2", '?', [](auto& f) { f.dimensions = 2; }},
    {"codebook dimensions 0xFFFF", '?', [](auto& f) { f.dimensions = 0xFFFF; }},
    {"entries x dimensions 0x10001", 'r', [](auto& f) { f.entries = 0x10001; f.dimensions = 0x4000; }},
    // A lookup of type 2 whose entries x dimensions wraps to 32768 values.
    {"lookup values 0x20001", 'r', [](auto& f) { f.entries = 0x20001; f.dimensions = 0x8000; f.lookup = 2; }},
    {"sparse codebook", 'd', [](auto& f) { f.sparse = 1; }},
    {"sparse codebook entries 0xFFFFFF", '?', [](auto& f) { f.sparse = 1; f.entries = 0xFFFFFF; }},
    {"sparse codebook dimensions 0xFFFF", '?', [](auto& f) { f.sparse = 1; f.dimensions = 0xFFFF; }},
    {"lookup type 2", 'd', [](auto& f) { f.lookup = 2; }},
    {"lookup type 15", 'r', [](auto& f) { f.lookup = 15; }},
    {"floor count 1", 'd', [](auto& f) { f.floorField = 1; }},
    {"floor count 63", 'd', [](auto& f) { f.floorField = 63; }},
    {"residue count 1", 'd', [](auto& f) { f.residueField = 1; }},
    {"residue count 63", 'd', [](auto& f) { f.residueField = 63; }},
    {"residue end 0", 'd', [](auto& f) { f.residueEnd = 0; }},
    {"residue end 0xFFFFFF", 'd', [](auto& f) { f.residueEnd = 0xFFFFFF; }},
    {"partition size 0", 'd', [](auto& f) { f.partSizeField = 0; }},
    {"partition size 0xFFFFFF", 'd', [](auto& f) { f.partSizeField = 0xFFFFFF; }},
    {"mapping count 1", 'd', [](auto& f) { f.mappingField = 1; }},
    {"mapping count 63", 'd', [](auto& f) { f.mappingField = 63; }},
    {"submaps 16", 'd', [](auto& f) { f.submaps = 16; }},
    {"channels 0", 'r', [](auto& f) { f.channels = 0; }},
    {"channels 16", 'd', [](auto& f) { f.channels = 16; }},
    {"channels 255", 'r', [](auto& f) { f.channels = 255; }},
    {"rate 0", 'r', [](auto& f) { f.rate = 0; }},
    {"rate 0xFFFFFFFF", '?', [](auto& f) { f.rate = 0xFFFFFFFF; }},
    {"floor class book with no entry used", 'd', [](auto& f) { f = UnusedClassBookFields(UNUSED_FLOOR_CLASS); }},
    {"residue class book with no entry used", 'd', [](auto& f) { f = UnusedClassBookFields(UNUSED_RESIDUE_CLASS); }},
    {"type-2 residue vector cut at the end", 'd', [](auto& f) { f = CutVectorFields(); }},
};

TEST(VorbisSetup, HostileFieldsAreRefusedOrDecoded) {
  ASSERT_GT(DecodedFrames(VorbisFile(VorbisFields())), 0) << "the unbent file must decode";
  for (const Row& row : kRows) {
    VorbisFields f;
    row.bend(f);
    long frames = DecodedFrames(VorbisFile(f));
    char outcome = frames < 0 ? 'r' : frames > 0 ? 'd' : '0';
    if (row.outcome != '?') {
      EXPECT_EQ(outcome, row.outcome) << row.name;
    }
  }
  EXPECT_GT(DecodedFrames(VorbisFile(VorbisFields())), 0) << "a normal file after them";
}

// Random values in random fields, the boundaries weighted: only the sanitizers judge.
TEST(VorbisSetup, RandomFieldsNeverCorrupt) {
  const char* rounds = getenv("LQ_VORBIS_ROUNDS");
  std::mt19937 r(26);
  typedef uint32_t VorbisFields::*Field;
  static const Field kFields[] = {
      &VorbisFields::commentCount, &VorbisFields::commentLength, &VorbisFields::codebookField,
      &VorbisFields::entries, &VorbisFields::dimensions, &VorbisFields::lookup,
      &VorbisFields::floorField, &VorbisFields::residueField, &VorbisFields::mappingField,
      &VorbisFields::residueEnd, &VorbisFields::partSizeField, &VorbisFields::channels,
      &VorbisFields::sparse};
  static const uint32_t kBits[] = {32, 32, 8, 24, 16, 4, 6, 6, 6, 24, 24, 8, 1};
  for (long n = rounds ? atol(rounds) : 40; n > 0; --n) {
    VorbisFields f;
    for (int k = 1 + r() % 3; k > 0; --k) {
      int i = r() % 13;
      uint32_t mask = kBits[i] == 32 ? 0xFFFFFFFF : (1u << kBits[i]) - 1;
      const uint32_t picks[] = {0, 1, 2, mask, mask - 1, mask >> 1, (uint32_t)r() & mask};
      f.*kFields[i] = picks[r() % 7];
    }
    f.submaps = 1 + r() % 16;
    DecodedFrames(VorbisFile(f));
  }
}

}  // namespace
