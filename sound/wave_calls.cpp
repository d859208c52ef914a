// What a game asks of a loaded slot besides load, play and stop: the slot's
// volume, pan and rate, its voices (overlapping plays of a static sound, each
// named by an id, voice_id.h) and whether it sounds. The service thread reads the
// same slots: each call holds the sound lock.
#include "app/play_log.h"
#include "sound/sound_state.h"
#include "sound/voice_id.h"
#include "sound/wave_slot.h"

// Runs a slot method under the sound lock; E_FAIL for an index past the last slot.
template <typename Call>
static HRESULT WithSlot(DWORD index, Call call) {
  if (IsWaveIndexInvalid(index)) return E_FAIL;
  LockSound();
  HRESULT hr = call(WaveSlots[index]);
  UnlockSound();
  return hr;
}

// Runs a method on the slot of a voice id with its voice index and generation.
template <typename Call>
static HRESULT WithVoice(DWORD id, Call call) {
  const VoiceIdParts voice = SplitVoiceId(id);
  if (voice.generation == 0) return E_FAIL;  // no play's id
  return WithSlot(voice.slot, [&](WaveSlot& s) { return call(s, voice.voice, voice.generation); });
}

static LONG Clamp(LONG value, LONG low, LONG high) {
  return value < low ? low : value > high ? high : value;
}

static LONG ClampVolume(LONG volume) { return Clamp(volume, DSBVOLUME_MIN, DSBVOLUME_MAX); }
static LONG ClampPan(LONG pan) { return Clamp(pan, DSBPAN_LEFT, DSBPAN_RIGHT); }
static bool IsRateRefused(DWORD hz) {
  return hz != 0 && (hz < DSBFREQUENCY_MIN || hz > DSBFREQUENCY_MAX);
}

HRESULT SetWaveVolume(DWORD index, LONG volume) {
  volume = ClampVolume(volume);
  return WithSlot(index, [=](WaveSlot& s) { return s.Adjust(WAVE_VOLUME, volume); });
}

HRESULT SetWavePan(DWORD index, LONG pan) {
  pan = ClampPan(pan);
  return WithSlot(index, [=](WaveSlot& s) { return s.Adjust(WAVE_PAN, pan); });
}

HRESULT SetWaveFrequency(DWORD index, DWORD hz) {
  if (IsRateRefused(hz)) return E_FAIL;
  return WithSlot(index, [=](WaveSlot& s) {
    // A stream's half must outlast the service interval: faster, refills are missed.
    if (s.HalfBytes != 0 && hz > 2 * s.Format.nSamplesPerSec) return (HRESULT)E_FAIL;
    return s.Adjust(WAVE_FREQUENCY, (LONG)hz);
  });
}

HRESULT PlayWaveVoice(DWORD index) {
  return WithSlot(index, [=](WaveSlot& s) {
    HRESULT hr = s.PlayVoice(s.Volume, s.Pan, s.Frequency, NULL, NULL);
    if (hr == 0) LogSoundStart(index, s.Volume, s.Pan, "voice");
    return hr;
  });
}

int IsWavePlaying(DWORD index) {
  return WithSlot(index, [](WaveSlot& s) { return (HRESULT)s.IsPlaying(); }) == 1;
}

HRESULT PlayVoice(DWORD index, const VoiceDesc* desc, DWORD* voice) {
  if (voice != NULL) *voice = 0;
  if (desc == NULL || voice == NULL || IsRateRefused(desc->hz)) return E_FAIL;
  const LONG volume = ClampVolume(desc->volume), pan = ClampPan(desc->pan);
  DWORD played = 0, generation = 0;
  HRESULT hr = WithSlot(index, [&](WaveSlot& s) {
    HRESULT started = s.PlayVoice(volume, pan, desc->hz ? desc->hz : s.Frequency, &played, &generation);
    if (started == 0) LogSoundStart(index, volume, pan, "voice");
    return started;
  });
  if (hr == 0) *voice = MakeVoiceId(index, played, generation);
  return hr;
}

HRESULT SetVoiceVolume(DWORD voice, LONG volume) {
  volume = ClampVolume(volume);
  return WithVoice(voice, [=](WaveSlot& s, DWORD index, DWORD generation) {
    return s.AdjustVoice(index, generation, WAVE_VOLUME, volume);
  });
}

HRESULT SetVoicePan(DWORD voice, LONG pan) {
  pan = ClampPan(pan);
  return WithVoice(voice, [=](WaveSlot& s, DWORD index, DWORD generation) {
    return s.AdjustVoice(index, generation, WAVE_PAN, pan);
  });
}

HRESULT StopVoice(DWORD voice) {
  return WithVoice(voice, [](WaveSlot& s, DWORD index, DWORD generation) {
    return s.StopVoice(index, generation);
  });
}

int IsVoicePlaying(DWORD voice) {
  return WithVoice(voice, [](WaveSlot& s, DWORD index, DWORD generation) {
    return (HRESULT)s.IsVoiceLive(index, generation);
  }) == 1;
}
