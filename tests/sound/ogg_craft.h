// Ogg Vorbis files built field by field with right page checksums, so that a test
// can give any header field any value: the page checks pass and the decoder
// itself meets the value. The default fields make a small valid file (mono,
// short blocks, one codebook of two entries, noise-like audio packets).
#pragma once
#include <math.h>
#include <stdint.h>

#include <string>

#include "sound/ogg_pages.h"

struct VorbisFields {
  uint32_t channels = 1, rate = 8000;
  int64_t vendorLength = -1;  // written length; -1: the vendor text's own
  uint32_t commentCount = 0, commentLength = 0;  // each comment's written length
  uint32_t codebookField = 0;  // codebook count - 1 (8 bits); each is the one below
  uint32_t entries = 2, dimensions = 1, lookup = 1;
  uint32_t sparse = 0;  // lengths entry by entry, only the first two entries present
  uint32_t floorField = 0, residueField = 0, mappingField = 0;  // counts - 1 (6 bits)
  uint32_t residueBegin = 0, residueEnd = 128, partSizeField = 31, submaps = 1;
  // An extra last codebook, sparse, of unusedEntries entries none of which is
  // used: the class book of the floor (UNUSED_FLOOR_CLASS, the floor then has one
  // partition) or of the residue (UNUSED_RESIDUE_CLASS); 0: none.
  uint32_t unusedBookUser = 0, unusedEntries = 4;
  int audioPackets = 8;
};
enum : uint32_t { UNUSED_FLOOR_CLASS = 1, UNUSED_RESIDUE_CLASS = 2 };

class OggBits {
 public:
  // Appends the low n bits of v, least significant first, as Vorbis packs them.
  void Put(uint64_t v, int n) {
    for (int i = 0; i < n; ++i, ++used) {
      if (used % 8 == 0) bytes += '\0';
      if (v >> i & 1) bytes.back() = (char)(bytes.back() | 1 << (used % 8));
    }
  }
  std::string bytes;

 private:
  uint64_t used = 0;
};

inline int OggIlog(uint64_t v) {
  int n = 0;
  for (; v; v >>= 1) ++n;
  return n;
}

// One Ogg page holding whole packets (at most 255 lacing values).
inline std::string OggPage(const std::string& body, const std::string& lacing, int flags,
                           uint64_t granule, uint32_t sequence) {
  std::string page = std::string("OggS", 4) + '\0' + (char)flags;
  for (int i = 0; i < 8; ++i) page += (char)(granule >> 8 * i);
  const uint32_t fields[3] = {0x4C51, sequence, 0};  // serial, sequence, checksum
  for (uint32_t v : fields)
    for (int i = 0; i < 4; ++i) page += (char)(v >> 8 * i);
  page += (char)lacing.size() + lacing + body;
  uint32_t crc = OggPageCrc((const uint8_t*)page.data(), (uint32_t)page.size());
  for (int i = 0; i < 4; ++i) page[22 + i] = (char)(crc >> 8 * i);
  return page;
}

inline std::string OggLacing(size_t bytes) {
  return std::string(bytes / 255, '\xFF') + (char)(bytes % 255);
}

// A packet cut to what one page carries: a hostile field may ask for more bytes
// than any file holds, and the decoder then meets the packet's end.
inline std::string OggPagePacket(std::string packet) {
  if (packet.size() > 254 * 255) packet.resize(254 * 255);
  return packet;
}

inline std::string VorbisHeader(int type) { return std::string(1, (char)type) + "vorbis"; }

inline std::string VorbisComments(const VorbisFields& f) {
  const std::string vendor = "lumaquill";
  OggBits b;
  b.Put(f.vendorLength < 0 ? vendor.size() : (uint64_t)f.vendorLength, 32);
  std::string packet = VorbisHeader(3) + b.bytes + vendor;
  OggBits count;
  count.Put(f.commentCount, 32);
  packet += count.bytes;
  for (uint32_t i = 0; i < f.commentCount && packet.size() < 254 * 255; ++i) {
    OggBits length;
    length.Put(f.commentLength, 32);
    packet += length.bytes + std::string(f.commentLength < 64 ? f.commentLength : 64, 'c');
  }
  return OggPagePacket(packet + '\1');
}

// How many values a codebook's lookup holds: for type 1 the largest r with
// r^dimensions <= entries, for type 2 entries times dimensions.
inline uint64_t VorbisLookupValues(const VorbisFields& f) {
  if (f.lookup != 1) return (uint64_t)f.entries * f.dimensions;
  if (f.dimensions == 0) return 0;
  uint64_t r = (uint64_t)pow((double)f.entries, 1.0 / f.dimensions) + 1;
  for (;; --r) {
    uint64_t power = 1;
    for (uint32_t d = 0; d < f.dimensions && power <= f.entries; ++d) power *= r;
    if (power <= f.entries || r == 0) return r;
  }
}

// Ordered lengths: a complete code of any size in a few bits.
inline void VorbisOrderedLengths(const VorbisFields& f, OggBits& b) {
  b.Put(1, 1);
  int longest = OggIlog(f.entries > 1 ? f.entries - 1 : 1);
  uint64_t shorter = (1ull << longest) - f.entries;  // entries one bit shorter
  int first = shorter && longest > 1 ? longest - 1 : longest;
  b.Put(first - 1, 5);
  uint64_t done = 0;
  for (int length = first; done < f.entries && length <= longest; ++length) {
    uint64_t n = length < longest ? shorter : f.entries - done;
    b.Put(n, OggIlog(f.entries - done));
    done += n;
  }
}

inline void VorbisCodebook(const VorbisFields& f, OggBits& b) {
  b.Put(0x564342, 24);
  b.Put(f.dimensions, 16);
  b.Put(f.entries, 24);
  if (f.sparse) {
    b.Put(2, 2);  // not ordered, sparse: only the first two entries present
    for (uint64_t i = 0; i < f.entries && b.bytes.size() < 250 * 255; ++i)
      b.Put(i < 2, i < 2 ? 6 : 1);
  } else {
    VorbisOrderedLengths(f, b);
  }
  b.Put(f.lookup, 4);
  if (f.lookup == 0) return;
  b.Put(0, 32);             // minimum 0
  b.Put(780u << 21 | 1, 32);  // step 1/256
  b.Put(0, 4);  // one bit a value
  b.Put(0, 1);
  uint64_t values = VorbisLookupValues(f);
  for (uint64_t i = 0; i < values && b.bytes.size() < 250 * 255; ++i) b.Put(i & 1, 1);
}

// A sparse codebook whose entries are all unused: no code, no lookup.
inline void VorbisUnusedCodebook(const VorbisFields& f, OggBits& b) {
  b.Put(0x564342, 24);
  b.Put(1, 16);
  b.Put(f.unusedEntries, 24);
  b.Put(2, 2);
  for (uint32_t i = 0; i < f.unusedEntries && b.bytes.size() < 250 * 255; ++i) b.Put(0, 1);
  b.Put(0, 4);
}

inline std::string VorbisSetup(const VorbisFields& f) {
  OggBits b;
  const uint32_t unusedBook = f.codebookField + 1;
  b.Put(f.codebookField + (f.unusedBookUser != 0), 8);
  for (uint32_t i = 0; i <= f.codebookField && b.bytes.size() < 250 * 255; ++i)
    VorbisCodebook(f, b);
  if (f.unusedBookUser) VorbisUnusedCodebook(f, b);
  b.Put(0, 6);
  b.Put(0, 16);  // one time-domain transform, unused
  b.Put(f.floorField, 6);
  for (uint32_t i = 0; i <= f.floorField; ++i) {
    b.Put(1, 16);  // floor type 1: a line from x=0 to x=128
    if (f.unusedBookUser == UNUSED_FLOOR_CLASS) {
      b.Put(1, 5);  // one partition of class 0: one point, two subclasses
      b.Put(0, 4);
      b.Put(0, 3);
      b.Put(1, 2);
      b.Put(unusedBook, 8);  // the class is read with the unused book
      b.Put(0, 8 * 2);  // neither subclass has a book
    } else {
      b.Put(0, 5);  // no partitions
    }
    b.Put(0, 2);
    b.Put(7, 4);
    if (f.unusedBookUser == UNUSED_FLOOR_CLASS) b.Put(64, 7);
  }
  b.Put(f.residueField, 6);
  for (uint32_t i = 0; i <= f.residueField; ++i) {
    b.Put(2, 16);
    b.Put(f.residueBegin, 24);
    b.Put(f.residueEnd, 24);
    b.Put(f.partSizeField, 24);
    b.Put(0, 6);  // one classification, classified by codebook 0 (or the unused one)
    b.Put(f.unusedBookUser == UNUSED_RESIDUE_CLASS ? unusedBook : 0, 8);
    b.Put(1, 3);  // its first pass reads codebook 0
    b.Put(0, 1);
    b.Put(0, 8);
  }
  b.Put(f.mappingField, 6);
  for (uint32_t i = 0; i <= f.mappingField; ++i) {
    b.Put(0, 16);
    b.Put(f.submaps > 1, 1);
    if (f.submaps > 1) b.Put(f.submaps - 1, 4);
    b.Put(0, 1);  // no coupling
    b.Put(0, 2);
    if (f.submaps > 1)
      for (uint32_t c = 0; c < f.channels; ++c) b.Put(f.submaps - 1, 4);
    for (uint32_t s = 0; s < f.submaps; ++s) b.Put(0, 24);  // time, floor 0, residue 0
  }
  b.Put(0, 6);  // one mode: short blocks, mapping 0
  b.Put(0, 1 + 16 + 16 + 8);  // short blocks, window 0, transform 0, mapping 0
  b.Put(1, 1);
  return OggPagePacket(VorbisHeader(5) + b.bytes);
}

// The whole file: three header pages, then the audio packets on a last page.
inline std::string VorbisFile(const VorbisFields& f) {
  OggBits id;
  id.Put(0, 32);
  id.Put(f.channels, 8);
  id.Put(f.rate, 32);
  for (int i = 0; i < 3; ++i) id.Put(0, 32);  // bit rates
  id.Put(0x88, 8);  // blocks of 256 samples
  id.Put(1, 8);
  std::string file = OggPage(VorbisHeader(1) + id.bytes, OggLacing(23 + 7), 2, 0, 0);
  const std::string comments = VorbisComments(f), setup = VorbisSetup(f);
  file += OggPage(comments, OggLacing(comments.size()), 0, 0, 1);
  file += OggPage(setup, OggLacing(setup.size()), 0, 0, 2);
  std::string audio, lacing;
  uint32_t noise = 12345;
  for (int p = 0; p < f.audioPackets; ++p) {
    std::string packet(40, '\0');
    for (char& c : packet) c = (char)((noise = noise * 1103515245 + 12345) >> 16);
    packet[0] = (char)(packet[0] & ~1);  // an audio packet
    audio += packet;
    lacing += OggLacing(packet.size());
  }
  return file + OggPage(audio, lacing, 4, 128ull * (f.audioPackets - 1), 3);
}

// Files that once broke the decoder (also the Ogg fuzz target's regression inputs).
// A sparse class book of four entries, none used, for the floor or the residue:
// its lookup yields no entry, which was looked up through a null table.
inline VorbisFields UnusedClassBookFields(uint32_t user) {
  VorbisFields f;
  f.unusedBookUser = user;
  return f;
}

// Stereo, type-2 residue from 1 in partitions of 2, vectors of 4: the last vector
// starts at an odd place 3 values before the blocks' end, and was decoded 2 too long.
inline VorbisFields CutVectorFields() {
  VorbisFields f;
  f.channels = 2;
  f.dimensions = 4;
  f.residueBegin = 1;
  f.residueEnd = 256;
  f.partSizeField = 1;
  return f;
}
