// The sound slots' service: the thread that gives the slots' settings to their
// buffers when woken and refills streams every 500 ms, and the start and end of
// sound as a whole (the slots' lock is theirs: wave_slot.cpp). An Ogg Vorbis
// refill is decoded into a staging buffer and copied into the slot's buffer
// without the lock, so a game's slot calls never wait for it; the lock is held
// only to note what was written. A WAV refill reads the file straight into the
// buffer under the lock.
#include <stdlib.h>
#include <string.h>

#include "sound/buffer_write.h"
#include "sound/sound_state.h"
#include "sound/wave_math.h"
#include "sound/wave_slot.h"

static DWORD WINAPI SoundThreadProc(LPVOID);

HRESULT InitSoundFor(HWND window) {
  if (Sound.lpDirectSound != NULL) return E_FAIL;
  HRESULT hr = OpenSoundDevice(window);
  if (Sound.lpDirectSound == NULL) return hr;
  // Whatever the caps and keep-alive results: the lock and the thread start.
  InitSoundLock();
  Sound.hSoundWake = CreateEventA(NULL, FALSE, FALSE, NULL);
  // The thread makes its message queue before this returns, so that a quit
  // posted at once by ReleaseSound is never lost.
  HANDLE queueReady = CreateEventA(NULL, TRUE, FALSE, NULL);
  Sound.hSoundThread = CreateThread(NULL, 0, SoundThreadProc, queueReady, 0, &Sound.SoundThreadId);
  if (queueReady != NULL) {
    if (Sound.hSoundThread != NULL) WaitForSingleObject(queueReady, INFINITE);
    CloseHandle(queueReady);
  }
  return hr;
}

HRESULT ReleaseSound() {
  if (Sound.hSoundThread != NULL) {
    // Posting fails while the thread has no message queue yet (its start-up
    // event may have been missing): the quit is posted again until it ends.
    do {
      PostThreadMessageA(Sound.SoundThreadId, WM_QUIT, 0, 0);
      if (Sound.hSoundWake != NULL) SetEvent(Sound.hSoundWake);  // not to wait its interval
    } while (WaitForSingleObject(Sound.hSoundThread, 100) == WAIT_TIMEOUT);
    CloseHandle(Sound.hSoundThread);
    Sound.hSoundThread = NULL;
    Sound.SoundThreadId = 0;
  }
  if (Sound.hSoundWake != NULL) CloseHandle(Sound.hSoundWake);
  Sound.hSoundWake = NULL;
  Sound.settingsCalls = Sound.serviceAwake = 0;
  for (WaveSlot& slot : WaveSlots) slot.Release();
  ReleaseSoundLock();
  CloseSoundDevice();
  return 0;
}

// Writes count bytes at offset: read bytes from staged, then silence; the bytes locked.
static DWORD WriteStaged(IDirectSoundBuffer8* buffer, DWORD offset, DWORD count,
                         const BYTE* staged, DWORD read, BYTE silence) {
  DWORD done = 0, locked = 0;
  WriteLockedBuffer(buffer, offset, count, &locked, [&](void* region, DWORD size) {
    DWORD copied = read > done ? (read - done < size ? read - done : size) : 0;
    memcpy(region, staged + done, copied);
    memset((BYTE*)region + copied, silence, size - copied);
    done += size;
  });
  return locked;
}

// Refills an Ogg stream's due half; entered and left with the sound lock held,
// which is let go while the half is decoded and written into the buffer (held
// by a reference of its own). The slot is marked Decoding meanwhile: a release
// hands its decoder over instead of closing it, and the result is then dropped
// here and the decoder closed.
static void RefillOgg(WaveSlot& slot, BYTE** staging, DWORD* stagingBytes) {
  const DWORD count = slot.HalfBytes, offset = slot.WriteOffset, loop = slot.Loop;
  const DWORD channels = slot.Format.nChannels;
  const BYTE silence = SilenceByte(slot.Format.wBitsPerSample);
  const int fromFile = slot.MoreData || loop;
  stb_vorbis* decoder = slot.Vorbis;
  BYTE* file = slot.OggBytes;
  IDirectSoundBuffer8* buffer = slot.lpBuffer;
  if (*stagingBytes < count) {
    BYTE* grown = (BYTE*)realloc(*staging, count);
    if (grown == NULL) return;  // tried again at the next pass
    *staging = grown;
    *stagingBytes = count;
  }
  slot.Decoding = 1;
  buffer->AddRef();
  UnlockSound();
  DWORD read = fromFile ? DecodeOgg(decoder, channels, *staging, count, loop) : 0;
  DWORD locked = WriteStaged(buffer, offset, count, *staging, read, silence);
  buffer->Release();  // the last reference when the slot was released meanwhile
  LockSound();
  if (slot.Decoding) {
    slot.Decoding = 0;
    slot.StagedWritten(read, fromFile, locked);
  } else {
    CloseOggDecoder(decoder, file);  // released meanwhile
  }
}

// Gives the due settings of a slot's buffer and voices to them; entered and left
// with the sound lock held, which is let go for the platform's calls (they may wait
// for its mixer), each buffer held by a reference of our own. The slot is marked
// Applying meanwhile: a start or a release waits for it, so that these values never
// land after newer ones nor on a released buffer. Settings changed meanwhile are
// given again.
static void ApplyDueSettings(WaveSlot& slot) {
  struct Due {
    IDirectSoundBuffer* buffer;
    LONG volume, pan;
    DWORD frequency;
  };
  while (slot.SettingsVersion != slot.AppliedVersion && slot.lpBuffer != NULL) {
    const DWORD version = slot.SettingsVersion;
    Due due[1 + WAVE_VOICE_COUNT];
    int count = 0;
    if (slot.BufferDue) {
      due[count++] = {(IDirectSoundBuffer*)slot.lpBuffer, slot.Volume, slot.Pan, slot.Frequency};
    }
    for (WaveVoice& voice : slot.Voices) {
      if (voice.due && voice.buffer != NULL) {
        due[count++] = {voice.buffer, voice.volume, voice.pan, voice.frequency};
      }
      voice.due = 0;
    }
    slot.BufferDue = 0;
    for (int i = 0; i < count; ++i) due[i].buffer->AddRef();
    slot.Applying = 1;
    UnlockSound();
    for (int i = 0; i < count; ++i) {
      ApplyWaveSettings(due[i].buffer, due[i].volume, due[i].pan, due[i].frequency);
    }
    for (int i = 0; i < count; ++i) due[i].buffer->Release();  // the slot still holds them
    LockSound();
    slot.Applying = 0;
    slot.AppliedVersion = version;
  }
}

// One slot at a time: a game's call waits at most for one slot's work. The play
// cursor is read without the lock, through a reference of our own (the buffer's
// address cannot be reused while it is held).
static void RefillDueStreams(BYTE** staging, DWORD* stagingBytes) {
  for (WaveSlot& slot : WaveSlots) {
    LockSound();
    IDirectSoundBuffer8* buffer = slot.HalfBytes != 0 && !slot.Decoding ? slot.lpBuffer : NULL;
    if (buffer != NULL) buffer->AddRef();
    UnlockSound();
    if (buffer == NULL) continue;
    DWORD cursor = 0;
    if (buffer->GetCurrentPosition(&cursor, NULL) != 0) cursor = 0;
    LockSound();
    if (slot.lpBuffer == buffer && slot.DueRefill(cursor)) {
      if (slot.Vorbis != NULL) RefillOgg(slot, staging, stagingBytes);
      else slot.RefillFromFile();
    }
    UnlockSound();
    buffer->Release();
  }
}

static DWORD WINAPI SoundThreadProc(LPVOID argument) {
  MSG msg;
  PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);  // makes this thread's queue
  if (argument != NULL) SetEvent((HANDLE)argument);
  BYTE* staging = NULL;
  DWORD stagingBytes = 0;
  DWORD refilled = GetTickCount() - SOUND_SERVICE_INTERVAL;  // the first pass refills
  DWORD seen = 0, lastSettings = refilled - SOUND_SETTINGS_LINGER;
  for (;;) {
    LockSound();
    const DWORD calls = Sound.settingsCalls;
    UnlockSound();
    for (WaveSlot& slot : WaveSlots) {
      LockSound();
      ApplyDueSettings(slot);
      UnlockSound();
    }
    // Woken for settings before the interval is over: no refill pass yet.
    if (GetTickCount() - refilled >= SOUND_SERVICE_INTERVAL) {
      RefillDueStreams(&staging, &stagingBytes);
      refilled = GetTickCount();
    }
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        free(staging);
        return 0;
      }
    }
    const DWORD now = GetTickCount();
    if (calls != seen) lastSettings = now;
    seen = calls;
    LockSound();
    const int due = Sound.settingsCalls != calls;  // came during this pass: no wake was sent
    const int polling = now - lastSettings < SOUND_SETTINGS_LINGER;
    Sound.serviceAwake = due || polling;
    UnlockSound();
    if (due) continue;
    const DWORD since = now - refilled;
    DWORD wait = since < SOUND_SERVICE_INTERVAL ? SOUND_SERVICE_INTERVAL - since : 0;
    if (polling && wait > SOUND_SETTINGS_POLL) wait = SOUND_SETTINGS_POLL;
    if (Sound.hSoundWake == NULL) Sleep(wait);
    else WaitForSingleObject(Sound.hSoundWake, wait);
  }
}
