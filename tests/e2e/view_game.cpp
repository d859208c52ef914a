// The program of view_test.sh: a 320 x 240 picture at whole multiples in an
// 800 x 600 window, Alt+Enter for full screen. Red and green squares mark the
// picture's corners on blue, test.bmp and text in the middle. Prints a line
// whenever what it reports changes, and the display scale before the window.
#include <stdio.h>
#include <string.h>

#include "app/application.h"
#include "graphics/graphics.h"

int main(int, char**) {
  printf("scale before the window %.2f\n", GetDisplayScale());
  SetStartOptions(START_WITHOUT_CONTROLLER | START_WITHOUT_SOUND | START_ALT_ENTER);
  if (InitApplication("LqView", 800, 600, 1) != 0) return 1;
  if (SetLogicalSize(320, 240, SCALE_INTEGER) != 0) return 2;
  LoadTexture("test.bmp");
  CreateFontSlot(0, "Arial", 24);
  char last[256] = "";
  while (ProcessMessage()) {
    POINT mouse = GetLogicalMousePos();
    char line[256];
    snprintf(line, sizeof line, "fullscreen %d screen %lu %lu client %lu %lu mouse %ld %ld scale %.2f",
             IsFullscreen(), GetScreenWidth(), GetScreenHeight(), AppClientWidth, AppClientHeight,
             mouse.x, mouse.y, GetDisplayScale());
    if (strcmp(line, last) != 0) {
      printf("%s\n", line);
      fflush(stdout);
      snprintf(last, sizeof last, "%s", line);
    }
    if (BeginRender(0xFF0000FF) == 0) {
      SetDrawMode(DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE);
      BindTexture(NULL);
      DrawRect(0, 0, 16, 16, 0xFFFF0000);
      DrawRect(304, 224, 320, 240, 0xFF00FF00);
      BindTexture("test.bmp");
      DrawRect(144, 104, 176, 136, 0xFFFFFFFF);
      DrawString(0, 40, 170, 0xFFFFFF00, "LOGICAL");
      EndRender();
    }
    Flip(0xFFFFFFFF);
  }
  ReleaseTexture("test.bmp");
  ReleaseApplication();
  return 0;
}
