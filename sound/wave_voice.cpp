// What a game asks of a loaded slot besides play and stop: volume, pan and rate
// kept by the slot, overlapping voices of a static sound, and whether it sounds.
// The service thread reads the same slots: each call holds the sound lock. The
// settings are given to the buffers by the service thread, and before any start:
// the platform's setting calls may wait for its mixer, and a game's must not.
#include "app/play_log.h"
#include "sound/sound_state.h"
#include "sound/wave_slot.h"
#include "util/release.h"

HRESULT ApplyWaveSettings(IDirectSoundBuffer* buffer, LONG volume, LONG pan, DWORD frequency) {
  HRESULT hr = buffer->SetVolume(volume);
  if (hr == 0) hr = buffer->SetPan(pan);
  if (hr == 0) hr = buffer->SetFrequency(frequency ? frequency : DSBFREQUENCY_ORIGINAL);
  return hr;
}

HRESULT WaveSlot::Adjust(LONG volume, LONG pan, DWORD frequency) {
  if (lpBuffer == NULL) return E_FAIL;
  Volume = volume;
  Pan = pan;
  Frequency = frequency;
  ++SettingsVersion;
  ++Sound.settingsCalls;
  if (!Sound.serviceAwake && Sound.hSoundWake != NULL) {
    Sound.serviceAwake = 1;
    SetEvent(Sound.hSoundWake);
  }
  return 0;
}

// A millisecond at a time, the lock let go: a mere yield would take it back before
// the service, woken to take it, could run, and could keep it from it for seconds.
void WaveSlot::AwaitService() {
  while (Applying) {
    UnlockSound();
    Sleep(1);
    LockSound();
  }
}

void WaveSlot::SettleSettings() {
  AwaitService();
  if (lpBuffer == NULL || SettingsVersion == AppliedVersion) return;
  ApplyWaveSettings((IDirectSoundBuffer*)lpBuffer, Volume, Pan, Frequency);
  for (IDirectSoundBuffer* voice : Voices) {
    if (voice != NULL) ApplyWaveSettings(voice, Volume, Pan, Frequency);
  }
  AppliedVersion = SettingsVersion;
}

HRESULT WaveSlot::PlayVoice() {
  if (lpBuffer == NULL || HalfBytes != 0) return E_FAIL;
  SettleSettings();  // the voice cut below is not the service's meanwhile
  // A duplicate shares the slot's samples: no copy, only a play position of its own.
  IDirectSoundBuffer* fresh = NULL;
  HRESULT hr = Sound.lpDirectSound->DuplicateSoundBuffer((IDirectSoundBuffer*)lpBuffer, &fresh);
  if (hr != 0 || fresh == NULL) return E_FAIL;  // the voices sounding go on
  IDirectSoundBuffer*& voice = Voices[NextVoice];
  ReleaseAndNull(&voice);  // the oldest voice is cut
  voice = fresh;
  NextVoice = (NextVoice + 1) % WAVE_VOICE_COUNT;
  ApplyWaveSettings(voice, Volume, Pan, Frequency);
  return voice->Play(0, 0, 0);
}

static int IsSounding(IDirectSoundBuffer* buffer) {
  DWORD status = 0;
  return buffer != NULL && buffer->GetStatus(&status) == 0 && (status & DSBSTATUS_PLAYING);
}

int WaveSlot::IsPlaying() {
  if (HalfBytes != 0) return !Finished && IsSounding((IDirectSoundBuffer*)lpBuffer);
  int playing = IsSounding((IDirectSoundBuffer*)lpBuffer);
  for (IDirectSoundBuffer* voice : Voices) playing |= IsSounding(voice);
  return playing;
}

// Runs a slot method under the sound lock; E_FAIL for an index past the last slot.
template <typename Call>
static HRESULT WithSlot(DWORD index, Call call) {
  if (IsWaveIndexInvalid(index)) return E_FAIL;
  LockSound();
  HRESULT hr = call(WaveSlots[index]);
  UnlockSound();
  return hr;
}

static LONG Clamp(LONG value, LONG low, LONG high) {
  return value < low ? low : value > high ? high : value;
}

HRESULT SetWaveVolume(DWORD index, LONG volume) {
  volume = Clamp(volume, DSBVOLUME_MIN, DSBVOLUME_MAX);
  return WithSlot(index, [=](WaveSlot& s) { return s.Adjust(volume, s.Pan, s.Frequency); });
}

HRESULT SetWavePan(DWORD index, LONG pan) {
  pan = Clamp(pan, DSBPAN_LEFT, DSBPAN_RIGHT);
  return WithSlot(index, [=](WaveSlot& s) { return s.Adjust(s.Volume, pan, s.Frequency); });
}

HRESULT SetWaveFrequency(DWORD index, DWORD hz) {
  if (hz != 0 && (hz < DSBFREQUENCY_MIN || hz > DSBFREQUENCY_MAX)) return E_FAIL;
  return WithSlot(index, [=](WaveSlot& s) {
    // A stream's half must outlast the service interval: faster, refills are missed.
    if (s.HalfBytes != 0 && hz > 2 * s.Format.nSamplesPerSec) return (HRESULT)E_FAIL;
    return s.Adjust(s.Volume, s.Pan, hz);
  });
}

HRESULT PlayWaveVoice(DWORD index) {
  return WithSlot(index, [=](WaveSlot& s) {
    HRESULT hr = s.PlayVoice();
    if (hr == 0) LogSoundStart(index, s.Volume, s.Pan, "voice");
    return hr;
  });
}

int IsWavePlaying(DWORD index) {
  return WithSlot(index, [](WaveSlot& s) { return (HRESULT)s.IsPlaying(); }) == 1;
}
