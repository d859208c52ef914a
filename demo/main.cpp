// Program entry: start the framework, warm the texture cache up, run the frame
// loop until a quit request, shut down. The exit status is always 0.
#include "app/application.h"
#include "demo/chaser.h"
#include "graphics/graphics.h"
#include "task/task.h"
#include "util/sin_table.h"

static const char* const kTextureName = "test.bmp";

int main(int, char**) {
  if (InitApplication("Lumaquill", 800, 600, 1) != 0) return 0;

  InitTask();  // before InitDemo, which creates tasks
  InitSinTable();
  InitDemo();

  // Each round ends with the texture resident and one reference held.
  for (int i = 0; i < 0x103; ++i) {
    LoadTexture(kTextureName);
    ReleaseTexture(kTextureName);
    ReleaseTexture(kTextureName);
    LoadTexture(kTextureName);
  }

  while (ProcessMessage()) {
    SweepTask();
    UpdateTask();
    SetTrailColor(0x80EEEEF9);
    if (BeginRender(0) == 0) {
      BindTexture(kTextureName);
      DrawTask();
      FlushRects();
      DrawEffectGaussianBlur(0xFFFF8722);
      SetDrawMode(DRAWMODE_LINEAR2);
      EndRender();
    }
    Flip(0xFFFFFFFF);  // every frame: a lost device is recovered here
  }
  ReleaseApplication();
  return 0;
}
