#include "lumaquill.h"

static void UpdateBox(Task* box) {  // every frame, before anything is drawn
  if (GetPadBits() & PAD_LEFT) box->x -= 2;
  if (GetPadBits() & PAD_RIGHT) box->x += 2;
}
static void DrawBox(Task* box) { DrawRectCenter(box->x, box->y, 16, 16, 0xFFFF8000); }

int main(int, char**) {
  if (InitApplication("My Game", 640, 480, 1) != 0) return 0;  // it has said why
  InitTask();
  Task* box = CreateTask(UpdateBox, DrawBox);
  box->x = 320, box->y = 240;
  while (ProcessMessage()) {  // 0 once Escape is pressed or the window is closed
    SweepTask();
    UpdateTask();
    if (BeginRender(0xFF000000) == 0) {
      DrawTask();
      EndRender();
    }
    Flip(0xFFFFFFFF);
  }
  ReleaseApplication();
}
