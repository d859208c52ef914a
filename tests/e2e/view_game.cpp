// view_test.sh's program: a 320 x 240 picture (red and green squares in its
// corners on blue, test.bmp, text) at whole multiples, Alt+Enter for full screen;
// prints what it reports whenever that changes.
#include <stdio.h>
#include <string.h>

#include "app/application.h"
#include "graphics/graphics.h"

int main(int, char**) {
  printf("scale before the window %.2f\n", GetDisplayScale());
  SetStartOptions(START_WITHOUT_CONTROLLER | START_WITHOUT_SOUND | START_ALT_ENTER);
  if (InitApplication("LqView", 800, 600, 1) != 0 || SetLogicalSize(320, 240, SCALE_INTEGER)) return 1;
  LoadTexture("test.bmp");
  CreateFontSlot(0, "Arial", 24);
  for (char last[256] = "", line[256]; ProcessMessage(); Flip(0xFFFFFFFF)) {
    POINT mouse = GetLogicalMousePos();
    snprintf(line, sizeof line, "fullscreen %d screen %lu %lu client %lu %lu mouse %ld %ld scale %.2f\n",
             IsFullscreen(), GetScreenWidth(), GetScreenHeight(), AppClientWidth, AppClientHeight,
             mouse.x, mouse.y, GetDisplayScale());
    if (strcmp(line, last) != 0) fputs(strcpy(last, line), stdout), fflush(stdout);
    if (BeginRender(0xFF0000FF) != 0) continue;
    SetDrawMode(DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE);
    BindTexture(NULL);
    DrawRect(0, 0, 16, 16, 0xFFFF0000);
    DrawRect(304, 224, 320, 240, 0xFF00FF00);
    BindTexture("test.bmp");
    DrawRect(144, 104, 176, 136, 0xFFFFFFFF);
    DrawString(0, 40, 170, 0xFFFFFF00, "LOGICAL");
    EndRender();
  }
  return ReleaseApplication();
}
