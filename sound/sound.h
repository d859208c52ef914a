// Sound: the DirectSound device with its playback format, the keep-alive buffer,
// the sound lock and service thread, and 256 slots of WAV or Ogg Vorbis sound
// played whole from memory or streamed as they play.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

// 1 while the sound device is open, else 0 (a start without sound: START_WITHOUT_SOUND).
int IsSoundPresent();
// The sample rate the device plays at, in Hz (0 before InitSound).
DWORD GetSoundSampleRate();
// The device's playback channels: 2 or 1.
DWORD GetSoundChannels();
// The device's playback sample width: 16 or 8.
DWORD GetSoundBitsPerSample();

// Sound slots 0 to 255. Statuses are E_FAIL for an index of 256 or more. A file is
// RIFF WAVE (PCM) or Ogg Vorbis (mono or stereo), told apart by its content.
enum { WAVE_SLOT_COUNT = 256 };
// Loads a sound file whole into slot 0..255; 0, or E_FAIL (slot taken, bad file).
HRESULT LoadWave(DWORD index, const char* name);
// Opens a sound file into slot 0..255 to stream as it plays; 0, or E_FAIL (slot taken, bad file).
HRESULT LoadStreamWave(DWORD index, const char* name);
// Plays a loaded slot from its start, a stream from where it stopped; 0, or E_FAIL if empty.
HRESULT PlayWave(DWORD index);
// Stops the slot where it is; 0, or E_FAIL for an empty slot.
HRESULT StopWave(DWORD index);
HRESULT ReleaseWave(DWORD index);  // 1 once the slot is empty
// Makes a stream start again at its end (non-zero) or stop (0); set it after loading; 0 or E_FAIL.
HRESULT SetWaveLoop(DWORD index, DWORD loop);
// 1 if the index is past the last slot (255), else 0.
int IsWaveIndexInvalid(DWORD index);

// The settings below stay with a loaded slot until it is released, and are given
// to all its voices, those with settings of their own too. They are kept at once
// without waiting for the device, which takes them moments later and always
// before PlayWave, PlayWaveVoice or PlayVoice starts the slot.
// Volume in hundredths of a decibel, 0 (as recorded) to -10000 (silent), clamped; 0 or E_FAIL.
HRESULT SetWaveVolume(DWORD index, LONG volume);
// Pan, -10000 (left only) through 0 (centre) to 10000 (right only), clamped; 0 or E_FAIL.
HRESULT SetWavePan(DWORD index, LONG pan);
// Plays at hz samples a second (pitch and speed; 0: the file's own); 0, or E_FAIL changing nothing.
HRESULT SetWaveFrequency(DWORD index, DWORD hz);
// 1 while the slot or one of its voices sounds (a stream: until its last data is heard), else 0.
int IsWavePlaying(DWORD index);
// Plays a static slot from its start beside its earlier plays, up to 8 at once (the ninth
// cuts the oldest); 0, or E_FAIL for an empty or streamed slot.
HRESULT PlayWaveVoice(DWORD index);

// A voice with settings of its own: volume and pan as SetWaveVolume and SetWavePan
// (clamped), hz as SetWaveFrequency (0: the slot's rate).
struct VoiceDesc {
  LONG volume;
  LONG pan;
  DWORD hz;
};
// Plays a static slot from its start as PlayWaveVoice does (the ninth voice cuts the
// oldest), with these settings; 0 and its id in *voice (never 0), or E_FAIL and 0
// (empty or streamed slot, bad index, null desc or voice, hz refused).
HRESULT PlayVoice(DWORD index, const VoiceDesc* desc, DWORD* voice);
// An id names one play: once it has ended, been cut, stopped, or its slot stopped or
// released, the calls below return E_FAIL (IsVoicePlaying 0) and touch no other voice.
// The voice's volume, clamped as SetWaveVolume's; 0 or E_FAIL.
HRESULT SetVoiceVolume(DWORD voice, LONG volume);
// The voice's pan, clamped as SetWavePan's; 0 or E_FAIL.
HRESULT SetVoicePan(DWORD voice, LONG pan);
// Stops that voice alone; 0 or E_FAIL.
HRESULT StopVoice(DWORD voice);
// 1 while that voice sounds, else 0.
int IsVoicePlaying(DWORD voice);
