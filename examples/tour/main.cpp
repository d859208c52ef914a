// A tour of Lumaquill: one small game using every part of the framework. A ship
// steered with the pad, a ring of stars turning about the screen's centre, and a
// burst of sparks with a chime on button 0 (keyboard Z); looped streamed music,
// two fonts (a title and a live readout), the batch and the glow. Copy it to
// start a game of your own.
#include "app/application.h"
#include "graphics/graphics.h"
#include "input/input.h"
#include "sound/sound.h"
#include "task/task.h"
#include "util/sin_table.h"

// Assets, found in the working directory (examples/tour/make_assets.py makes them).
static const char* const kShip = "ship.bmp";
static const char* const kStar = "star.bmp";
static const char* const kMusic = "music.ogg";  // Ogg Vorbis: compressed, streamed
static const char* const kChime = "blip.wav";

// Slot numbers are the game's to choose.
enum { FONT_TITLE = 0, FONT_READOUT = 1 };
enum { WAVE_MUSIC = 0, WAVE_CHIME = 1 };

enum { STAR_COUNT = 48, SPARK_COUNT = 24, SPARK_LIFE = 45 };
static const D3DCOLOR kTitleColor = 0xFFFFD040;
static const D3DCOLOR kReadoutColor = 0xFF80FF80;

// What the readout shows; the draw callbacks count their quads.
static DWORD QuadsThisFrame, QuadsShown, FramesPerSecond;

// --- The ship: moved by the pad, drawn at once with its own texture. ---
static void UpdateSpark(Task* self);
static void DrawSpark(Task* self);

static void Burst(const Task* from) {
  for (int i = 0; i < SPARK_COUNT; ++i) {
    Task* spark = CreateTask(UpdateSpark, DrawSpark);
    if (IsTaskNull(spark)) return;  // pool full: fewer sparks
    int angle = i * SIN_TABLE_SIZE / SPARK_COUNT;
    spark->x = from->x;
    spark->y = from->y;
    spark->vx = 4.0f * GetSin(angle + SIN_TABLE_SIZE / 4);  // a quarter turn on: cosine
    spark->vy = 4.0f * GetSin(angle);
    spark->count = SPARK_LIFE;
  }
}

static void UpdateShip(Task* self) {
  DWORD pad = GetPadBits();
  const float speed = 4.0f;
  if (pad & PAD_LEFT) self->x -= speed;
  if (pad & PAD_RIGHT) self->x += speed;
  if (pad & PAD_UP) self->y -= speed;
  if (pad & PAD_DOWN) self->y += speed;
  // Keep it on the screen.
  float w = (float)GetScreenWidth(), h = (float)GetScreenHeight();
  self->x = self->x < 16 ? 16 : self->x > w - 16 ? w - 16 : self->x;
  self->y = self->y < 16 ? 16 : self->y > h - 16 ? h - 16 : self->y;
  // PadBits are levels: act on the frame the button goes down, not while it is held.
  int pressed = (pad & PAD_BUTTON0) != 0;
  if (pressed && !self->count) {
    PlayWaveVoice(WAVE_CHIME);  // quick presses overlap rather than cut each other
    Burst(self);
  }
  self->count = pressed;
}

static void DrawShip(Task* self) {
  BindTexture(kShip);  // an immediate quad draws with the texture bound now
  DrawRectCenter(self->x, self->y, 16, 16, 0xFFFFFFFF);
  ++QuadsThisFrame;
}

// --- Stars: a turning ring, batched (drawn later by FlushRects). ---
static void UpdateStar(Task* self) {
  self->count += 8;  // angle, in 1/8192 turns
  int angle = self->count;
  self->x = 400 + self->vx * GetSin(angle + SIN_TABLE_SIZE / 4);
  self->y = 300 + self->vy * GetSin(angle);
}

static void DrawStar(Task* self) {
  PushRectCenter(self->x, self->y, 8, 8, 0xFFFFE0A0);
  ++QuadsThisFrame;
}

// --- Sparks: fly out, fade, and remove themselves. ---
static void UpdateSpark(Task* self) {
  self->x += self->vx;
  self->y += self->vy;
  if (--self->count <= 0) KillTask(self);  // returned to the pool by the next SweepTask
}

static void DrawSpark(Task* self) {
  DWORD alpha = (DWORD)(255 * self->count / SPARK_LIFE);
  PushRectCenter(self->x, self->y, 6, 6, (alpha << 24) | 0x60C0FF);
  ++QuadsThisFrame;
}

static void StartGame() {
  for (int i = 0; i < STAR_COUNT; ++i) {
    Task* star = CreateTask(UpdateStar, DrawStar);
    star->count = i * SIN_TABLE_SIZE / STAR_COUNT;
    star->vx = 180.0f + 60.0f * (i % 3);  // the ring's radii across and down
    star->vy = 120.0f + 40.0f * (i % 3);
  }
  Task* ship = CreateTask(UpdateShip, DrawShip);  // created last: drawn over the stars
  ship->x = 400;
  ship->y = 450;
  ship->count = 0;
}

// Frames counted over each second of the clock.
static void CountFrame() {
  static DWORD start = timeGetTime(), frames = 0;
  ++frames;
  DWORD now = timeGetTime();
  if (now - start >= 1000) {
    FramesPerSecond = frames * 1000 / (now - start);
    start = now;
    frames = 0;
  }
}

int main(int, char**) {
  if (InitApplication("Lumaquill Tour", 800, 600, 1) != 0) return 0;
  InitTask();
  InitSinTable();

  LoadTexture(kShip);  // by name; a missing file only leaves the quads untextured
  LoadTexture(kStar);
  CreateFontSlot(FONT_TITLE, "Arial", 36);
  CreateFontSlot(FONT_READOUT, "Courier New", 16);
  if (LoadStreamWave(WAVE_MUSIC, kMusic) == 0) {
    SetWaveLoop(WAVE_MUSIC, 1);  // after the load: loading clears it
    SetWaveVolume(WAVE_MUSIC, -600);  // half the amplitude: the chime sounds over it
    PlayWave(WAVE_MUSIC);
  }
  LoadWave(WAVE_CHIME, kChime);
  StartGame();

  while (ProcessMessage()) {
    SweepTask();
    UpdateTask();
    SetTrailColor(0xA08080C0);  // the last frame, dimmed and bluer, under this one
    if (BeginRender(0) == 0) {
      QuadsThisFrame = 0;
      DrawTask();
      BindTexture(kStar);  // the batched stars and sparks draw with this one
      FlushRects();
      DrawEffectGaussianBlur(0xFF3060FF);
      // Text after the glow stays crisp.
      DrawString(FONT_TITLE, 20, 12, kTitleColor, "Lumaquill Tour");
      DrawStringF(FONT_READOUT, 20, 60, kReadoutColor, "fps %lu  quads %lu  pad %05lX",
                  FramesPerSecond, QuadsShown, GetPadBits());
      DrawString(FONT_READOUT, 20, 572, kReadoutColor,
                 "arrows: move   Z: chime and sparks   Esc: quit");
      SetDrawMode(DRAWMODE_LINEAR2);
      EndRender();
      QuadsShown = QuadsThisFrame;
    }
    Flip(0xFFFFFFFF);
    CountFrame();
  }

  ReleaseWave(WAVE_CHIME);
  ReleaseWave(WAVE_MUSIC);
  ReleaseTexture(kStar);
  ReleaseTexture(kShip);
  ReleaseApplication();  // fonts, sound and graphics go with it
  return 0;
}
