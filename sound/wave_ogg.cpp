// Ogg Vorbis in the sound slots: the file is read whole into memory, cut at the
// first damaged or missing page (ogg_pages.h) and decoded to 16-bit samples,
// whole at load for a static slot, half by half on the service thread for a stream.
#include <stdlib.h>

#include "sound/ogg_pages.h"
#include "sound/vorbis_decoder.h"
#include "sound/wave_math.h"
#include "sound/wave_slot.h"

// Six minutes of 44.1 kHz stereo: a static sound longer than this is refused.
static const DWORD STATIC_OGG_MAX_BYTES = 1u << 26;
// The file is held whole in memory (about an hour at 128 kbit/s): a larger one is refused.
static const LONG OGG_FILE_MAX_BYTES = 1 << 26;

HRESULT WaveSlot::OpenOgg() {
  LONG size = mmioSeek(hFile, 0, SEEK_END);
  OggBytes = size > 0 && size <= OGG_FILE_MAX_BYTES ? (BYTE*)malloc(size) : NULL;
  if (OggBytes == NULL || mmioSeek(hFile, 0, SEEK_SET) != 0 ||
      mmioRead(hFile, (HPSTR)OggBytes, size) != size)
    return E_FAIL;
  mmioClose(hFile, 0);  // the decoder reads from memory
  hFile = NULL;
  uint32_t intact = OggIntactBytes(OggBytes, (uint32_t)size);
  int error = 0;
  Vorbis = intact ? stb_vorbis_open_memory(OggBytes, (int)intact, &error, NULL) : NULL;
  if (Vorbis == NULL) return E_FAIL;
  stb_vorbis_info info = stb_vorbis_get_info(Vorbis);
  // More channels would need another format; a rate out of range no buffer plays.
  if (info.channels < 1 || info.channels > 2 || info.sample_rate < DSBFREQUENCY_MIN ||
      info.sample_rate > DSBFREQUENCY_MAX)
    return E_FAIL;
  Format.wFormatTag = WAVE_FORMAT_PCM;
  Format.nChannels = (WORD)info.channels;
  Format.nSamplesPerSec = info.sample_rate;
  Format.wBitsPerSample = 16;
  Format.nBlockAlign = (WORD)(2 * info.channels);
  Format.nAvgBytesPerSec = Format.nBlockAlign * info.sample_rate;
  return 0;
}

DWORD WaveSlot::StaticOggBytes() {
  BYTE scratch[16384];
  DWORD bytes = 0, n = 0;
  while (bytes <= STATIC_OGG_MAX_BYTES &&
         (n = DecodeOgg(Vorbis, Format.nChannels, scratch, sizeof scratch, 0)) != 0)
    bytes += n;
  if (bytes > STATIC_OGG_MAX_BYTES) return 0;  // too long to hold: refused, not cut
  return Rewind() == 0 ? bytes : 0;
}

struct OggSource {
  stb_vorbis* decoder;
  DWORD channels;
};

static int32_t ReadDecoded(void* source, uint8_t* dest, uint32_t count) {
  const OggSource& s = *(OggSource*)source;
  const DWORD frameBytes = 2 * s.channels;
  DWORD done = 0;
  while (count - done >= frameBytes) {
    int frames = stb_vorbis_get_samples_short_interleaved(
        s.decoder, (int)s.channels, (short*)(dest + done), (int)((count - done) / 2));
    if (frames <= 0) break;
    done += (DWORD)frames * frameBytes;
  }
  return (int32_t)done;
}

static int RewindDecoder(void* source, uint32_t) {
  return stb_vorbis_seek_start(((OggSource*)source)->decoder) ? 0 : 1;
}

DWORD DecodeOgg(stb_vorbis* decoder, DWORD channels, BYTE* dest, DWORD count, DWORD loop) {
  if (decoder == NULL || channels == 0) return 0;
  OggSource source = {decoder, channels};
  // The length is unknown: the decoder tells where the data ends.
  DataReader reader = {0, 0xFFFFFFFF, loop, 0, 2 * channels, &source, ReadDecoded, RewindDecoder};
  return ReadData(reader, dest, count);
}

int WaveSlot::Rewind() {
  if (Vorbis != NULL) return stb_vorbis_seek_start(Vorbis) ? 0 : 1;
  if (hFile == NULL) return 1;
  return mmioSeek(hFile, (LONG)(DataChunk.dwDataOffset + LoopOffset), SEEK_SET) == -1 ? 1 : 0;
}

void CloseOggDecoder(stb_vorbis* decoder, BYTE* file) {
  if (decoder != NULL) stb_vorbis_close(decoder);
  free(file);
}

void WaveSlot::CloseOgg() {
  // Mid-decode the service still reads them: it closes them once done.
  if (!Decoding) CloseOggDecoder(Vorbis, OggBytes);
  Decoding = 0;
  Vorbis = NULL;
  OggBytes = NULL;
}
