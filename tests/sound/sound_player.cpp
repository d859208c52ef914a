// Runs a list of sound commands against the real DirectSound for audio_test.sh,
// which records and analyses what Wine mixes:
//   sound_player load|stream|play|stop|loop|volume|pan|freq|voice|playing SLOT [ARG] ...
//                own SLOT PAN,HZ ...    vstop|vgone K ...    vvolume|vplaying K VALUE ...
//                wait MS ...
// load FILE (static), stream FILE, play, stop, loop VALUE, volume, pan and freq
// VALUE, voice, playing EXPECTED (IsWavePlaying); own plays a voice of its own (K
// counts them from 0), vstop stops voice K, vgone expects every call on K refused,
// vvolume sets its volume, vplaying expects IsVoicePlaying; exit status 1 when a call fails.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/app_state.h"
#include "app/internal.h"
#include "sound/internal.h"
#include "sound/sound.h"

// Every call on a voice that has ended refuses it.
static HRESULT Gone(DWORD voice) {
  int refused = (SetVoiceVolume(voice, 0) == E_FAIL) + (SetVoicePan(voice, 0) == E_FAIL) +
                (StopVoice(voice) == E_FAIL) + (IsVoicePlaying(voice) == 0);
  return refused == 4 ? 0 : E_FAIL;
}

int main(int argc, char** argv) {
  DWORD voices[64] = {};
  int played = 0;
  App.window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 8, 8, NULL, NULL, NULL, NULL);
  HRESULT hr = InitSound();
  if (hr != 0) printf("InitSound: 0x%08lx\n", hr);
  for (int i = 1; hr == 0 && i < argc;) {
    const char* op = argv[i++];
    DWORD n = i < argc ? strtoul(argv[i++], NULL, 0) : 0;
    int hasArg =
        strcmp(op, "wait") && strcmp(op, "play") && strcmp(op, "stop") && strcmp(op, "voice") &&
        strcmp(op, "vstop") && strcmp(op, "vgone");
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
    else if (!strcmp(op, "own") && played < 64) {
      const char* hz = strchr(arg, ',');
      VoiceDesc desc = {0, (LONG)value, hz != NULL ? strtoul(hz + 1, NULL, 0) : 0};
      hr = PlayVoice(n, &desc, &voices[played++]);
    }
    else if (n >= 64) hr = E_INVALIDARG;
    else if (!strcmp(op, "vstop")) hr = StopVoice(voices[n]);
    else if (!strcmp(op, "vgone")) hr = Gone(voices[n]);
    else if (!strcmp(op, "vvolume")) hr = SetVoiceVolume(voices[n], (LONG)value);
    else if (!strcmp(op, "vplaying")) hr = IsVoicePlaying(voices[n]) == (int)value ? 0 : E_FAIL;
    else hr = E_INVALIDARG;
    if (hr != 0) printf("%s %lu %s: 0x%08lx\n", op, n, arg, hr);
  }
  ReleaseSound();
  DestroyWindow(App.window);
  return hr == 0 ? 0 : 1;
}
