// Fuzz target: an Ogg Vorbis file as a player may hand it over, read as
// wave_ogg.cpp reads one: its intact pages, the decoder opened on them and the
// sound decoded to its end, then from the start again (a loop). The bytes go to
// the page check as they are, and then with every page's checksum made right, as
// a crafted file has them: otherwise almost no change would reach the decoder.
#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "sound/ogg_pages.h"
#include "sound/vorbis_decoder.h"

// Past this many frames (about a minute at 44.1 kHz) a file only repeats what it did.
static const long MAX_FRAMES = 1 << 22;

// Each whole page from the start gets its right checksum.
static void MendChecksums(uint8_t* bytes, uint32_t size) {
  for (uint32_t at = 0; size - at >= 27 && IsOggData(bytes + at, size - at);) {
    uint8_t* page = bytes + at;
    uint32_t length = 27 + page[26];
    for (uint32_t i = 0; i < page[26] && 27 + i < size - at; ++i) length += page[27 + i];
    if (length > size - at) return;
    const uint32_t crc = OggPageCrc(page, length);
    for (int i = 0; i < 4; ++i) page[22 + i] = (uint8_t)(crc >> 8 * i);
    at += length;
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > UINT32_MAX) return 0;
  if (OggIntactBytes(data, (uint32_t)size) > size) __builtin_trap();
  std::vector<uint8_t> copy(data, data + size);
  MendChecksums(copy.data(), (uint32_t)size);
  const uint8_t* bytes = copy.data();
  const uint32_t intact = OggIntactBytes(bytes, (uint32_t)size);
  if (intact > size) __builtin_trap();
  int error = 0;
  stb_vorbis* v = intact ? stb_vorbis_open_memory(bytes, (int)intact, &error, NULL) : NULL;
  if (v == NULL) return 0;
  const stb_vorbis_info info = stb_vorbis_get_info(v);
  if (info.channels >= 1 && info.channels <= 2) {  // what a slot plays
    short samples[4096];
    long frames = 0;
    for (int n = 1; n > 0 && frames < MAX_FRAMES; frames += n)
      n = stb_vorbis_get_samples_short_interleaved(v, info.channels, samples, 4096);
    if (stb_vorbis_seek_start(v))
      stb_vorbis_get_samples_short_interleaved(v, info.channels, samples, 4096);
  }
  stb_vorbis_close(v);
  return 0;
}
