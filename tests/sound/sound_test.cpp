// The sound device and the WAV slots against Wine's real DirectSound (its
// device is the recorder that wine-run.sh gives ALSA). What is heard is checked
// by audio_test.sh; these tests check the life cycle, the thread and the loads.
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "sound/sound.h"
#include "sound/sound_state.h"

namespace {

std::string U32(uint32_t v) { return std::string((const char*)&v, 4); }
std::string U16(uint16_t v) { return std::string((const char*)&v, 2); }

std::string Chunk(const char* id, const std::string& body) {
  return std::string(id, 4) + U32(body.size()) + body + std::string(body.size() & 1, '\0');
}

std::string Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t align, uint16_t bits) {
  return Chunk("fmt ", U16(tag) + U16(channels) + U32(rate) + U32(rate * align) + U16(align) +
                           U16(bits));
}

std::string Riff(const char* form, const std::string& chunks) {
  return Chunk("RIFF", std::string(form, 4) + chunks);
}

const std::string kPcm = Fmt(1, 1, 22050, 2, 16);
const std::string kData = Chunk("data", std::string(22050, '\x10'));  // half a second

void WriteFile(const char* name, const std::string& bytes) {
  FILE* f = fopen(name, "wb");
  ASSERT_NE(f, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

// Nobody holds the file open: an exclusive open succeeds.
bool IsClosed(const char* name) {
  HANDLE h = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

bool IsEmpty(const WaveSlot& slot) {
  return slot.lpBuffer == NULL && slot.hFile == NULL && slot.BufferBytes == 0 &&
         slot.HalfBytes == 0;
}

class Sound8 : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "LqSoundTest";
    RegisterClassExA(&wc);
    App.window = CreateWindowExA(0, wc.lpszClassName, wc.lpszClassName, WS_OVERLAPPEDWINDOW, 0,
                                 0, 64, 64, NULL, NULL, wc.hInstance, NULL);
    WriteFile("good.wav", Riff("WAVE", kPcm + kData));
  }
  static void TearDownTestSuite() { DestroyWindow(App.window); }
  void TearDown() override { ReleaseSound(); }
};

TEST_F(Sound8, LifeCycle) {
  EXPECT_EQ(ReleaseSound(), 0);  // before InitSound, twice
  EXPECT_EQ(ReleaseSound(), 0);
  EXPECT_EQ(GetSoundSampleRate(), 0u);
  EXPECT_EQ(GetSoundChannels(), 1u);
  EXPECT_EQ(GetSoundBitsPerSample(), 8u);

  ASSERT_EQ(InitSound(), 0);
  HANDLE thread = Sound.hSoundThread;
  EXPECT_NE(thread, nullptr);
  EXPECT_EQ(InitSound(), E_FAIL);
  EXPECT_EQ(Sound.hSoundThread, thread);
  EXPECT_EQ(GetSoundSampleRate(), Sound.SoundCaps.dwMaxSecondarySampleRate);
  printf("playback format: %lu Hz, %lu channels, %lu bits\n", GetSoundSampleRate(),
         GetSoundChannels(), GetSoundBitsPerSample());

  // The keep-alive buffer loops three seconds of the playback format.
  DWORD status = 0;
  ASSERT_NE(Sound.lpKeepAliveBuffer, nullptr);
  Sound.lpKeepAliveBuffer->GetStatus(&status);
  EXPECT_EQ(status & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  DSBCAPS caps = {};
  caps.dwSize = sizeof caps;
  Sound.lpKeepAliveBuffer->GetCaps(&caps);
  EXPECT_EQ(caps.dwBufferBytes,
            3 * GetSoundSampleRate() * GetSoundChannels() * GetSoundBitsPerSample() / 8);

  EXPECT_EQ(ReleaseSound(), 0);
  EXPECT_EQ(ReleaseSound(), 0);
  EXPECT_EQ(Sound.lpDirectSound, nullptr);
  EXPECT_EQ(Sound.lpKeepAliveBuffer, nullptr);
  EXPECT_EQ(Sound.hSoundThread, nullptr);
  EXPECT_EQ(GetSoundSampleRate(), 0u);
}

TEST_F(Sound8, ServiceThreadEndsOnlyOnQuitAndNeverMissesIt) {
  // A quit posted at once after the start is not lost (else ReleaseSound hangs).
  for (int i = 0; i < 20; ++i) {
    ASSERT_EQ(InitSound(), 0);
    ReleaseSound();
  }
  ASSERT_EQ(InitSound(), 0);
  PostThreadMessageA(Sound.SoundThreadId, WM_USER, 0, 0);
  EXPECT_EQ(WaitForSingleObject(Sound.hSoundThread, 1200), (DWORD)WAIT_TIMEOUT);
}

TEST_F(Sound8, ReleaseWithStreamsPlayingIsPrompt) {
  ASSERT_EQ(InitSound(), 0);
  WriteFile("empty.wav", Riff("WAVE", kPcm + Chunk("data", "")));
  ASSERT_EQ(LoadStreamWave(0, "good.wav"), 0);
  ASSERT_EQ(LoadStreamWave(1, "empty.wav"), 0);  // looped empty data: silence, no spin
  SetWaveLoop(0, 1);
  SetWaveLoop(1, 1);
  EXPECT_EQ(PlayWave(0), 0);
  EXPECT_EQ(PlayWave(1), 0);
  Sleep(2600);  // past the first refill of each
  DWORD start = GetTickCount();
  ReleaseSound();
  DWORD took = GetTickCount() - start;
  printf("ReleaseSound with two streams playing: %lu ms\n", took);
  EXPECT_LT(took, 1000u);
  EXPECT_TRUE(IsEmpty(WaveSlots[0]) && IsEmpty(WaveSlots[1]));
  EXPECT_TRUE(IsClosed("good.wav"));
}

TEST_F(Sound8, BadFilesLeaveTheSlotEmptyAndTheFileClosed) {
  ASSERT_EQ(InitSound(), 0);
  struct Case { const char* name; std::string bytes; int streamed; HRESULT result; };
  const std::string stereo = Fmt(1, 2, 44100, 4, 16);
  const Case cases[] = {
      {"not RIFF", "RIFX" + Riff("WAVE", kPcm + kData).substr(4), 0, E_FAIL},
      {"not WAVE", Riff("AVI ", kPcm + kData), 0, E_FAIL},
      {"no fmt", Riff("WAVE", kData), 1, E_FAIL},
      {"short format at the end", Riff("WAVE", kData + Chunk("fmt ", kPcm.substr(8, 14))), 0, E_FAIL},
      {"format tag 2", Riff("WAVE", Fmt(2, 1, 22050, 2, 16) + kData), 1, E_FAIL},
      {"no data", Riff("WAVE", kPcm + Chunk("LIST", "abc")), 0, E_FAIL},
      {"empty data, static", Riff("WAVE", kPcm + Chunk("data", "")), 0, E_FAIL},
      {"block align 0, streamed", Riff("WAVE", Fmt(1, 1, 22050, 0, 16) + kData), 1, E_FAIL},
      {"4 s overflow, streamed", Riff("WAVE", Fmt(1, 8, 200000, 0x2000, 16) + kData), 1, E_FAIL},
      {"data before fmt", Riff("WAVE", Chunk("LIST", "x") + kData + stereo), 0, 0},
      {"data before fmt, streamed", Riff("WAVE", kData + stereo + Chunk("LIST", "x")), 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile("case.wav", c.bytes);
    HRESULT hr = c.streamed ? LoadStreamWave(9, "case.wav") : LoadWave(9, "case.wav");
    EXPECT_EQ(hr, c.result);
    EXPECT_EQ(IsEmpty(WaveSlots[9]), c.result != 0);
    EXPECT_EQ(IsClosed("case.wav"), c.result != 0);
    ReleaseWave(9);
  }
  EXPECT_EQ(LoadWave(9, "missing.wav"), E_FAIL);
  EXPECT_EQ(LoadStreamWave(9, NULL), E_FAIL);
  EXPECT_TRUE(IsEmpty(WaveSlots[9]));
}

TEST_F(Sound8, Slot255WorksAnd256Fails) {
  ASSERT_EQ(InitSound(), 0);
  struct Case { DWORD index; HRESULT load, play, stop, loop, release; };
  const Case cases[] = {{255, 0, 0, 0, 0, 1}, {256, E_FAIL, E_FAIL, E_FAIL, E_FAIL, E_FAIL},
                        {0xFFFFFFFF, E_FAIL, E_FAIL, E_FAIL, E_FAIL, E_FAIL}};
  for (const Case& c : cases) {
    for (int streamed = 0; streamed < 2; ++streamed) {
      SCOPED_TRACE(testing::Message() << c.index << (streamed ? " streamed" : " static"));
      EXPECT_EQ(streamed ? LoadStreamWave(c.index, "good.wav") : LoadWave(c.index, "good.wav"),
                c.load);
      EXPECT_EQ(PlayWave(c.index), c.play);
      EXPECT_EQ(StopWave(c.index), c.stop);
      EXPECT_EQ(SetWaveLoop(c.index, 1), c.loop);
      EXPECT_EQ(ReleaseWave(c.index), c.release);
      EXPECT_EQ(IsWaveIndexInvalid(c.index), c.index > 255);
    }
  }
  // A slot in use refuses a load and stays playable; an empty one releases to 1.
  ASSERT_EQ(LoadWave(255, "good.wav"), 0);
  EXPECT_EQ(LoadStreamWave(255, "good.wav"), E_FAIL);
  EXPECT_EQ(PlayWave(255), 0);
  EXPECT_EQ(ReleaseWave(255), 1);
  EXPECT_EQ(ReleaseWave(255), 1);
  EXPECT_EQ(PlayWave(255), E_FAIL);
}

}  // namespace
