// Sound slots: RIFF WAVE files read through the multimedia file functions, Ogg
// Vorbis files through the decoder (wave_ogg.cpp), played whole from one buffer
// or streamed through a four-second buffer that the service thread refills two
// seconds at a time.
#include "sound/wave_slot.h"

#include <string.h>

#include "app/play_log.h"
#include "sound/buffer_write.h"
#include "sound/ogg_pages.h"
#include "sound/sound_state.h"
#include "sound/wave_chunks.h"
#include "sound/wave_math.h"
#include "util/release.h"

static const DWORD WAVE_BUFFER_FLAGS = DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLFREQUENCY |
                                       DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                                       DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;

// The slots' lock lives with the slots: the service takes it through these, and
// the slots never call back into the service.
void InitSoundLock() {
  InitializeCriticalSection(&Sound.SoundLock);
  Sound.lockReady = 1;
}

void ReleaseSoundLock() {
  if (!Sound.lockReady) return;
  DeleteCriticalSection(&Sound.SoundLock);
  Sound.lockReady = 0;
}

void LockSound() {
  if (Sound.lockReady) EnterCriticalSection(&Sound.SoundLock);
}

void UnlockSound() {
  if (Sound.lockReady) LeaveCriticalSection(&Sound.SoundLock);
}

WaveSlot::WaveSlot()
    : lpBuffer(NULL), Format(), hFile(NULL), DataChunk(), BufferBytes(0),
      HalfBytes(0), WriteOffset(0), SecondHalfNext(0), MoreData(0), Loop(0), LoopOffset(0),
      DataEnd(0), Finished(0), Decoding(0), Vorbis(NULL), OggBytes(NULL), Voices(), NextVoice(0), Volume(0),
      Pan(0), Frequency(0), BufferDue(0), SettingsVersion(0), AppliedVersion(0), Applying(0) {}

WaveSlot::~WaveSlot() { Release(); }

HRESULT WaveSlot::Load(const char* name, int streamed) {
  // The file is read and the buffer filled without the sound lock: the service
  // passes the slot by until LoadFile publishes HalfBytes under the lock.
  return LoadFile(name, streamed);
}

HRESULT WaveSlot::LoadFile(const char* name, int streamed) {
  Release();
  if (name == NULL) return E_FAIL;
  hFile = mmioOpenA(const_cast<char*>(name), NULL, MMIO_READ | MMIO_ALLOCBUF);
  if (hFile == NULL) return E_FAIL;
  // Told apart by content, whatever the name.
  BYTE signature[4] = {};
  int ogg = mmioRead(hFile, (HPSTR)signature, 4) == 4 && IsOggData(signature, 4);
  if (ogg ? OpenOgg() != 0 : mmioSeek(hFile, 0, SEEK_SET) != 0 || OpenWave() != 0) {
    Release();
    return E_FAIL;
  }

  DWORD half = streamed ? StreamHalfBytes(Format.nSamplesPerSec, Format.nBlockAlign) : 0;
  if (streamed) {
    BufferBytes = 2 * half;
  } else if (ogg) {
    BufferBytes = StaticOggBytes();
  } else {
    // The chunk's size is not trusted: a file claiming gigabytes it does not
    // hold would exhaust memory.
    LONG end = mmioSeek(hFile, 0, SEEK_END);
    DWORD after = end > (LONG)DataChunk.dwDataOffset ? (DWORD)end - DataChunk.dwDataOffset : 0;
    BufferBytes = PresentDataBytes(DataChunk.cksize, after, Format.nBlockAlign);
    if (mmioSeek(hFile, DataChunk.dwDataOffset, SEEK_SET) == -1) BufferBytes = 0;
  }
  lpBuffer = BufferBytes ? CreateWaveBuffer(&Format, BufferBytes, WAVE_BUFFER_FLAGS) : NULL;
  if (lpBuffer == NULL) {
    Release();
    return E_FAIL;
  }
  MoreData = 1;
  DWORD written = 0;
  HRESULT hr = Fill(1, 0, BufferBytes, &written);
  if (ogg && !streamed) CloseOgg();  // decoded whole: nothing more to read
  if (streamed) {
    LockSound();
    HalfBytes = half;
    Finished = written == 0;  // no audio data: nothing will ever be heard
    UnlockSound();
  }
  return hr;
}

static_assert(sizeof(WAVEFORMATEX) == sizeof(WaveChunks().format), "the format as a file holds it");

static uint32_t ReadSlotFileAt(void* file, uint32_t offset, uint8_t* dest, uint32_t count) {
  HMMIO h = (HMMIO)file;
  if (mmioSeek(h, (LONG)offset, SEEK_SET) != (LONG)offset) return 0;
  LONG got = mmioRead(h, (HPSTR)dest, (LONG)count);
  return got > 0 ? (uint32_t)got : 0;
}

// The RIFF header, the PCM format and the data chunk's place (wave_chunks.h); 0 or E_FAIL.
HRESULT WaveSlot::OpenWave() {
  WaveChunks chunks;
  if (!FindWaveChunks(hFile, ReadSlotFileAt, &chunks)) return E_FAIL;
  // A 16-byte PCM format has no extra-size field: it reads as 0.
  memcpy(&Format, chunks.format, sizeof Format);
  // A rate beyond what a buffer can play is refused: Wine's mixer takes such a
  // buffer and then divides by zero on its own thread as soon as it plays.
  if (Format.wFormatTag != WAVE_FORMAT_PCM || Format.nSamplesPerSec > DSBFREQUENCY_MAX)
    return E_FAIL;
  DataChunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
  DataChunk.dwDataOffset = chunks.dataOffset;
  DataChunk.cksize = chunks.dataBytes;
  // Reading starts at the data's first byte.
  return mmioSeek(hFile, (LONG)chunks.dataOffset, SEEK_SET) == (LONG)chunks.dataOffset ? 0 : E_FAIL;
}

int WaveSlot::Release() {
  // Locked for static slots too: the service may be giving any slot its settings.
  LockSound();
  AwaitService();  // its references are then not the last: never a released buffer
  // A playing voice stops with its last reference; the generations stay, so
  // that no id of a voice played before names one played after.
  EndVoices();
  for (WaveVoice& voice : Voices) ReleaseAndNull(&voice.buffer);
  if (lpBuffer != NULL) lpBuffer->Stop();
  if (hFile != NULL) mmioClose(hFile, 0);
  CloseOgg();
  ReleaseAndNull(&lpBuffer);
  memset(&Format, 0, sizeof Format);
  hFile = NULL;
  memset(&DataChunk, 0, sizeof DataChunk);
  BufferBytes = HalfBytes = WriteOffset = 0;
  SecondHalfNext = MoreData = Loop = LoopOffset = DataEnd = Finished = NextVoice = 0;
  Volume = Pan = 0;
  Frequency = BufferDue = SettingsVersion = AppliedVersion = 0;  // due settings dropped
  UnlockSound();
  return 1;
}

HRESULT WaveSlot::Play() {
  if (lpBuffer == NULL) return E_FAIL;
  LockSound();
  SettleSettings();  // never started with older settings
  UnlockSound();
  if (HalfBytes == 0) {  // static: from the start, once
    lpBuffer->SetCurrentPosition(0);
    return lpBuffer->Play(0, 0, 0);
  }
  // Streamed: resumes where it stopped.
  LockSound();
  HRESULT hr = lpBuffer->Play(0, 0, DSBPLAY_LOOPING);
  UnlockSound();
  return hr;
}

int WaveSlot::DueRefill(DWORD cursor) {
  if (HalfBytes == 0 || lpBuffer == NULL || Decoding) return 0;
  // All the data has played once the cursor is past its end within the half
  // that holds it, or has left that half for good (its refill is due).
  DWORD endHalf = DataEnd > HalfBytes ? HalfBytes : 0;
  if (DataEnd != 0 && cursor >= DataEnd && cursor < endHalf + HalfBytes) Finished = 1;
  if (!IsRefillDue(cursor, BufferBytes, SecondHalfNext)) return 0;
  if (DataEnd > WriteOffset && DataEnd <= WriteOffset + HalfBytes) Finished = 1;
  return 1;
}

void WaveSlot::RefillFromFile() {
  DWORD written = 0;
  // A loop set after the end reads again from the loop offset.
  Fill(MoreData || Loop, WriteOffset, HalfBytes, &written);
  Advance(written);
}

void WaveSlot::StagedWritten(DWORD read, int fromFile, DWORD locked) {
  if (locked != 0 && fromFile) NoteRead(WriteOffset, HalfBytes, read);
  Advance(fromFile ? read : HalfBytes);
}

void WaveSlot::Advance(DWORD written) {
  WriteOffset = SecondHalfNext ? 0 : HalfBytes;
  SecondHalfNext = !SecondHalfNext;
  // Nothing read, even after going back for a loop: the stream has ended.
  if (written == 0) MoreData = 0;
}

HRESULT WaveSlot::Fill(int fromFile, DWORD offset, DWORD count, DWORD* written) {
  if (lpBuffer == NULL) return 1;
  // Every byte of both regions is written: silence where nothing was read.
  DWORD total = 0, locked = 0;
  HRESULT hr = WriteLockedBuffer(lpBuffer, offset, count, &locked, [&](void* region, DWORD size) {
    total += FillRegion(fromFile, region, size);
  });
  if (written != NULL) *written = total;
  if (locked != 0 && fromFile) NoteRead(offset, count, total);
  return hr;
}

void WaveSlot::NoteRead(DWORD offset, DWORD count, DWORD read) {
  if (read != 0) Finished = 0;  // data again: a late loop sounds
  if (read == count) DataEnd = 0;  // where the data ended, until read again
  else if (DataEnd == 0) DataEnd = offset + read ? offset + read : BufferBytes;
}

static int32_t ReadSlotFile(void* file, uint8_t* dest, uint32_t count) {
  return mmioRead(((WaveSlot*)file)->hFile, (HPSTR)dest, (LONG)count);
}

static int RewindSlot(void* file, uint32_t) { return ((WaveSlot*)file)->Rewind(); }

DWORD WaveSlot::FillRegion(int fromFile, void* region, DWORD size) {
  if (!fromFile) {
    FillSilence(region, size);
    return size;
  }
  DWORD read = 0;
  if (Vorbis != NULL) {
    read = DecodeOgg(Vorbis, Format.nChannels, (BYTE*)region, size, Loop);
  } else {
    DataReader reader = {};
    reader.position = (DWORD)mmioSeek(hFile, 0, SEEK_CUR) - DataChunk.dwDataOffset;
    reader.dataBytes = DataChunk.cksize;
    reader.read = ReadSlotFile;
    reader.loop = Loop;
    reader.loopOffset = LoopOffset;
    reader.blockAlign = Format.nBlockAlign;
    reader.file = this;
    reader.seek = RewindSlot;
    read = ReadData(reader, (uint8_t*)region, size);
  }
  FillSilence((BYTE*)region + read, size - read);  // also over dropped stray bytes
  return read;
}

void WaveSlot::FillSilence(void* destination, DWORD count) {
  if (lpBuffer == NULL) return;
  memset(destination, SilenceByte(Format.wBitsPerSample), count);
}

int IsWaveIndexInvalid(DWORD index) { return index >= WAVE_SLOT_COUNT ? 1 : 0; }

HRESULT LoadWave(DWORD index, const char* name) {
  if (IsWaveIndexInvalid(index) || WaveSlots[index].BufferBytes != 0) return E_FAIL;
  return WaveSlots[index].Load(name, 0);
}

HRESULT LoadStreamWave(DWORD index, const char* name) {
  if (IsWaveIndexInvalid(index) || WaveSlots[index].BufferBytes != 0) return E_FAIL;
  return WaveSlots[index].Load(name, 1);
}

HRESULT PlayWave(DWORD index) {
  if (IsWaveIndexInvalid(index)) return E_FAIL;
  WaveSlot& slot = WaveSlots[index];
  HRESULT hr = slot.Play();
  if (hr == 0) LogSoundStart(index, slot.Volume, slot.Pan, NULL);
  return hr;
}

HRESULT StopWave(DWORD index) {
  if (IsWaveIndexInvalid(index) || WaveSlots[index].lpBuffer == NULL) return E_FAIL;
  LockSound();  // the voices' ids end here, whatever a voice call does meanwhile
  WaveSlots[index].EndVoices();
  UnlockSound();
  for (WaveVoice& voice : WaveSlots[index].Voices) {
    if (voice.buffer != NULL) voice.buffer->Stop();
  }
  return WaveSlots[index].lpBuffer->Stop();  // no lock: the position stays
}

// A game that started without sound is told so by every slot call.
static bool IsSilentStart() {
  return !IsSoundPresent() && Sound.silentAllowed != 0;
}

HRESULT ReleaseWave(DWORD index) {
  if (IsWaveIndexInvalid(index) || IsSilentStart()) return E_FAIL;
  return WaveSlots[index].Release();
}

// A stream shorter than its buffer met the end of its data while it was loaded,
// before its loop value could be set, and the rest of the buffer holds silence.
// While it has not started, it is filled again from the start of the data, so
// that its first lap is as gapless as the later ones.
void WaveSlot::RefillUnstarted() {
  LockSound();
  DWORD status = 0, cursor = 0;
  if (lpBuffer != NULL && HalfBytes != 0 && !Decoding && DataEnd != 0 && WriteOffset == 0 &&
      !SecondHalfNext && lpBuffer->GetStatus(&status) == 0 && !(status & DSBSTATUS_PLAYING) &&
      lpBuffer->GetCurrentPosition(&cursor, NULL) == 0 && cursor == 0 && Rewind() == 0) {
    DWORD written = 0;
    MoreData = 1;
    Fill(1, 0, BufferBytes, &written);
  }
  UnlockSound();
}

HRESULT SetWaveLoop(DWORD index, DWORD loop) {
  if (IsWaveIndexInvalid(index) || IsSilentStart()) return E_FAIL;
  LockSound();  // read by the service's next refill
  WaveSlots[index].Loop = loop;
  UnlockSound();
  if (loop != 0) WaveSlots[index].RefillUnstarted();
  return 0;
}
