// How long a game's slot calls wait while the sound service refills streams: 16
// looping Ogg Vorbis streams, started together so that their refills fall in the
// same service passes, and the game thread calling SetWaveVolume and
// IsWavePlaying about every millisecond. Prints the calls, how many waited over
// 1 ms and the longest wait.
//   sound_bench [FILE.ogg [SECONDS]]   (default: stream.ogg, the tour's music; 8 s)
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/app_state.h"
#include "app/internal.h"
#include "bench_device.h"
#include "sound/internal.h"
#include "sound/sound.h"

// Calls SetWaveVolume and IsWavePlaying on the slots in turn, about every
// millisecond, for the given seconds; prints how long they waited.
static void Measure(const char* what, DWORD slots, double seconds) {
  long calls = 0, slow = 0;
  double longest = 0, lockLongest = 0;
  const LONGLONG start = Ticks();
  for (DWORD k = 0; Seconds(start, Ticks()) < seconds; ++k) {
    for (int call = 0; call < 2; ++call) {
      const DWORD slot = k % slots;
      const LONGLONG before = Ticks();
      if (call == 0) SetWaveVolume(slot, -(LONG)(k % 4) * 10);
      else IsWavePlaying(slot);
      const double waited = Seconds(before, Ticks()) * 1000;
      ++calls;
      slow += waited > 1;
      if (waited > longest) longest = waited;
    }
    // The sound lock alone, taken and left: its share of the wait.
    const LONGLONG before = Ticks();
    LockSound();
    UnlockSound();
    const double locked = Seconds(before, Ticks()) * 1000;
    if (locked > lockLongest) lockLongest = locked;
    Sleep(1);
  }
  printf("%-20s slot calls: %ld, over 1 ms: %ld (%.2f %%), longest: %.2f ms (the lock alone: "
         "%.2f ms)\n", what, calls, slow, 100.0 * slow / (calls ? calls : 1), longest,
         lockLongest);
}

// The process's processor time (every thread, the platform's mixer included), in ms.
static double ProcessMillis() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
  ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
  return (double)(k.QuadPart + u.QuadPart) / 10000.0;
}

// Every slot loaded with the file whole and eight voices of each started at once:
// 2,048 voices. Prints what failed, how long starting them took, and the
// process's processor time over a second of them against a second of silence.
static void ManyVoices(const char* file) {
  for (DWORD i = 0; i < WAVE_SLOT_COUNT; ++i) ReleaseWave(i);
  int failed = 0;
  for (DWORD i = 0; i < WAVE_SLOT_COUNT; ++i) failed += LoadWave(i, file) != 0;
  LONGLONG quiet = Ticks();
  double cpu = ProcessMillis();
  Sleep(1000);
  const double idle = (ProcessMillis() - cpu) / Seconds(quiet, Ticks()) / 10;
  const LONGLONG start = Ticks();
  for (DWORD i = 0; i < WAVE_SLOT_COUNT; ++i) {
    for (int v = 0; v < 8; ++v) failed += PlayWaveVoice(i) != 0;
  }
  const double starting = Seconds(start, Ticks()) * 1000;
  const LONGLONG playing = Ticks();
  cpu = ProcessMillis();
  Sleep(1000);
  const double busy = (ProcessMillis() - cpu) / Seconds(playing, Ticks()) / 10;
  int sounding = 0;
  for (DWORD i = 0; i < WAVE_SLOT_COUNT; ++i) sounding += IsWavePlaying(i);
  printf("2,048 voices (256 slots x 8): %d calls failed; started in %.1f ms; %d slots sounding "
         "after 1 s; processor time of the process: %.0f %% of a core playing them, %.0f %% "
         "silent\n", failed, starting, sounding, busy, idle);
}

static DWORD WINAPI Busy(LPVOID stop) {
  volatile double x = 1;
  while (!*(volatile LONG*)stop) x = x * 1.0000001 + 1e-9;
  return 0;
}

int main(int argc, char** argv) {
  char beside[MAX_PATH] = "stream.ogg";  // by default the one beside the exe
  DWORD length = GetModuleFileNameA(NULL, beside, MAX_PATH - 16);
  while (length > 0 && beside[length - 1] != '\\' && beside[length - 1] != '/') --length;
  strcpy(beside + length, "stream.ogg");
  const char* file = argc > 1 ? argv[1] : beside;
  const double seconds = argc > 2 ? atof(argv[2]) : 8;
  App.window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 8, 8, NULL, NULL, NULL, NULL);
  if (InitSound() != 0) {
    printf("sound_bench: no sound device; nothing measured\n");
    return 0;
  }
  const DWORD streams = 16;
  for (DWORD i = 0; i < streams; ++i) {
    if (LoadStreamWave(i, file) != 0 || SetWaveLoop(i, 1) != 0 || PlayWave(i) != 0) {
      printf("sound_bench: %s does not stream in slot %lu; nothing measured\n", file, i);
      ReleaseSound();
      return 1;
    }
  }
  printf("%lu looping streams of %s; slot calls about every ms for %.0f s\n", streams, file,
         seconds);
  timeBeginPeriod(1);
  Measure("16 streams playing", streams, seconds);
  // The same calls with the streams stopped: what this machine's scheduler costs
  // with nothing to mix and no refill to wait for.
  for (DWORD i = 0; i < streams; ++i) StopWave(i);
  Measure("the streams stopped", streams, seconds / 2);
  // As many static copies playing: the platform mixes as much, and the service
  // has nothing to refill.
  for (DWORD i = streams; i < 2 * streams; ++i) {
    if (LoadWave(i, file) != 0 || PlayWave(i) != 0) printf("%s: no static copy\n", file);
  }
  Measure("16 static copies", streams, seconds / 2);
  // And a thread that only computes, taking no lock: what a busy second thread
  // costs the calls on a machine whose cores are shared.
  volatile LONG stop = 0;
  HANDLE busy = CreateThread(NULL, 0, Busy, (LPVOID)&stop, 0, NULL);
  Measure("and a busy thread", streams, seconds / 2);
  InterlockedExchange(&stop, 1);
  if (busy != NULL) WaitForSingleObject(busy, INFINITE), CloseHandle(busy);
  timeEndPeriod(1);
  ManyVoices(file);
  ReleaseSound();
  DestroyWindow(App.window);
  return 0;
}
