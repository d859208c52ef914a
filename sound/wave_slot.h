// One WAV slot: a static buffer holding the whole data chunk, or a four-second
// streamed buffer refilled half by half from the still open file.
#pragma once
#include "sound/sound.h"

class WaveSlot {
 public:
  WaveSlot();
  ~WaveSlot();
  HRESULT Load(const char* name, int streamed);
  int Release();
  HRESULT Play();
  void UpdateStream();  // service thread, SoundLock held
  HRESULT Fill(int fromFile, DWORD offset, DWORD count, DWORD* written);
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
