// One WAV slot: a static buffer holding the whole data chunk, or a four-second
// streamed buffer refilled half by half from the still open file.
#pragma once
#include "sound/sound.h"

class WaveSlot {
 public:
  WaveSlot();   // an empty slot, every field zero
  ~WaveSlot();  // releases the slot
  // Loads a WAV file whole (streamed 0) or for streaming (1); 0, or E_FAIL leaving it empty.
  HRESULT Load(const char* name, int streamed);
  // Stops the buffer, closes the file and empties the slot; returns 1.
  int Release();
  // Plays a static slot once from its start, a stream looping from where it is; the play status.
  HRESULT Play();
  // Refills the half of a stream the play cursor has left; service thread, SoundLock held.
  void UpdateStream();
  // Writes count bytes at offset from the file or as silence; the (un)lock status, 1: no buffer.
  HRESULT Fill(int fromFile, DWORD offset, DWORD count, DWORD* written);
  // Writes count bytes of silence (0x80 for 8-bit samples, else 0) at destination.
  void FillSilence(void* destination, DWORD count);
  void RefillUnstarted();  // after the loop value is set

  IDirectSoundBuffer8* lpBuffer;
  WAVEFORMATEX Format;
  HMMIO hFile;
  MMCKINFO RiffChunk;
  MMCKINFO DataChunk;
  DWORD BufferBytes;     // nonzero: the slot is in use
  DWORD HalfBytes;       // nonzero: streamed
  DWORD WriteOffset;     // 0 or HalfBytes
  DWORD SecondHalfNext;  // the half due next is the second one
  DWORD MoreData;        // 0 once the file is exhausted: refills write silence
  DWORD Loop;
  DWORD LoopOffset;

 private:
  HRESULT LoadFile(const char* name, int streamed);
  DWORD FillRegion(int fromFile, void* region, DWORD size);
};
