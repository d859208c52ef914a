// Module state of sound, zero at program start.
#pragma once
#include "sound/wave_slot.h"

struct SoundState {
  IDirectSound8* lpDirectSound;
  IDirectSoundBuffer8* lpKeepAliveBuffer;
  DSCAPS SoundCaps;
  CRITICAL_SECTION SoundLock;
  HANDLE hSoundThread;
  DWORD SoundThreadId;
  int lockReady;    // SoundLock initialised by InitSound
  int comCount;     // successful CoInitialize calls to balance
  int silentAllowed;  // started without the sound device (START_WITHOUT_SOUND), until ReleaseSound
};

extern SoundState Sound;
extern WaveSlot WaveSlots[WAVE_SLOT_COUNT];

enum { SOUND_SERVICE_INTERVAL = 500 };  // ms between refill passes

// InitSound for the window.
HRESULT InitSoundFor(HWND window);
// The start went on without the sound device: every slot call E_FAIL until ReleaseSound.
void AllowSilentStart(int allowed);
