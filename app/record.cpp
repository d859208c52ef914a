// Recordings: the input the game took each frame, written as a play script
// that replays it, with the random numbers' seed and each frame's logic steps.
#include <stdio.h>

#include "app/app_state.h"
#include "app/application.h"
#include "app/play.h"
#include "app/play_log.h"
#include "app/play_state.h"
#include "input/internal.h"
#include "util/random_pcg.h"
#include "util/util_state.h"

HRESULT StartInputRecording(const char* file) {
  if (file == NULL) return E_INVALIDARG;
  StopInputRecording();
  Play.record = fopen(file, "wb");
  if (Play.record == NULL) return E_FAIL;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const uint64_t seed = (uint64_t)now.QuadPart;
  SeedPcg(&Util.random, seed, RANDOM_STREAM);
  fprintf(Play.record, "# the input the game took, frame by frame: a play script that replays it\n"
                       "seed %llu\n", (unsigned long long)seed);
  fflush(Play.record);
  Play.recordBase = Play.frames;
  ResetPlayInput(&Play.recorded);
  Play.recordSteps = 0;
  Util.randomSeedHook = PlaySeedHook;
  return 0;
}

HRESULT StopInputRecording() {
  if (Play.record == NULL) return S_FALSE;
  fclose(Play.record);
  Play.record = NULL;
  if (!Play.playing) Util.randomSeedHook = NULL;
  return 0;
}

void RecordPlayFrame(int quit) {
  if (Play.record == NULL) return;
  PlayInput now = Play.recorded;
  BeginPlayFrame(&now);
  CaptureInput(&now);
  POINT mouse = GetMousePos();
  now.mouseX = mouse.x;
  now.mouseY = mouse.y;
  now.focusLost = !IsWindowActive();
  std::vector<PlayEvent> events;
  DiffPlayInput(Play.recorded, now, RecordFrame(), &events);
  for (const PlayEvent& e : events) fprintf(Play.record, "%s\n", FormatPlayEvent(e).c_str());
  if (quit) fprintf(Play.record, "frame %u close\n", RecordFrame());
  fflush(Play.record);
  Play.recorded = now;
}

void RecordSteps(int steps) {
  if (Play.record != NULL) Play.recordSteps += steps;
}
