// The sound module's own steps: its entry from the application, the shut-down,
// the device's buffers and the slots' lock. Not installed: games use sound/sound.h.
#pragma once
#include "sound/sound.h"

// InitSound (app/internal.h) for the window.
HRESULT InitSoundFor(HWND window);
// The start went on without the sound device: every slot call E_FAIL until ReleaseSound.
void AllowSilentStart(int allowed);
// Stops the streaming thread, empties every WAV slot, closes the device; safe twice; 0.
HRESULT ReleaseSound();

// A secondary buffer of the device, owned by the caller; null on failure.
IDirectSoundBuffer8* CreateWaveBuffer(const WAVEFORMATEX* format, DWORD size, DWORD flags);

// The recursive lock that guards the streamed slots; does nothing while the
// sound device is not initialised.
void LockSound();
// Leaves the sound lock taken by LockSound.
void UnlockSound();
