// The DirectSound device: playback format from its capabilities, the looping
// keep-alive buffer and the buffers the slots play. It knows nothing of the
// slots: they and their service (wave_slot.cpp, wave_service.cpp) call into it,
// never back.
#include "sound/sound.h"

#include <stdlib.h>
#include <string.h>

#include "sound/buffer_write.h"
#include "sound/sound_state.h"
#include "sound/wave_math.h"
#include "util/release.h"

static HRESULT CreateKeepAliveBuffer(WORD bits, WORD channels, DWORD rate);
static HRESULT WriteSoundBuffer(IDirectSoundBuffer8* buffer, const void* source, int copy,
                                DWORD offset, DWORD count, DWORD* written);
HRESULT OpenSoundDevice(HWND window) {
  if (SUCCEEDED(CoInitialize(NULL))) ++Sound.comCount;
  HRESULT hr = DirectSoundCreate8(NULL, &Sound.lpDirectSound, NULL);
  if (hr != 0) {
    Sound.lpDirectSound = NULL;
    return hr;
  }
  hr = Sound.lpDirectSound->SetCooperativeLevel(window, DSSCL_NORMAL);
  if (hr != 0) {
    CloseSoundDevice();
    return hr;
  }

  memset(&Sound.SoundCaps, 0, sizeof Sound.SoundCaps);
  Sound.SoundCaps.dwSize = sizeof Sound.SoundCaps;
  hr = Sound.lpDirectSound->GetCaps(&Sound.SoundCaps);
  if (hr == 0) {
    hr = CreateKeepAliveBuffer((WORD)GetSoundBitsPerSample(), (WORD)GetSoundChannels(),
                               GetSoundSampleRate());
  }
  return hr;
}

void CloseSoundDevice() {
  // Released while still playing: the device goes with it.
  ReleaseAndNull(&Sound.lpKeepAliveBuffer);
  ReleaseAndNull(&Sound.lpDirectSound);
  memset(&Sound.SoundCaps, 0, sizeof Sound.SoundCaps);
  for (; Sound.comCount > 0; --Sound.comCount) CoUninitialize();
  Sound.silentAllowed = 0;  // slot calls behave as without a start again
}

int IsSoundPresent() { return Sound.lpDirectSound != NULL ? 1 : 0; }
void AllowSilentStart(int allowed) { Sound.silentAllowed = allowed; }

DWORD GetSoundSampleRate() { return Sound.SoundCaps.dwMaxSecondarySampleRate; }
DWORD GetSoundChannels() { return PlaybackChannels(Sound.SoundCaps.dwFlags); }
DWORD GetSoundBitsPerSample() { return PlaybackBits(Sound.SoundCaps.dwFlags); }

static IDirectSoundBuffer8* CreateBuffer8(WAVEFORMATEX* format, DWORD size, DWORD flags,
                                          HRESULT* status) {
  DSBUFFERDESC desc = {};
  desc.dwSize = sizeof desc;
  desc.dwFlags = flags;
  desc.dwBufferBytes = size;
  desc.lpwfxFormat = format;
  desc.guid3DAlgorithm = GUID_NULL;
  IDirectSoundBuffer* first = NULL;
  *status = Sound.lpDirectSound->CreateSoundBuffer(&desc, &first, NULL);
  if (*status != 0) return NULL;
  IDirectSoundBuffer8* buffer = NULL;
  *status = first->QueryInterface(IID_IDirectSoundBuffer8, (void**)&buffer);
  first->Release();
  return *status == 0 ? buffer : NULL;
}

static HRESULT CreateKeepAliveBuffer(WORD bits, WORD channels, DWORD rate) {
  if (Sound.lpKeepAliveBuffer != NULL) return E_FAIL;
  WAVEFORMATEX format = {};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = channels;
  format.nSamplesPerSec = rate;
  format.nBlockAlign = (WORD)(bits * channels / 8);
  format.nAvgBytesPerSec = format.nBlockAlign * rate;
  format.wBitsPerSample = bits;
  DWORD bytes = 3 * format.nAvgBytesPerSec;
  const DWORD flags = DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN |
                      DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_GLOBALFOCUS |
                      DSBCAPS_GETCURRENTPOSITION2;
  HRESULT hr;
  Sound.lpKeepAliveBuffer = CreateBuffer8(&format, bytes, flags, &hr);
  if (Sound.lpKeepAliveBuffer == NULL) return hr;
  void* zeros = calloc(bytes, 1);
  if (zeros != NULL) {
    WriteSoundBuffer(Sound.lpKeepAliveBuffer, zeros, 1, 0, bytes, NULL);
    free(zeros);
  }
  return Sound.lpKeepAliveBuffer->Play(0, 0, DSBPLAY_LOOPING);
}

IDirectSoundBuffer8* CreateWaveBuffer(const WAVEFORMATEX* format, DWORD size, DWORD flags) {
  if (Sound.lpDirectSound == NULL || format == NULL) return NULL;
  HRESULT hr;
  return CreateBuffer8(const_cast<WAVEFORMATEX*>(format), size, flags, &hr);
}

static HRESULT WriteSoundBuffer(IDirectSoundBuffer8* buffer, const void* source, int copy,
                                DWORD offset, DWORD count, DWORD* written) {
  DWORD locked = 0;
  HRESULT hr = 1;
  if (buffer != NULL && source != NULL) {
    const BYTE* from = (const BYTE*)source;
    hr = WriteLockedBuffer(buffer, offset, count, &locked, [&](void* region, DWORD size) {
      if (copy) {
        memcpy(region, from, size);
        from += size;
      } else {
        memset(region, 0, size);
      }
    });
  }
  if (written != NULL) *written = locked;
  return hr;
}
