// How long a game's slot calls wait while the sound service refills streams: 16
// looping Ogg Vorbis streams, started together so that their refills fall in the
// same service passes, and the game thread calling SetWaveVolume and
// IsWavePlaying about every millisecond. Prints the calls, how many waited over
// 1 ms and the longest wait, each call's share, and how many of the slow calls
// came near a refill. Then the same calls beside floors of this machine: the
// streams stopped, static copies playing (the platform's mixing, no refill), a
// busy thread, and the same music streamed at 48 kHz, the rate this platform
// mixes at (nothing for its mixer to resample).
//   sound_bench [FILE.ogg [SECONDS [FILE48.ogg]]]
//   (default: stream.ogg and stream48.ogg beside the exe, the tour's music; 8 s)
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/app_state.h"
#include "app/internal.h"
#include "bench_device.h"
#include "sound/internal.h"
#include "sound/sound.h"
#include "sound/wave_slot.h"

// A refill this close to a slow call may have caused it.
static const double NEAR_REFILL_MS = 20;

struct Wait {
  long calls = 0, slow = 0;
  double longest = 0;
  void Add(double ms) {
    ++calls;
    slow += ms > 1;
    if (ms > longest) longest = ms;
  }
};

// Moments of a phase (counter ticks, in order): slow calls, or refills seen.
struct Moments {
  LONGLONG at[4096];
  int count = 0;
  void Add(LONGLONG t) {
    if (count < 4096) at[count++] = t;
  }
};

// How many slow calls came within NEAR_REFILL_MS of a refill; *share: the part
// of the phase that lies so close to one, what chance alone would give.
static int NearRefills(const Moments& slow, const Moments& refills, LONGLONG start, double* share) {
  double covered = 0, coveredTo = -1e300;
  for (int r = 0; r < refills.count; ++r) {
    const double at = Seconds(start, refills.at[r]) * 1000;
    const double from = at - NEAR_REFILL_MS > coveredTo ? at - NEAR_REFILL_MS : coveredTo;
    if (at + NEAR_REFILL_MS > from) covered += at + NEAR_REFILL_MS - from;
    coveredTo = at + NEAR_REFILL_MS;
  }
  *share = covered / (Seconds(start, Ticks()) * 1000);
  int count = 0;
  for (int s = 0; s < slow.count; ++s) {
    int found = 0;
    for (int r = 0; r < refills.count && !found; ++r) {
      const LONGLONG a = slow.at[s], b = refills.at[r];
      found = Seconds(a < b ? a : b, a < b ? b : a) * 1000 <= NEAR_REFILL_MS;
    }
    count += found;
  }
  return count;
}

// Calls SetWaveVolume (a new volume each time round the slots) and IsWavePlaying
// on slots first..first+slots-1 in turn, about every millisecond, for the given
// seconds; prints how long they waited. A streamed slot's refill is seen by the
// half it moved to, read each millisecond.
static void Measure(const char* what, DWORD first, DWORD slots, double seconds) {
  Wait calls[2];
  double lockLongest = 0;
  static Moments slowAt, refillAt;
  slowAt.count = refillAt.count = 0;
  int refills = 0;
  DWORD halves[WAVE_SLOT_COUNT] = {};
  for (DWORD i = 0; i < slots; ++i) halves[i] = WaveSlots[first + i].SecondHalfNext;
  const LONGLONG start = Ticks();
  for (DWORD k = 0; Seconds(start, Ticks()) < seconds; ++k) {
    for (int call = 0; call < 2; ++call) {
      const DWORD slot = first + k % slots;
      const LONGLONG before = Ticks();
      if (call == 0) SetWaveVolume(slot, -(LONG)(k / slots % 4) * 10);
      else IsWavePlaying(slot);
      const LONGLONG after = Ticks();
      const double waited = Seconds(before, after) * 1000;
      calls[call].Add(waited);
      if (waited > 1) slowAt.Add(after);
    }
    // The sound lock alone, taken and left: its share of the wait.
    const LONGLONG before = Ticks();
    LockSound();
    int refilled = 0;
    for (DWORD i = 0; i < slots; ++i) {
      refilled += halves[i] != WaveSlots[first + i].SecondHalfNext;
      halves[i] = WaveSlots[first + i].SecondHalfNext;
    }
    UnlockSound();
    const double locked = Seconds(before, Ticks()) * 1000;
    if (locked > lockLongest) lockLongest = locked;
    refills += refilled;
    if (refilled) refillAt.Add(before);
    Sleep(1);
  }
  const long all = calls[0].calls + calls[1].calls, slow = calls[0].slow + calls[1].slow;
  printf("%-20s slot calls: %ld, over 1 ms: %ld (%.2f %%), longest: %.2f ms (the lock alone: "
         "%.2f ms)\n", what, all, slow, 100.0 * slow / (all ? all : 1),
         calls[0].longest > calls[1].longest ? calls[0].longest : calls[1].longest, lockLongest);
  printf("%-20s SetWaveVolume %ld over 1 ms, longest %.2f ms; IsWavePlaying %ld, longest %.2f ms",
         "", calls[0].slow, calls[0].longest, calls[1].slow, calls[1].longest);
  if (refills > 0) {
    double share = 0;
    const int nearby = NearRefills(slowAt, refillAt, start, &share);
    printf(";\n%-20s %d refills; %d of the %d slow calls within %.0f ms of one (%.1f %% of the "
           "time is)", "", refills, nearby, slowAt.count, NEAR_REFILL_MS, 100 * share);
  }
  printf("\n");
}

// Streams file in slots first..first+count-1, looping, all started; false (said
// why) when one does not.
static bool StartStreams(const char* file, DWORD first, DWORD count) {
  for (DWORD i = first; i < first + count; ++i) {
    if (LoadStreamWave(i, file) != 0 || SetWaveLoop(i, 1) != 0 || PlayWave(i) != 0) {
      printf("sound_bench: %s does not stream in slot %lu; nothing measured\n", file, i);
      return false;
    }
  }
  return true;
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

// The named file beside this exe, in path (MAX_PATH chars).
static const char* Beside(char* path, const char* name) {
  DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH - 16);
  while (length > 0 && path[length - 1] != '\\' && path[length - 1] != '/') --length;
  strcpy(path + length, name);
  return path;
}

int main(int argc, char** argv) {
  char beside[MAX_PATH], beside48[MAX_PATH];
  const char* file = argc > 1 ? argv[1] : Beside(beside, "stream.ogg");
  const double seconds = argc > 2 ? atof(argv[2]) : 8;
  const char* file48 = argc > 3 ? argv[3] : Beside(beside48, "stream48.ogg");
  App.window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 8, 8, NULL, NULL, NULL, NULL);
  if (InitSound() != 0) {
    printf("sound_bench: no sound device; nothing measured\n");
    return 0;
  }
  const DWORD streams = 16;
  if (!StartStreams(file, 0, streams)) {
    ReleaseSound();
    return 1;
  }
  printf("%lu looping streams of %s; slot calls about every ms for %.0f s\n", streams, file,
         seconds);
  timeBeginPeriod(1);
  Measure("16 streams playing", 0, streams, seconds);
  // The same calls with the streams stopped: what this machine's scheduler costs
  // with nothing to mix and no refill to wait for.
  for (DWORD i = 0; i < streams; ++i) StopWave(i);
  Measure("the streams stopped", 0, streams, seconds / 2);
  // As many static copies playing, the calls on them: the platform mixes as
  // much, and the service has nothing to refill.
  for (DWORD i = streams; i < 2 * streams; ++i) {
    if (LoadWave(i, file) != 0 || PlayWave(i) != 0) printf("%s: no static copy\n", file);
  }
  Measure("16 static copies", streams, streams, seconds / 2);
  // And a thread that only computes, taking no lock, beside the stopped streams:
  // what a busy second thread costs the calls on a machine whose cores are shared.
  volatile LONG stop = 0;
  HANDLE busy = CreateThread(NULL, 0, Busy, (LPVOID)&stop, 0, NULL);
  Measure("and a busy thread", 0, streams, seconds / 2);
  InterlockedExchange(&stop, 1);
  if (busy != NULL) WaitForSingleObject(busy, INFINITE), CloseHandle(busy);
  // The same music at the rate this platform mixes at: its mixer resamples
  // nothing, while the service decodes more than twice the samples.
  for (DWORD i = 0; i < 2 * streams; ++i) ReleaseWave(i);
  if (GetFileAttributesA(file48) == INVALID_FILE_ATTRIBUTES) {
    printf("%s: not found; no 48 kHz streams measured\n", file48);
  } else if (StartStreams(file48, 0, streams)) {
    Measure("16 streams at 48 kHz", 0, streams, seconds);
  }
  timeEndPeriod(1);
  ManyVoices(file);
  ReleaseSound();
  DestroyWindow(App.window);
  return 0;
}
