// @NAME@: a sprite that the arrows (or the stick) move, a line of text, and a
// chime at the start and on each press of Z (button 0). Escape quits.
#include "app/application.h"
#include "graphics/graphics.h"
#include "input/input.h"
#include "sound/sound.h"
#include "task/task.h"

// Made by assets.py at build time; found in the folder the game runs in.
static const char* const kSprite = "sprite.bmp";
static const char* const kChime = "chime.wav";

// Slot numbers are the game's to choose.
enum { FONT_TEXT = 0 };
enum { WAVE_CHIME = 0 };

static void UpdatePlayer(Task* self) {  // every frame, before anything is drawn
  DWORD pad = GetPadBits();
  if (pad & PAD_LEFT) self->x -= 4;
  if (pad & PAD_RIGHT) self->x += 4;
  if (pad & PAD_UP) self->y -= 4;
  if (pad & PAD_DOWN) self->y += 4;
  // The bits are levels: play on the frame the button goes down.
  int pressed = (pad & PAD_BUTTON0) != 0;
  if (pressed && !self->count) PlayWave(WAVE_CHIME);
  self->count = pressed;
}

static void DrawPlayer(Task* self) {
  BindTexture(kSprite);  // an immediate quad draws with the texture bound now
  DrawRectCenter(self->x, self->y, 16, 16, 0xFFFFFFFF);
}

int main(int, char**) {
  if (InitApplication("@NAME@", 800, 600, 1) != 0) return 0;  // it has said why
  InitTask();
  LoadTexture(kSprite);  // a missing file only leaves the quad untextured
  CreateFontSlot(FONT_TEXT, "Arial", 32);
  LoadWave(WAVE_CHIME, kChime);
  PlayWave(WAVE_CHIME);

  Task* player = CreateTask(UpdatePlayer, DrawPlayer);
  player->x = 400, player->y = 300, player->count = 0;
  while (ProcessMessage()) {  // 0 once Escape is pressed or the window is closed
    SweepTask();
    UpdateTask();
    if (BeginRender(0xFF000000) == 0) {
      DrawTask();
      DrawString(FONT_TEXT, 20, 20, 0xFFFFD040, "Hello from @NAME@");
      EndRender();
    }
    Flip(0xFFFFFFFF);
  }

  ReleaseWave(WAVE_CHIME);
  ReleaseTexture(kSprite);
  ReleaseApplication();  // fonts, sound and graphics go with it
  return 0;
}
