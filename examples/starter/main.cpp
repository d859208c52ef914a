// @NAME@: a sprite that the arrows (or the stick) move and turn to face their way,
// a line of text, and a chime at the start and on each press of Z (button 0). Its
// logic runs at a fixed 60 steps a second; it starts on any PC, with or without a
// game controller or a sound device. Alt+Enter toggles full screen, Escape
// pauses; closing the window quits.
#include <math.h>

#include "lumaquill.h"

// Made by assets.py at build time; found in the folder the game runs in.
static const char* const kSprite = "sprite.bmp";
static const char* const kChime = "chime.wav";

// Slot numbers are the game's to choose.
enum { FONT_TEXT = 0 };
enum { WAVE_CHIME = 0 };

static int32_t PlayerAngle;  // the sprite's turn: 8192 a full turn, 0 with its nose up
static int Paused;

static void UpdatePlayer(Task* self) {  // once a step, before anything is drawn
  DWORD pad = GetPadBits();
  int dx = ((pad & PAD_RIGHT) != 0) - ((pad & PAD_LEFT) != 0);
  int dy = ((pad & PAD_DOWN) != 0) - ((pad & PAD_UP) != 0);
  self->x += 4.0f * dx;  // 4 pixels a step: 240 a second
  self->y += 4.0f * dy;
  if (dx != 0 || dy != 0) {  // right is a quarter turn (2048), down half a turn
    PlayerAngle = (int32_t)(atan2f((float)dx, (float)-dy) * 8192 / 6.2831853f);
  }
  // The bits are levels: play on the step the button goes down.
  int pressed = (pad & PAD_BUTTON0) != 0;
  if (pressed && !self->count) PlayWave(WAVE_CHIME);
  self->count = pressed;
}

static void DrawPlayer(Task* self) {
  BindTexture(kSprite);  // an immediate quad draws with the texture bound now
  const QuadDesc sprite = {self->x, self->y, 16, 16, PlayerAngle, 0xFFFFFFFF, 0, 0, 0, 0};
  DrawQuad(&sprite);  // turned; texture corners all 0: the whole image
}

int main(int, char**) {
  // Most PCs have no game controller, and some no sound device: play without them.
  // Escape is the game's key (it pauses), not a quit; Alt+Enter switches between
  // the window and full screen; text is UTF-8, as GetTextInput gives it.
  SetStartOptions(START_WITHOUT_CONTROLLER | START_WITHOUT_SOUND | START_ESCAPE_IS_KEY |
                  START_ALT_ENTER | START_UTF8_TEXT);
  if (InitApplication("@NAME@", 800, 600, 1) != 0) return 0;  // it has said why
  InitTask();
  LoadTexture(kSprite);  // a missing file only leaves the quad untextured
  CreateFontSlot(FONT_TEXT, "Arial", 32);
  LoadWave(WAVE_CHIME, kChime);  // without sound every sound call just fails
  PlayWave(WAVE_CHIME);

  Task* player = CreateTask(UpdatePlayer, DrawPlayer);
  player->x = 400, player->y = 300, player->count = 0;
  while (ProcessMessage()) {  // 0 once the window is closed
    if (WasKeyPressed(DIK_ESCAPE)) Paused = !Paused;  // pressed since the last frame
    // 60 logic steps a second whatever the frame rate: none in a fast frame,
    // several (at most 5) after a slow one. Taken while paused too, so that
    // none are due all at once afterwards.
    for (int steps = GetStepsDue(); steps > 0 && !Paused; --steps) {
      SweepTask();
      UpdateTask();
    }
    if (BeginRender(0xFF000000) == 0) {
      DrawTask();
      DrawString(FONT_TEXT, 20, 20, 0xFFFFD040, "Arrows: move   Z: chime   Esc: pause");
      if (Paused) DrawString(FONT_TEXT, 20, 60, 0xFFFFD040, "Paused: Escape goes on");
      EndRender();
    }
    Flip(0xFFFFFFFF);
  }

  ReleaseWave(WAVE_CHIME);
  ReleaseTexture(kSprite);
  ReleaseApplication();  // fonts, sound and graphics go with it
  return 0;
}
