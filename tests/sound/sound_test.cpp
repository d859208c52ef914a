// The sound device and the WAV slots against Wine's real DirectSound (its
// device is the recorder that wine-run.sh gives ALSA). What is heard is checked
// by audio_test.sh; these tests check the life cycle, the thread and the loads.
#include <gtest/gtest.h>

#include <string>

#include "ogg_craft.h"
#include "sound/sound.h"
#include "sound/sound_state.h"
#include "sound/wave_slot.h"
#include "wave_bytes.h"

namespace {

std::string Fmt(int tag, int channels, uint32_t rate, int align) {
  return Chunk("fmt ", FmtBody(tag, channels, rate, align));
}

std::string Wave(const std::string& chunks, const char* form = "WAVE") {
  return Chunk("RIFF", form + chunks);
}

const std::string kPcm = Fmt(1, 1, 22050, 2);
const std::string kData = Chunk("data", std::string(22050, '\x10'));  // half a second

void WriteFile(const char* name, const std::string& bytes) {
  FILE* f = fopen(name, "wb");
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

// Nobody holds the file open: an exclusive open succeeds.
bool IsClosed(const char* name) {
  HANDLE h = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
  CloseHandle(h);
  return h != INVALID_HANDLE_VALUE;
}

// A service thread that makes its message queue late: a quit posted at once fails.
DWORD WINAPI LateQueueThread(LPVOID) {
  MSG msg;
  for (Sleep(300); GetMessageA(&msg, NULL, 0, 0) > 0;) {}
  return 0;
}

bool IsEmpty(const WaveSlot& s) { return !s.lpBuffer && !s.hFile && !s.BufferBytes && !s.HalfBytes; }

class Sound8 : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 8, 8, NULL, NULL, NULL, NULL);
    WriteFile("good.wav", Wave(kPcm + kData));
  }
  static void TearDownTestSuite() { DestroyWindow(window); }
  static inline HWND window = NULL;
  void TearDown() override { ReleaseSound(); }
};

TEST_F(Sound8, LifeCycleAndTheServiceThread) {
  EXPECT_EQ(ReleaseSound(), 0);  // before InitSound, twice
  EXPECT_EQ(ReleaseSound(), 0);
  EXPECT_EQ(GetSoundSampleRate() + GetSoundChannels() * 1000 + GetSoundBitsPerSample(), 1008u);
  ASSERT_EQ(InitSoundFor(window), 0);
  HANDLE thread = Sound.hSoundThread;
  EXPECT_EQ(InitSoundFor(window), E_FAIL);
  EXPECT_EQ(Sound.hSoundThread, thread);
  DWORD status = 0;
  Sound.lpKeepAliveBuffer->GetStatus(&status);
  EXPECT_EQ(status, (DWORD)(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
  // The service thread ends only on the quit message.
  PostThreadMessageA(Sound.SoundThreadId, WM_USER, 0, 0);
  EXPECT_EQ(WaitForSingleObject(Sound.hSoundThread, 1200), (DWORD)WAIT_TIMEOUT);
  EXPECT_EQ(ReleaseSound(), 0);
  EXPECT_EQ(ReleaseSound(), 0);
  EXPECT_TRUE(!Sound.lpDirectSound && !Sound.lpKeepAliveBuffer && !Sound.hSoundThread);
  EXPECT_EQ(GetSoundSampleRate(), 0u);
  for (int i = 0; i < 20; ++i) {  // a quit posted at once is not lost: no hang
    ASSERT_EQ(InitSoundFor(window), 0);
    ReleaseSound();
  }
  ASSERT_EQ(InitSoundFor(window), 0);
  PostThreadMessageA(Sound.SoundThreadId, WM_QUIT, 0, 0);
  WaitForSingleObject(Sound.hSoundThread, INFINITE);
  CloseHandle(Sound.hSoundThread);
  Sound.hSoundThread = CreateThread(NULL, 0, LateQueueThread, NULL, 0, &Sound.SoundThreadId);
  HANDLE late = OpenThread(SYNCHRONIZE, FALSE, Sound.SoundThreadId);
  EXPECT_EQ(ReleaseSound() + WaitForSingleObject(late, 0), WAIT_OBJECT_0);  // returned, thread gone
  CloseHandle(late);
}

TEST_F(Sound8, ReleaseWithStreamsPlayingIsPrompt) {
  ASSERT_EQ(InitSoundFor(window), 0);
  WriteFile("empty.wav", Wave(kPcm + Chunk("data", "")));
  ASSERT_EQ(LoadStreamWave(0, "good.wav"), 0);
  ASSERT_EQ(LoadStreamWave(1, "empty.wav"), 0);  // looped empty data: silence, no spin
  for (DWORD i = 0; i < 2; ++i) EXPECT_EQ(SetWaveLoop(i, 1) + PlayWave(i), 0);
  Sleep(2600);  // past the first refill
  DWORD start = GetTickCount();
  ReleaseSound();
  DWORD took = GetTickCount() - start;
  EXPECT_LT(took, 1000u);
  EXPECT_TRUE(IsEmpty(WaveSlots[0]) && IsEmpty(WaveSlots[1]) && IsClosed("good.wav"));
}

TEST_F(Sound8, BadFilesLeaveTheSlotEmptyAndTheFileClosed) {
  ASSERT_EQ(InitSoundFor(window), 0);
  struct Case { const char* name; std::string bytes; int streamed; HRESULT result; };
  const std::string stereo = Fmt(1, 2, 44100, 4);
  const Case cases[] = {
      {"not RIFF", "RIFX" + Wave(kPcm + kData).substr(4), 0, E_FAIL},
      {"not WAVE", Wave(kPcm + kData, "AVI "), 0, E_FAIL},
      {"no fmt", Wave(kData), 1, E_FAIL},
      {"short format at the end", Wave(kData + Chunk("fmt ", kPcm.substr(8, 14))), 0, E_FAIL},
      {"format tag 2", Wave(Fmt(2, 1, 22050, 2) + kData), 1, E_FAIL},
      {"no data", Wave(kPcm + Chunk("LIST", "abc")), 0, E_FAIL},
      {"empty data, static", Wave(kPcm + Chunk("data", "")), 0, E_FAIL},
      {"block align 0, streamed", Wave(Fmt(1, 1, 22050, 0) + kData), 1, E_FAIL},
      {"4 s overflow, streamed", Wave(Fmt(1, 8, 200000, 0x2000) + kData), 1, E_FAIL},
      {"data before fmt", Wave(Chunk("LIST", "x") + kData + stereo), 0, 0},
      {"data before fmt, streamed", Wave(kData + stereo + Chunk("LIST", "x")), 1, 0},
      {"no whole block", Wave(kPcm + Chunk("data", "0", 0x0FFFFFFF)), 0, E_FAIL},
      {"data size lies (last)", Wave(kPcm + Chunk("data", "0123", 0x0FFFFFFF)), 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile("case.wav", c.bytes);
    EXPECT_EQ(c.streamed ? LoadStreamWave(9, "case.wav") : LoadWave(9, "case.wav"), c.result);
    EXPECT_EQ(IsEmpty(WaveSlots[9]), c.result != 0);
    EXPECT_EQ(IsClosed("case.wav"), c.result != 0);
    ReleaseWave(9);
  }
  for (DWORD i = 10; i < 30; ++i) EXPECT_EQ(LoadWave(i, "case.wav"), 0);  // the lying size
  EXPECT_EQ(WaveSlots[29].BufferBytes, 4u);  // as present, not as claimed
  EXPECT_EQ(LoadWave(30, "good.wav") + PlayWave(30), 0);
  for (const char* name : {"missing.wav", (const char*)NULL}) {
    EXPECT_EQ(LoadWave(9, name), E_FAIL);
    EXPECT_EQ(LoadStreamWave(9, name), E_FAIL);
  }
  EXPECT_TRUE(IsEmpty(WaveSlots[9]));
}

TEST_F(Sound8, Slot255WorksAnd256FailsEverywhere) {
  ASSERT_EQ(InitSoundFor(window), 0);
  for (DWORD index : {255u, 256u, 0xFFFFFFFFu}) {
    for (int streamed = 0; streamed < 2; ++streamed) {
      SCOPED_TRACE(testing::Message() << index << (streamed ? " streamed" : " static"));
      HRESULT ok = index < 256 ? 0 : E_FAIL;
      EXPECT_EQ(streamed ? LoadStreamWave(index, "good.wav") : LoadWave(index, "good.wav"), ok);
      EXPECT_EQ(PlayWave(index), ok);
      EXPECT_EQ(StopWave(index), ok);
      EXPECT_EQ(IsWavePlaying(index), 0);
      EXPECT_EQ(SetWaveVolume(index, -20000), ok);  // clamped: the device takes no less
      EXPECT_EQ(SetWavePan(index, 20000), ok);
      // A stream plays at most twice its rate: its halves must outlast the service.
      EXPECT_EQ(SetWaveFrequency(index, 100000), streamed ? E_FAIL : ok);
      EXPECT_EQ(SetWaveFrequency(index, 44100), ok);
      EXPECT_EQ(SetWaveFrequency(index, 99), E_FAIL);
      EXPECT_EQ(PlayWaveVoice(index), streamed ? E_FAIL : ok);
      EXPECT_EQ(SetWaveLoop(index, 1), ok);
      EXPECT_EQ(ReleaseWave(index), ok ? ok : 1);
      EXPECT_EQ(IsWaveIndexInvalid(index), ok != 0);
    }
  }
  // A slot in use refuses a load and stays playable; an empty one releases to 1.
  ASSERT_EQ(LoadWave(255, "good.wav"), 0);
  EXPECT_EQ(LoadStreamWave(255, "good.wav"), E_FAIL);
  EXPECT_EQ(PlayWave(255), 0);
  EXPECT_EQ(ReleaseWave(255) + ReleaseWave(255), 2);
  EXPECT_EQ(PlayWave(255), E_FAIL);
}

// What a buffer plays with: "volume pan frequency".
std::string Settings(IDirectSoundBuffer* buffer) {
  LONG volume = 1, pan = 1;
  DWORD hz = 0;
  buffer->GetVolume(&volume), buffer->GetPan(&pan), buffer->GetFrequency(&hz);
  return std::to_string(volume) + " " + std::to_string(pan) + " " + std::to_string(hz);
}

// The settings calls only record: a start gives the buffers the newest settings
// itself, and the service thread gives them to a sounding slot.
TEST_F(Sound8, SettingsReachTheBuffersBeforeAStartAndWhilePlaying) {
  ASSERT_EQ(InitSoundFor(window), 0);
  ASSERT_EQ(LoadWave(3, "good.wav") + LoadStreamWave(4, "good.wav"), 0);
  LockSound();
  Sound.serviceAwake = 1;  // not woken: only the starts can apply them
  UnlockSound();
  for (DWORD i = 3; i < 5; ++i) {
    EXPECT_EQ(SetWaveVolume(i, -20000) + SetWavePan(i, -300) + SetWaveFrequency(i, 11025), 0);
    EXPECT_EQ(PlayWave(i), 0);
    EXPECT_EQ(Settings((IDirectSoundBuffer*)WaveSlots[i].lpBuffer), "-10000 -300 11025");
  }
  EXPECT_EQ(SetWaveVolume(3, -700) + PlayWaveVoice(3), 0);
  EXPECT_EQ(Settings(WaveSlots[3].Voices[0].buffer), "-700 -300 11025");
  Sound.serviceAwake = 0;
  EXPECT_EQ(SetWaveVolume(3, -800) + SetWavePan(4, 200), 0);
  Sleep(300);
  EXPECT_EQ(Settings((IDirectSoundBuffer*)WaveSlots[3].lpBuffer), "-800 -300 11025");
  EXPECT_EQ(Settings(WaveSlots[3].Voices[0].buffer), "-800 -300 11025");
  EXPECT_EQ(Settings((IDirectSoundBuffer*)WaveSlots[4].lpBuffer), "-10000 200 11025");
  EXPECT_EQ(SetWaveVolume(3, -900) + ReleaseWave(3) + IsWavePlaying(3), 1);  // dropped, no crash
}

// Crafted Ogg Vorbis files, their pages intact: a comment count that overflows
// the decoder's list size is refused; files that once crashed the decoder (a
// class book with no entry used, a residue vector cut at the blocks' end) decode.
// Both loads survive each, and sound goes on.
TEST_F(Sound8, CraftedOggFilesFailOrLoadSafely) {
  ASSERT_EQ(InitSoundFor(window), 0);
  VorbisFields overflow;
  overflow.commentCount = 0x40000001;
  const struct { const char* name; VorbisFields fields; HRESULT result; } cases[] = {
      {"comment count overflow", overflow, E_FAIL},
      {"floor class book, no entry used", UnusedClassBookFields(UNUSED_FLOOR_CLASS), 0},
      {"residue class book, no entry used", UnusedClassBookFields(UNUSED_RESIDUE_CLASS), 0},
      {"type-2 residue vector cut at the end", CutVectorFields(), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile("crafted.ogg", VorbisFile(c.fields));
    for (int streamed = 0; streamed < 2; ++streamed) {
      EXPECT_EQ(streamed ? LoadStreamWave(12, "crafted.ogg") : LoadWave(12, "crafted.ogg"), c.result);
      EXPECT_EQ(IsEmpty(WaveSlots[12]) && WaveSlots[12].Vorbis == NULL, c.result != 0);
      ReleaseWave(12);
    }
    for (int streamed = 0; streamed < 2; ++streamed) {
      ASSERT_EQ(streamed ? LoadStreamWave(12, "fuzz.ogg") : LoadWave(12, "fuzz.ogg"), 0);
      EXPECT_EQ(PlayWave(12), 0);
      EXPECT_EQ(IsWavePlaying(12), 1);
      EXPECT_EQ(ReleaseWave(12), 1);
    }
  }
}

// What changed at once and what is refused, without listening: audio_test.sh hears the rest.
TEST_F(Sound8, StopsVoicesAndEndsEmptyStreams) {
  ASSERT_EQ(InitSoundFor(window), 0);
  WriteFile("empty.wav", Wave(kPcm + Chunk("data", "")));
  ASSERT_EQ(LoadStreamWave(0, "empty.wav") + PlayWave(0), 0);
  EXPECT_EQ(IsWavePlaying(0), 0);  // nothing to hear: not playing from the start
  ASSERT_EQ(LoadWave(1, "good.wav"), 0);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(PlayWaveVoice(1), 0);
  EXPECT_EQ(StopWave(1), 0);
  EXPECT_EQ(IsWavePlaying(1), 0);
}

// How many of the statuses are E_FAIL.
int Refused(std::initializer_list<HRESULT> statuses) {
  int n = 0;
  for (HRESULT hr : statuses) n += hr == E_FAIL;
  return n;
}

// Voice ids against the real device: settings of their own, each id naming one
// play until it ends or is cut, stopped or released. audio_test.sh hears them.
TEST_F(Sound8, VoiceIdsNameOnePlayAndTouchNoOther) {
  ASSERT_EQ(InitSoundFor(window), 0);
  // Named apart from the audio test's files: the player finds files beside itself first.
  WriteFile("three_seconds.wav", Wave(kPcm + Chunk("data", std::string(6 * 22050, '\x10'))));
  ASSERT_EQ(LoadWave(5, "three_seconds.wav") + LoadStreamWave(6, "good.wav") + LoadWave(8, "good.wav"), 0);
  const WaveVoice* voices = WaveSlots[5].Voices;
  VoiceDesc left = {-300, -10000, 0}, loud = {5000, 20000, 44100};
  DWORD a = 1, b = 1;
  for (DWORD index : {256u, 6u, 7u}) {  // past the slots, streamed, empty
    EXPECT_EQ(PlayVoice(index, &left, &a), E_FAIL);
    EXPECT_EQ(a, 0u);
  }
  for (DWORD hz : {99u, 200001u}) {  // refused as SetWaveFrequency refuses them
    VoiceDesc odd = {0, 0, hz};
    EXPECT_EQ(PlayVoice(5, &odd, &a), E_FAIL);
  }
  EXPECT_EQ(Refused({PlayVoice(5, NULL, &a), PlayVoice(5, &left, NULL)}), 2);
  ASSERT_EQ(PlayVoice(5, &left, &a) + PlayVoice(5, &loud, &b), 0);
  EXPECT_TRUE(a != 0 && b != 0 && a != b);
  EXPECT_EQ(Settings(voices[0].buffer), "-300 -10000 22050");
  EXPECT_EQ(Settings(voices[1].buffer), "0 10000 44100");  // clamped
  EXPECT_EQ(SetVoicePan(a, 500) + SetVoiceVolume(b, -20000), 0);
  Sleep(300);  // given by the service thread
  EXPECT_EQ(Settings(voices[0].buffer), "-300 500 22050");
  EXPECT_EQ(Settings(voices[1].buffer), "-10000 10000 44100");
  EXPECT_EQ(SetWaveVolume(5, -100) + PlayWaveVoice(5), 0);  // slot-wide: every voice
  EXPECT_EQ(Settings(voices[0].buffer), "-100 500 22050");
  EXPECT_EQ(Settings(voices[1].buffer), "-100 10000 44100");
  EXPECT_EQ(Settings(voices[2].buffer), "-100 0 22050");

  // Stopped by its id alone; the id names nothing from then on.
  EXPECT_EQ(StopVoice(a), 0);
  EXPECT_EQ(IsVoicePlaying(a) + IsVoicePlaying(b), 1);
  EXPECT_EQ(Refused({StopVoice(a), SetVoicePan(a, 0), SetVoiceVolume(a, 0)}), 3);
  // Cut by the ninth: the voice now in its place is not touched through it.
  DWORD ids[8];
  for (DWORD& id : ids) ASSERT_EQ(PlayVoice(5, &left, &id), 0);
  EXPECT_EQ(IsVoicePlaying(b), 0);
  EXPECT_EQ(Refused({SetVoicePan(b, 0), StopVoice(b)}), 2);
  EXPECT_EQ(Settings(voices[1].buffer), "-300 -10000 22050");
  EXPECT_EQ(IsVoicePlaying(ids[7]), 1);
  for (DWORD bad : {0ul, 0xFFFFFFFFul, ids[7] + 0x800}) {  // no play's ids (the last: its next play's)
    EXPECT_EQ(IsVoicePlaying(bad), 0);
    EXPECT_EQ(Refused({SetVoiceVolume(bad, 0), StopVoice(bad)}), 2);
  }
  // A slot-wide stop and a release end every id; a reload's ids are new ones.
  EXPECT_EQ(StopWave(5), 0);
  EXPECT_EQ(IsVoicePlaying(ids[7]) + (SetVoicePan(ids[7], 0) == E_FAIL), 1);
  ASSERT_EQ(PlayVoice(5, &left, &a), 0);
  EXPECT_EQ(ReleaseWave(5) + LoadWave(5, "three_seconds.wav"), 1);
  EXPECT_EQ(IsVoicePlaying(a), 0);
  ASSERT_EQ(PlayVoice(5, &left, &b), 0);
  EXPECT_TRUE(b != a && IsVoicePlaying(b) && StopVoice(a) == E_FAIL);
  // Played to its end (half a second).
  ASSERT_EQ(PlayVoice(8, &left, &a), 0);
  Sleep(800);
  EXPECT_EQ(IsVoicePlaying(a) + (SetVoiceVolume(a, 0) == E_FAIL), 1);
}

}  // namespace
