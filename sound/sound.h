// Sound: the DirectSound device with its playback format, the keep-alive buffer,
// the sound lock and service thread, and 256 WAV slots played whole from memory
// or streamed from their open file.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

HRESULT InitSound();
HRESULT ReleaseSound();
DWORD GetSoundSampleRate();
DWORD GetSoundChannels();
DWORD GetSoundBitsPerSample();

// A secondary buffer of the device, owned by the caller; null on failure.
IDirectSoundBuffer8* CreateWaveBuffer(const WAVEFORMATEX* format, DWORD size, DWORD flags);

// The recursive lock that guards the streamed slots; does nothing while the
// sound device is not initialised.
void LockSound();
void UnlockSound();

// WAV slots 0 to 255. Statuses are E_FAIL for an index of 256 or more.
enum { WAVE_SLOT_COUNT = 256 };
HRESULT LoadWave(DWORD index, const char* name);
HRESULT LoadStreamWave(DWORD index, const char* name);
HRESULT PlayWave(DWORD index);
HRESULT StopWave(DWORD index);
HRESULT ReleaseWave(DWORD index);  // 1 once the slot is empty
HRESULT SetWaveLoop(DWORD index, DWORD loop);
int IsWaveIndexInvalid(DWORD index);
