// Play scripts inside the game: read whole at the start, their events handed to
// input at the start of their frame, their shots taken at its Flip, and a log
// of what happened.
#include "app/play.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/app_state.h"
#include "app/application.h"
#include "app/play_log.h"
#include "app/play_state.h"
#include "input/internal.h"
#include "util/crc32.h"
#include "util/png_write.h"
#include "util/random.h"
#include "util/random_pcg.h"
#include "util/util_state.h"

namespace {

const long kScriptBytesMax = 64L << 20;

void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Log(const char* format, ...) {
  if (Play.log == NULL) return;
  va_list args;
  va_start(args, format);
  vfprintf(Play.log, format, args);
  va_end(args);
  fputc('\n', Play.log);
  fflush(Play.log);  // whole lines, should the game end abruptly
}

bool ReadFile(const char* file, std::string* text) {
  FILE* f = fopen(file, "rb");
  if (f == NULL) return false;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0 && (long)text->size() <= kScriptBytesMax) {
    text->append(buffer, n);
  }
  const bool good = !ferror(f) && (long)text->size() <= kScriptBytesMax;
  fclose(f);
  return good;
}

// The log's name: LQ_PLAY_LOG, else the script's with .log for its extension.
std::string LogName(const char* script) {
  const char* named = getenv("LQ_PLAY_LOG");
  if (named != NULL && named[0] != '\0') return named;
  std::string name = script;
  const size_t slash = name.find_last_of("\\/:"), dot = name.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.erase(dot);
  return name + ".log";
}

void EndScript(const char* how) {
  Log("frame %u %s", ScriptFrame(), how);
  Play.playing = 0;
  InjectInput(NULL);
  if (Play.record == NULL) Util.randomSeedHook = NULL;
  if (Play.log != NULL) fclose(Play.log);
  Play.log = NULL;
  Play.shots.clear();
  Play.seeds.clear();
}

// The script's events of the frame just begun.
void Deliver() {
  const uint32_t frame = ScriptFrame();
  BeginPlayFrame(&Play.input);
  Play.steps = 1;
  const std::vector<PlayEvent>& events = Play.script.events;
  for (; Play.next < events.size() && events[Play.next].frame <= frame; ++Play.next) {
    const PlayEvent& e = events[Play.next];
    switch (e.kind) {
      case PLAY_SHOT: Play.shots.push_back(e.text); break;
      case PLAY_STEPS: Play.steps = e.code; break;
      case PLAY_SEED: Play.seeds.push_back(e.seed); break;
      case PLAY_CLOSE:
        Log("frame %u close", frame);
        // As the player's close box does: through the window procedure.
        if (App.window != NULL) PostMessageA(App.window, WM_CLOSE, 0, 0);
        break;
      default: ApplyPlayEvent(&Play.input, e); break;
    }
  }
}

void TakeShots() {
  if (Play.shots.empty()) return;
  std::vector<uint8_t> rgb;
  uint32_t width = 0, height = 0;
  const long hr = ReadPresentedFrame(&rgb, &width, &height);
  for (const std::string& name : Play.shots) {
    if (hr != 0) {
      Log("frame %u shot %s failed: the picture could not be read (0x%08lX)", ScriptFrame(),
          name.c_str(), (unsigned long)hr);
      continue;
    }
    const std::vector<uint8_t> png = EncodePng(rgb.data(), width, height);
    const std::string path = Play.folder + name + ".png";
    FILE* f = fopen(path.c_str(), "wb");
    const bool written = f != NULL && fwrite(png.data(), 1, png.size(), f) == png.size();
    if (f != NULL && fclose(f) != 0) f = NULL;
    Log("frame %u shot %s crc %08X size %ux%u%s", ScriptFrame(), name.c_str(),
        CalcCrc32(rgb.data(), (int32_t)rgb.size()), width, height,
        written && f != NULL ? "" : " (not saved: the folder cannot be written)");
  }
  Play.shots.clear();
}

}  // namespace

HRESULT StartPlayScript(const char* file) {
  if (file == NULL) return E_INVALIDARG;
  if (Play.playing) EndScript("stopped: another script starts");
  const std::string logName = LogName(file);
  Play.log = fopen(logName.c_str(), "wb");
  if (Play.log == NULL) return E_FAIL;
  std::string text;
  if (!ReadFile(file, &text)) {
    Log("# play log of %s", file);
    Log("the script cannot be read (missing, unreadable or over 64 MB); the game goes on without it");
    fclose(Play.log);
    Play.log = NULL;
    return E_FAIL;
  }
  const size_t slash = logName.find_last_of("\\/:");
  Play.folder = slash == std::string::npos ? "" : logName.substr(0, slash + 1);

  ParsePlayScript(text.data(), text.size(), &Play.script);
  Log("# play log of %s: shots with the CRC-32 of their RGB rows (top first), sound starts, the end", file);
  if (Play.script.errorLine != 0) {
    Log("line %u: %s; the script stops before it", Play.script.errorLine, Play.script.error.c_str());
  }
  Play.playing = 1;
  Play.next = 0;
  Play.base = Play.frames;
  Play.lastFrame = Play.script.events.empty() ? 0 : Play.script.events.back().frame;
  Play.stepsGiven = 0;
  Play.steps = 1;
  Play.shots.clear();
  Play.seeds.clear();
  ResetPlayInput(&Play.input);
  // A seed before the first frame applies now; later ones take the place of the game's.
  while (Play.next < Play.script.events.size() && Play.script.events[Play.next].frame == 0) {
    SeedPcg(&Util.random, Play.script.events[Play.next++].seed, RANDOM_STREAM);
  }
  Util.randomSeedHook = PlaySeedHook;
  InjectInput(&Play.input);
  return 0;
}

HRESULT StopPlayScript() {
  if (!Play.playing) return S_FALSE;
  EndScript("stopped");
  return 0;
}

int IsPlayScriptRunning() { return Play.playing; }

void BeginPlayFrame() {
  if (Play.frameOpen) return;
  ++Play.frames;
  Play.frameOpen = 1;
  Play.stepsGiven = 0;
  Play.recordSteps = 0;
  if (!Play.playing) return;
  // Past its last frame the script is over, and real input is back.
  if (Play.next == Play.script.events.size() && ScriptFrame() > Play.lastFrame) {
    EndScript("end");
    return;
  }
  Deliver();
}

void EndPlayFrame() {
  if (Play.playing) TakeShots();
  if (Play.record != NULL && Play.frameOpen && Play.recordSteps != 1) {
    fprintf(Play.record, "frame %u steps %d\n", RecordFrame(), Play.recordSteps);
  }
  Play.frameOpen = 0;
}

int PlayedSteps(int* steps) {
  if (!Play.playing) return 0;
  *steps = Play.stepsGiven ? 0 : (int)Play.steps;
  Play.stepsGiven = 1;
  return 1;
}

int PlayedMouse(int32_t* x, int32_t* y) {
  if (!Play.playing) return 0;
  *x = Play.input.mouseX;
  *y = Play.input.mouseY;
  return 1;
}

int PlayedMouseButton(int button, int* down) {
  if (!Play.playing) return 0;
  *down = button >= 0 && button < PLAY_BUTTON_COUNT ? Play.input.clicks[button] : 0;
  return 1;
}

int PlayedFocus(int* active) {
  if (!Play.playing) return 0;
  *active = App.window != NULL && !Play.input.focusLost;
  return 1;
}

uint64_t PlaySeedHook(uint64_t seed) {
  if (Play.playing && !Play.seeds.empty()) {
    seed = Play.seeds.front();
    Play.seeds.erase(Play.seeds.begin());
  }
  if (Play.record != NULL) {
    fprintf(Play.record, "frame %u seed %llu\n", RecordFrame(), (unsigned long long)seed);
  }
  return seed;
}

void LogSoundStart(uint32_t slot, int32_t volume, int32_t pan, const char* how) {
  if (!Play.playing) return;
  Log("frame %u sound slot %u volume %d pan %d%s%s", ScriptFrame(), slot, volume, pan,
      how != NULL ? " " : "", how != NULL ? how : "");
}

void StartPlayFromEnvironment() {
  // Whatever the game does with random numbers differs from run to run, unless
  // a script or the game seeds them.
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  SeedPcg(&Util.random, (uint64_t)now.QuadPart, RANDOM_STREAM);
  if (App.startOptions & START_NO_PLAY_ENV) return;
  const char* record = getenv("LQ_RECORD");
  if (record != NULL && record[0] != '\0' && StartInputRecording(record) != 0) {
    OutputDebugStringA("LQ_RECORD: the recording cannot be written\n");
  }
  const char* script = getenv("LQ_PLAY");
  if (script != NULL && script[0] != '\0' && StartPlayScript(script) != 0) {
    // No log to say it in: the game goes on with real input.
    OutputDebugStringA("LQ_PLAY: the script or its log cannot be opened\n");
  }
}

void StopPlayAndRecording() {
  if (Play.playing) EndScript("end");  // the game ends with the script
  StopInputRecording();
  Play.frames = 0;
  Play.frameOpen = 0;
}
