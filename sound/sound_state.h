// Module state of sound, zero at program start: the device (sound.cpp), the
// slots' lock (wave_slot.cpp) and the service thread (wave_service.cpp).
#pragma once
#include "sound/internal.h"

struct SoundState {
  IDirectSound8* lpDirectSound;
  IDirectSoundBuffer8* lpKeepAliveBuffer;
  DSCAPS SoundCaps;
  CRITICAL_SECTION SoundLock;
  HANDLE hSoundThread;
  DWORD SoundThreadId;
  HANDLE hSoundWake;     // auto-reset: settings are due, or the thread is to quit
  DWORD settingsCalls;   // counts the settings recorded in any slot (sound lock)
  int serviceAwake;      // the service looks for settings by itself: no wake needed
  int lockReady;    // SoundLock initialised by InitSound
  int comCount;     // successful CoInitialize calls to balance
  int silentAllowed;  // started without the sound device (START_WITHOUT_SOUND), until ReleaseSound
};

extern SoundState Sound;

enum { SOUND_SERVICE_INTERVAL = 500 };  // ms between refill passes
// For a while after settings came, the service looks for more every few ms by
// itself, so that a game setting them each frame does not wake it each time:
// here waking another thread cost the caller up to 17 ms now and then.
enum { SOUND_SETTINGS_POLL = 5, SOUND_SETTINGS_LINGER = 200 };  // ms

// The device, its caps and keep-alive buffer; 0 or the failing status (no device
// left open when it cannot be made to cooperate).
HRESULT OpenSoundDevice(HWND window);
// Releases the keep-alive buffer and the device; balances COM; safe twice.
void CloseSoundDevice();
// Makes the slots' lock (LockSound works from then on) / deletes it; safe twice.
void InitSoundLock();
void ReleaseSoundLock();
