// Plays one sound scenario through the real DirectSound for audio_test.sh, which
// records and analyses what Wine mixes. Run from the folder of the test WAVs.
//   sound_player SCENARIO      exit status 0, or 1 when a sound call failed
#include <stdio.h>
#include <string.h>

#include "app/app_state.h"
#include "sound/sound.h"

static int failures = 0;

static void Check(HRESULT hr, const char* what) {
  if (hr != 0) {
    printf("%s: 0x%08lx\n", what, (unsigned long)hr);
    ++failures;
  }
}

static void Scenario(const char* name) {
  if (strcmp(name, "static") == 0) {  // A B, restarted from A after a stop
    Check(LoadWave(255, "two_tones.wav"), "LoadWave");
    Check(PlayWave(255), "PlayWave");
    Sleep(1500);
    Check(StopWave(255), "StopWave");
    Sleep(500);
    Check(PlayWave(255), "PlayWave again");
    Sleep(2500);
  } else if (strcmp(name, "stream") == 0 || strcmp(name, "extra") == 0) {
    Check(LoadStreamWave(0, strcmp(name, "extra") == 0 ? "tones_extra.wav" : "tones.wav"),
          "LoadStreamWave");
    Check(PlayWave(0), "PlayWave");
    Sleep(12000);
  } else if (strcmp(name, "resume") == 0) {  // 2.5 s, a 1 s pause, 2 s more
    Check(LoadStreamWave(7, "tones.wav"), "LoadStreamWave");
    Check(PlayWave(7), "PlayWave");
    Sleep(2500);
    Check(StopWave(7), "StopWave");
    Sleep(1000);
    Check(PlayWave(7), "PlayWave again");
    Sleep(2000);
  } else if (strcmp(name, "loop") == 0) {
    Check(LoadStreamWave(3, "short.wav"), "LoadStreamWave");
    Check(SetWaveLoop(3, 1), "SetWaveLoop");
    Check(PlayWave(3), "PlayWave");
    Sleep(10000);
  } else if (strcmp(name, "short8") == 0) {  // ends, then silence at the 8-bit centre
    Check(LoadStreamWave(4, "short8.wav"), "LoadStreamWave");
    Check(PlayWave(4), "PlayWave");
    Sleep(7000);
  } else {
    printf("unknown scenario %s\n", name);
    ++failures;
  }
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.lpszClassName = "LqSoundPlayer";
  RegisterClassExA(&wc);
  App.window = CreateWindowExA(0, wc.lpszClassName, wc.lpszClassName, WS_OVERLAPPEDWINDOW, 0, 0,
                               64, 64, NULL, NULL, wc.hInstance, NULL);
  Check(InitSound(), "InitSound");
  if (failures == 0) Scenario(argv[1]);
  ReleaseSound();
  DestroyWindow(App.window);
  return failures ? 1 : 0;
}
