// One sound slot: a static buffer holding the whole sound (with up to eight
// voices playing copies of it), or a four-second streamed buffer refilled half
// by half from the still open WAV file or from the Ogg Vorbis decoder. The slots
// own their lock; the service thread (wave_service.cpp) calls into them and the
// slots use the device (sound.cpp), neither calling back: the slots only set the
// service's wake event.
#pragma once
#include "sound/sound.h"

struct stb_vorbis;
enum { WAVE_VOICE_COUNT = 8 };

// What a setting call changes.
enum WaveSetting { WAVE_VOLUME, WAVE_PAN, WAVE_FREQUENCY };

// One of a static slot's voices: a duplicate of its buffer with settings of its own.
struct WaveVoice {
  IDirectSoundBuffer* buffer;
  LONG volume, pan;
  DWORD frequency;   // 0: the file's own rate
  DWORD generation;  // of the play it holds: its id's (voice_id.h)
  DWORD live;        // until cut, stopped, released or found ended: its id names it
  DWORD due;         // its settings are still to be given to its buffer
};

class WaveSlot {
 public:
  WaveSlot();   // an empty slot, every field zero
  ~WaveSlot();  // releases the slot
  // Loads a WAV or Ogg Vorbis file whole (streamed 0) or for streaming (1); 0, or
  // E_FAIL leaving it empty.
  HRESULT Load(const char* name, int streamed);
  // Stops the buffer, closes the file and empties the slot; returns 1.
  int Release();
  // Plays a static slot once from its start, a stream looping from where it is; the play status.
  HRESULT Play();
  // Service thread, sound lock held. Whether a stream's next half is due for a
  // refill at this play cursor (and whether its data has all been heard).
  int DueRefill(DWORD cursor);
  void RefillFromFile();  // a WAV stream's due half, read into the buffer
  // After the service wrote an Ogg stream's due half at WriteOffset without the
  // lock: read bytes of samples (fromFile 0: silence only); locked 0: not written.
  void StagedWritten(DWORD read, int fromFile, DWORD locked);
  // Writes count bytes at offset from the file or as silence; the (un)lock status, 1: no buffer.
  HRESULT Fill(int fromFile, DWORD offset, DWORD count, DWORD* written);
  // Writes count bytes of silence (0x80 for 8-bit samples, else 0) at destination.
  void FillSilence(void* destination, DWORD count);
  void RefillUnstarted();  // after the loop value is set
  // Goes back to the data's loop offset (WAV) or the first sample (Ogg); 0 when done.
  int Rewind();
  // Sound lock held. Keeps this setting for the slot and all its voices and marks
  // it due for the service thread (woken if asleep), which gives it to the
  // buffers; 0, or E_FAIL (empty slot). The platform is not called.
  HRESULT Adjust(WaveSetting setting, LONG value);
  // Sound lock held. The same for the one voice of that index and generation; 0, or
  // E_FAIL when that play has ended or been cut.
  HRESULT AdjustVoice(DWORD voice, DWORD generation, WaveSetting setting, LONG value);
  // Sound lock held. Waits for the service to finish giving this slot's settings
  // (so that its older values cannot land after newer ones), then gives the
  // buffer and its voices any settings still due: before anything starts.
  void SettleSettings();
  // Sound lock held. A static slot's sound once more, beside earlier plays, with
  // these settings (frequency 0: the file's own); the play status, and in *voice
  // (when given) the voice's index, its generation in *generation.
  HRESULT PlayVoice(LONG volume, LONG pan, DWORD frequency, DWORD* voice, DWORD* generation);
  // Sound lock held. 1 while the play of that voice index and generation sounds;
  // a play found ended is no longer live.
  int IsVoiceLive(DWORD voice, DWORD generation);
  // Sound lock held. Stops that play; the stop status, or E_FAIL when it has
  // ended or been cut.
  HRESULT StopVoice(DWORD voice, DWORD generation);
  void EndVoices();  // sound lock held: no id names any of the voices any more
  int IsPlaying();      // the buffer or a voice sounds, and a stream's data is not all heard

  IDirectSoundBuffer8* lpBuffer;
  WAVEFORMATEX Format;
  HMMIO hFile;
  MMCKINFO DataChunk;
  DWORD BufferBytes;     // nonzero: the slot is in use
  DWORD HalfBytes;       // nonzero: streamed
  DWORD WriteOffset;     // 0 or HalfBytes
  DWORD SecondHalfNext;  // the half due next is the second one
  DWORD MoreData;        // 0 once the file is exhausted: refills write silence
  DWORD Loop;
  DWORD LoopOffset;
  DWORD DataEnd;   // nonzero: where in a stream's buffer its data ended (1..BufferBytes)
  DWORD Finished;  // the stream's last data has been played
  DWORD Decoding;  // the service decodes its refill without the lock: the slot's
                   // decoder is the service's until this is 0 again
  stb_vorbis* Vorbis;  // an Ogg file's decoder, reading OggBytes
  BYTE* OggBytes;      // the Ogg file, its intact pages
  WaveVoice Voices[WAVE_VOICE_COUNT];  // their generations outlive a release
  DWORD NextVoice;  // the oldest voice, which the next one replaces
  LONG Volume, Pan;  // hundredths of a decibel; -10000 left to 10000 right
  DWORD Frequency;   // 0: the file's own rate
  DWORD BufferDue;   // the slot's own buffer has settings due
  DWORD SettingsVersion;  // counts the settings recorded
  DWORD AppliedVersion;   // the version the buffers have; SettingsVersion: none due
  DWORD Applying;  // the service gives the settings without the lock: a start or a
                   // release waits until this is 0 again

 private:
  HRESULT LoadFile(const char* name, int streamed);
  void NoteDue();  // a setting was recorded: the service is to give it
  void AwaitService();  // sound lock held (once): until the service is not Applying
  HRESULT OpenWave();  // the RIFF header, the format and the data chunk; 0 or E_FAIL
  HRESULT OpenOgg();   // the whole file read, its decoder opened, Format set; 0 or E_FAIL
  DWORD StaticOggBytes();  // decoded size in bytes (0: over the cap), the decoder back at the start
  void CloseOgg();
  DWORD FillRegion(int fromFile, void* region, DWORD size);
  void NoteRead(DWORD offset, DWORD count, DWORD read);  // where the data ended
  void Advance(DWORD written);  // to the other half; a refill of nothing ends the data
};

extern WaveSlot WaveSlots[WAVE_SLOT_COUNT];

// Decodes up to count bytes of 16-bit samples (whole frames) into dest, going
// back to the first sample at the end when loop is set; how many. Any thread.
DWORD DecodeOgg(stb_vorbis* decoder, DWORD channels, BYTE* dest, DWORD count, DWORD loop);
// Gives one buffer these settings (volume, pan, frequency 0: the file's own); 0 or
// the failing status. Any thread: it may wait for the platform's mixer.
HRESULT ApplyWaveSettings(IDirectSoundBuffer* buffer, LONG volume, LONG pan, DWORD frequency);
// Closes a decoder and frees the file it reads.
void CloseOggDecoder(stb_vorbis* decoder, BYTE* file);
