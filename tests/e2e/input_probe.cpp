// A game that prints what the input calls tell it, one line per event, for
// input_test.sh and play_test.sh. About 15 frames a second, so that quick taps fall between polls.
// Escape is its key (START_ESCAPE_IS_KEY): closing the window ends it; Alt+Enter
// toggles full screen (START_ALT_ENTER).
#include <stdio.h>
#include <string.h>

#include "app/application.h"
#include "graphics/graphics.h"
#include "input/input.h"
#include "util/random.h"

// Prints the state of each connected pad when it changes.
static void PrintStates(char last[PAD_COUNT][96]) {
  for (DWORD pad = 0; pad < PAD_COUNT; ++pad) {
    PadState s;
    if (!IsPadConnected(pad) || GetPadState(pad, &s) != 0) continue;
    char line[96];
    snprintf(line, sizeof line, "state %lu %05lX %ld %ld %ld %ld %u %u\n", pad, s.bits, s.leftX,
             s.leftY, s.rightX, s.rightY, s.leftTrigger, s.rightTrigger);
    if (strcmp(line, last[pad]) != 0) fputs(strcpy(last[pad], line), stdout);
  }
}

int main() {
  setvbuf(stdout, NULL, _IONBF, 0);
  SetStartOptions(START_WITHOUT_CONTROLLER | START_WITHOUT_SOUND | START_ESCAPE_IS_KEY |
                  START_ALT_ENTER);
  if (InitApplication("Input Probe", 320, 240, 1) != 0) return 1;
  PadState s;
  printf("start %d %05lX\n", IsPadConnected(0), GetPadState(0, &s) == 0 ? s.bits : 0);
  char last[PAD_COUNT][96] = {};
  printf("invalid %lX %lX %lX\n", GetPadState(PAD_COUNT, &s), GetPadState(0, NULL),
         SetPadRumble(PAD_COUNT, 1, 1));
  DWORD bits = 0;
  int fullscreen = 0, enterHeld = 0;
  POINT mouse = {-1, -1};
  int active = -1;
  while (ProcessMessage()) {
    if (IsFullscreen() != fullscreen) printf("fullscreen %d\n", fullscreen = IsFullscreen());
    if ((IsKeyDown(DIK_RETURN) | IsKeyDown(DIK_NUMPADENTER)) != enterHeld) {
      printf("enter held %d\n", enterHeld ^= 1);
    }
    POINT now = GetMousePos();
    if (now.x != mouse.x || now.y != mouse.y) printf("mouse %ld %ld\n", (mouse = now).x, now.y);
    if (IsWindowActive() != active) printf("active %d\n", active = IsWindowActive());
    PrintStates(last);
    if (GetPadBits() != bits) printf("bits %05lX\n", bits = GetPadBits());
    if (GetPadBitsPressed()) printf("pressed %05lX\n", GetPadBitsPressed());
    if (GetPadBitsReleased()) printf("released %05lX\n", GetPadBitsReleased());
    // Button 1 on pad 0 sets its motors.
    if (GetPadState(0, &s) == 0 && (s.bits & GetPadBitsPressed() & PAD_BUTTON1)) {
      printf("rumble %lX\n", SetPadRumble(0, 1000, 65535));
    }
    for (DWORD code = 1; code < 256; ++code) if (WasKeyPressed(code)) printf("key %02lX\n", code);
    int wheel = GetMouseWheel();
    if (wheel != GetMouseWheel()) printf("wheel changed between two reads\n");
    if (wheel != 0) printf("wheel %d\n", wheel);
    for (int b = 0; b < 3; ++b) {
      if (WasMouseButtonPressed(b)) printf("click %d%s\n", b, IsMouseButtonDown(b) ? " down" : "");
    }
    char text[64];
    int n = GetTextInput(text, sizeof text);
    for (int i = 0; i < n; ++i) printf(i == 0 ? "text %02X" : " %02X", (unsigned char)text[i]);
    if (n > 0) printf("\n");
    // A frame is one Flip: a play script's frames count them.
    if (BeginRender(0xFF000000) == 0) EndRender();
    Flip(0xFFFFFFFF);
    Sleep(66);
  }
  printf("random %08X\n", GetRandom());
  ReleaseApplication();
  printf("end\n");
  return 0;
}
