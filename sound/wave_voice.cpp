// A loaded slot's settings and the voices of a static slot, each with settings
// of its own. The settings are only recorded here: the service thread gives them
// to the buffers (wave_service.cpp), and a start gives those still due before it
// starts anything, since the platform's setting calls may wait for its mixer and
// a game's must not. Every method runs with the sound lock held.
#include "sound/sound_state.h"
#include "sound/voice_id.h"
#include "sound/wave_slot.h"
#include "util/release.h"

static_assert(WAVE_SLOT_COUNT == 1 << VOICE_SLOT_BITS, "a voice id holds any slot");
static_assert(WAVE_VOICE_COUNT == 1 << VOICE_INDEX_BITS, "a voice id holds any voice");

HRESULT ApplyWaveSettings(IDirectSoundBuffer* buffer, LONG volume, LONG pan, DWORD frequency) {
  HRESULT hr = buffer->SetVolume(volume);
  if (hr == 0) hr = buffer->SetPan(pan);
  if (hr == 0) hr = buffer->SetFrequency(frequency ? frequency : DSBFREQUENCY_ORIGINAL);
  return hr;
}

static void Put(WaveSetting setting, LONG value, LONG* volume, LONG* pan, DWORD* frequency) {
  if (setting == WAVE_VOLUME) *volume = value;
  else if (setting == WAVE_PAN) *pan = value;
  else *frequency = (DWORD)value;
}

void WaveSlot::NoteDue() {
  ++SettingsVersion;
  ++Sound.settingsCalls;
  if (!Sound.serviceAwake && Sound.hSoundWake != NULL) {
    Sound.serviceAwake = 1;
    SetEvent(Sound.hSoundWake);
  }
}

HRESULT WaveSlot::Adjust(WaveSetting setting, LONG value) {
  if (lpBuffer == NULL) return E_FAIL;
  Put(setting, value, &Volume, &Pan, &Frequency);
  BufferDue = 1;
  for (WaveVoice& voice : Voices) {
    if (voice.buffer == NULL) continue;
    Put(setting, value, &voice.volume, &voice.pan, &voice.frequency);
    voice.due = 1;
  }
  NoteDue();
  return 0;
}

HRESULT WaveSlot::AdjustVoice(DWORD index, DWORD generation, WaveSetting setting, LONG value) {
  if (!IsVoiceLive(index, generation)) return E_FAIL;
  WaveVoice& voice = Voices[index];
  Put(setting, value, &voice.volume, &voice.pan, &voice.frequency);
  voice.due = 1;
  NoteDue();
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
  if (BufferDue) ApplyWaveSettings((IDirectSoundBuffer*)lpBuffer, Volume, Pan, Frequency);
  for (WaveVoice& voice : Voices) {
    if (voice.due && voice.buffer != NULL) {
      ApplyWaveSettings(voice.buffer, voice.volume, voice.pan, voice.frequency);
    }
    voice.due = 0;
  }
  BufferDue = 0;
  AppliedVersion = SettingsVersion;
}

HRESULT WaveSlot::PlayVoice(LONG volume, LONG pan, DWORD frequency, DWORD* index,
                            DWORD* generation) {
  if (lpBuffer == NULL || HalfBytes != 0) return E_FAIL;
  SettleSettings();  // the voice cut below is not the service's meanwhile
  // A duplicate shares the slot's samples: no copy, only a play position of its own.
  IDirectSoundBuffer* fresh = NULL;
  HRESULT hr = Sound.lpDirectSound->DuplicateSoundBuffer((IDirectSoundBuffer*)lpBuffer, &fresh);
  if (hr != 0 || fresh == NULL) return E_FAIL;  // the voices sounding go on
  WaveVoice& voice = Voices[NextVoice];
  ReleaseAndNull(&voice.buffer);  // the oldest voice is cut, and its id with it
  voice.buffer = fresh;
  voice.volume = volume;
  voice.pan = pan;
  voice.frequency = frequency;
  voice.generation = NextVoiceGeneration(voice.generation);
  voice.due = 0;
  if (index != NULL) *index = NextVoice;
  if (generation != NULL) *generation = voice.generation;
  NextVoice = (NextVoice + 1) % WAVE_VOICE_COUNT;
  ApplyWaveSettings(fresh, volume, pan, frequency);
  hr = fresh->Play(0, 0, 0);
  voice.live = hr == 0;
  return hr;
}

static int IsSounding(IDirectSoundBuffer* buffer) {
  DWORD status = 0;
  return buffer != NULL && buffer->GetStatus(&status) == 0 && (status & DSBSTATUS_PLAYING);
}

int WaveSlot::IsVoiceLive(DWORD index, DWORD generation) {
  if (index >= WAVE_VOICE_COUNT) return 0;
  WaveVoice& voice = Voices[index];
  if (!voice.live || voice.generation != generation) return 0;
  // Played to its end: its id names nothing from now on.
  if (!IsSounding(voice.buffer)) voice.live = 0;
  return voice.live;
}

HRESULT WaveSlot::StopVoice(DWORD index, DWORD generation) {
  if (!IsVoiceLive(index, generation)) return E_FAIL;
  Voices[index].live = 0;
  return Voices[index].buffer->Stop();
}

void WaveSlot::EndVoices() {
  for (WaveVoice& voice : Voices) voice.live = 0;
}

int WaveSlot::IsPlaying() {
  if (HalfBytes != 0) return !Finished && IsSounding((IDirectSoundBuffer*)lpBuffer);
  int playing = IsSounding((IDirectSoundBuffer*)lpBuffer);
  for (WaveVoice& voice : Voices) playing |= IsSounding(voice.buffer);
  return playing;
}
