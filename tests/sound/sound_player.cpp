// Runs a list of sound commands against the real DirectSound for audio_test.sh,
// which records and analyses what Wine mixes:
//   sound_player load|stream|play|stop|loop|volume|pan|freq|voice|playing SLOT [ARG] ...
//                wait MS ...
// load FILE (static), stream FILE, play, stop, loop VALUE, volume, pan and freq
// VALUE, voice, playing EXPECTED (IsWavePlaying); exit status 1 when a call fails.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/app_state.h"
#include "app/internal.h"
#include "sound/internal.h"
#include "sound/sound.h"

int main(int argc, char** argv) {
  App.window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 8, 8, NULL, NULL, NULL, NULL);
  HRESULT hr = InitSound();
  if (hr != 0) printf("InitSound: 0x%08lx\n", hr);
  for (int i = 1; hr == 0 && i < argc;) {
    const char* op = argv[i++];
    DWORD n = i < argc ? strtoul(argv[i++], NULL, 0) : 0;
    int hasArg =
        strcmp(op, "wait") && strcmp(op, "play") && strcmp(op, "stop") && strcmp(op, "voice");
    const char* arg = hasArg && i < argc ? argv[i++] : "";
    DWORD value = strtoul(arg, NULL, 0);  // negative values wrap, and cast back
    if (!strcmp(op, "wait")) Sleep(n);
    else if (!strcmp(op, "play")) hr = PlayWave(n);
    else if (!strcmp(op, "stop")) hr = StopWave(n);
    else if (!strcmp(op, "load")) hr = LoadWave(n, arg);
    else if (!strcmp(op, "stream")) hr = LoadStreamWave(n, arg);
    else if (!strcmp(op, "loop")) hr = SetWaveLoop(n, value);
    else if (!strcmp(op, "volume")) hr = SetWaveVolume(n, (LONG)value);
    else if (!strcmp(op, "pan")) hr = SetWavePan(n, (LONG)value);
    else if (!strcmp(op, "freq")) hr = SetWaveFrequency(n, value);
    else if (!strcmp(op, "voice")) hr = PlayWaveVoice(n);
    else if (!strcmp(op, "playing")) hr = IsWavePlaying(n) == (int)value ? 0 : E_FAIL;
    else hr = E_INVALIDARG;
    if (hr != 0) printf("%s %lu %s: 0x%08lx\n", op, n, arg, hr);
  }
  ReleaseSound();
  DestroyWindow(App.window);
  return hr == 0 ? 0 : 1;
}
