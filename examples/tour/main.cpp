// A tour of Lumaquill: one small game using every part of the framework. A ship
// steered with the pad that turns to face its way, a ring of stars from one
// sprite sheet turning about the screen's centre, and a burst of turned sparks
// with a chime on button 0 (keyboard Z) that rumbles the pad that fired it; looped
// streamed music, two fonts (a centred title, a live readout with the pads
// connected, a name typed on the screen), the batch and the glow; logic at a fixed
// 60 steps a second; drawn at a logical 800 x 600, full screen on Alt+Enter; it
// starts on any PC, with or without a controller or sound.
// Copy it to start a game of your own.
#include <math.h>
#include <string.h>

#include "lumaquill.h"

// Assets, found in the working directory (examples/tour/make_assets.py makes them).
static const char* const kShip = "ship.bmp";
static const char* const kStar = "star.bmp";  // the sprite sheet: four 16 x 16 cells in a row
static const char* const kMusic = "music.ogg";  // Ogg Vorbis: compressed, streamed
static const char* const kChime = "blip.wav";

// Slot numbers are the game's to choose.
enum { FONT_TITLE = 0, FONT_READOUT = 1 };
enum { WAVE_MUSIC = 0, WAVE_CHIME = 1 };

enum { STAR_COUNT = 48, SPARK_COUNT = 24, SPARK_LIFE = 50 };
static const char* const kTitle = "Lumaquill Tour";
static const D3DCOLOR kTitleColor = 0xFFFFD040;
static const D3DCOLOR kReadoutColor = 0xFF80FF80;

// What the readout shows; the draw callbacks count their quads.
static DWORD QuadsThisFrame, QuadsShown, FramesPerSecond;
// The score: bursts fired this run; the best of all runs is kept in a save file.
static DWORD Bursts, Best;
static const char* const kGame = "Lumaquill Tour";  // the save folder's name

// Typed tasks: the kind says what a task is, user points at the game's data.
enum { KIND_SHIP = 1, KIND_STAR, KIND_SPARK };
// A cell of the sprite sheet, its size on screen and its tint.
struct Look {
  float u0, u1, halfWidth, halfHeight;
  D3DCOLOR color;
};
static const Look kStarLooks[3] = {{0.00f, 0.25f, 8, 8, 0xFFFFE0A0},
                                   {0.25f, 0.50f, 7, 7, 0xFFA0C0FF},
                                   {0.50f, 0.75f, 5, 5, 0xFFFFFFFF}};
static const Look kSparkLook = {0.75f, 1.00f, 9, 3, 0xFF60C0FF};
static int32_t ShipHeading;  // where the nose points, in 1/8192 turns (0: up)
static int RumbleSteps[PAD_COUNT];  // steps each pad's motors have left to run
static char Name[25];  // typed on the screen

// The angle of the direction (x, y) from the x axis, in 1/8192 turns: clockwise,
// as y grows down the screen.
static int32_t AngleOf(float x, float y) {
  return (int32_t)(atan2f(y, x) * (SIN_TABLE_SIZE / 6.2831853f));
}

// --- The ship: moved by the pad, turned to face its way, drawn at once. ---
static void UpdateSprite(Task* self);
static void DrawSprite(Task* self);

static void Burst(const Task* from) {
  for (int i = 0; i < SPARK_COUNT; ++i) {
    Task* spark = CreateTask(UpdateSprite, DrawSprite);
    if (IsTaskNull(spark)) return;  // pool full: fewer sparks
    int angle = i * SIN_TABLE_SIZE / SPARK_COUNT;
    spark->kind = KIND_SPARK;
    spark->user = (void*)&kSparkLook;
    spark->x = from->x;
    spark->y = from->y;
    // 3 to 5 pixels a step, from the framework's random numbers: a recorded run
    // replays them.
    const float speed = GetRandomRange(300, 500) / 100.0f;
    spark->vx = speed * GetSin(angle + SIN_TABLE_SIZE / 4);  // a quarter turn on: cosine
    spark->vy = speed * GetSin(angle);
    spark->count = SPARK_LIFE;
  }
}

static void UpdateShip(Task* self) {
  DWORD pad = GetPadBits();
  const float speed = 4.0f;
  int dx = ((pad & PAD_RIGHT) != 0) - ((pad & PAD_LEFT) != 0);
  int dy = ((pad & PAD_DOWN) != 0) - ((pad & PAD_UP) != 0);
  self->x += speed * dx;
  self->y += speed * dy;
  // The sprite's nose points up: a quarter turn on from the x axis.
  if (dx != 0 || dy != 0) ShipHeading = AngleOf((float)dx, (float)dy) + SIN_TABLE_SIZE / 4;
  // Keep it on the screen.
  float w = (float)GetScreenWidth(), h = (float)GetScreenHeight();
  self->x = self->x < 16 ? 16 : self->x > w - 16 ? w - 16 : self->x;
  self->y = self->y < 16 ? 16 : self->y > h - 16 ? h - 16 : self->y;
  // PadBits are levels: act on the step the button goes down, not while it is held.
  int pressed = (pad & PAD_BUTTON0) != 0;
  if (pressed && !self->count) {
    PlayWaveVoice(WAVE_CHIME);  // quick presses overlap rather than cut each other
    Burst(self);
    ++Bursts;
    // The pads that fired it shake for a quarter of a second.
    for (DWORD i = 0; i < PAD_COUNT; ++i) {
      PadState state;
      if (GetPadState(i, &state) == 0 && (state.bits & PAD_BUTTON0)) {
        SetPadRumble(i, 40000, 20000);
        RumbleSteps[i] = 15;
      }
    }
  }
  self->count = pressed;
  for (DWORD i = 0; i < PAD_COUNT; ++i) {
    if (RumbleSteps[i] > 0 && --RumbleSteps[i] == 0) SetPadRumble(i, 0, 0);
  }
}

// What was typed since the last frame: characters onto the name, backspace off
// the last one. Both are UTF-8 (START_UTF8_TEXT), so "Zoë" draws as typed.
static void TypeName() {
  char typed[64];
  int n = GetTextInput(typed, sizeof typed);  // whole characters only
  size_t length = strlen(Name);
  for (int i = 0; i < n;) {
    unsigned char c = (unsigned char)typed[i];
    int bytes = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (c == '\b') {
      while (length > 0 && ((unsigned char)Name[--length] & 0xC0) == 0x80) {}  // to its first byte
      Name[length] = '\0';
    } else if (c >= ' ' && c != 0x7F && length + bytes < sizeof Name) {
      memcpy(Name + length, typed + i, bytes);
      length += bytes;
      Name[length] = '\0';
    }
    i += bytes;
  }
}

static void DrawShip(Task* self) {
  BindTexture(kShip);  // an immediate quad draws with the texture bound now
  const QuadDesc ship = {self->x, self->y, 16, 16, ShipHeading, 0xFFFFFFFF, 0, 0, 0, 0};
  DrawQuad(&ship);
  ++QuadsThisFrame;
}

// --- Stars and sparks: two kinds of task, batched (drawn later by FlushRects) from
// cells of one sheet. Stars run round a ring; sparks fly out, fade and remove
// themselves. ---
static void UpdateSprite(Task* self) {
  if (self->kind == KIND_STAR) {
    self->count += 8;  // angle on the ring, in 1/8192 turns
    int angle = self->count;
    self->x = 400 + self->vx * GetSin(angle + SIN_TABLE_SIZE / 4);
    self->y = 300 + self->vy * GetSin(angle);
    return;
  }
  self->x += self->vx;
  self->y += self->vy;
  if (--self->count <= 0) KillTask(self);  // returned to the pool by the next SweepTask
}

static void DrawSprite(Task* self) {
  const Look* look = (const Look*)self->user;
  QuadDesc quad = {self->x, self->y, look->halfWidth, look->halfHeight, 0, look->color,
                   look->u0, 0, look->u1, 1};
  if (self->kind == KIND_STAR) {
    quad.angle = -3 * self->count;  // each star spins against the ring
  } else {  // a spark: along its flight, fading out
    quad.angle = AngleOf(self->vx, self->vy);
    quad.color = (DWORD)(255 * self->count / SPARK_LIFE) << 24 | (look->color & 0xFFFFFF);
  }
  PushQuad(&quad);
  ++QuadsThisFrame;
}

static void StartGame() {
  for (int i = 0; i < STAR_COUNT; ++i) {
    Task* star = CreateTask(UpdateSprite, DrawSprite);
    star->kind = KIND_STAR;
    star->user = (void*)&kStarLooks[i % 3];
    star->count = i * SIN_TABLE_SIZE / STAR_COUNT;
    star->vx = 180.0f + 60.0f * (i % 3);  // the ring's radii across and down
    star->vy = 120.0f + 40.0f * (i % 3);
  }
  Task* ship = CreateTask(UpdateShip, DrawShip);  // created last: drawn over the stars
  ship->kind = KIND_SHIP;
  ship->x = 400;
  ship->y = 450;
  ship->count = 0;
}

// Frames counted over each second of the clock. While a play script runs, its
// frames are the steps: the readout says so, and a replay shows what the run did.
static void CountFrame() {
  if (IsPlayScriptRunning()) {
    FramesPerSecond = 60;
    return;
  }
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
  // Most PCs have no game controller, and some no sound device: play without them.
  // Alt+Enter switches between the window and full screen; text is UTF-8.
  SetStartOptions(START_WITHOUT_CONTROLLER | START_WITHOUT_SOUND | START_ALT_ENTER |
                  START_UTF8_TEXT);
  if (InitApplication(kTitle, 800, 600, 1) != 0) return 0;
  // Drawn at 800 x 600 whatever the window's size: full screen scales it up.
  SetLogicalSize(800, 600, SCALE_FIT);
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
  // S_FALSE is still a best score (the one before the last save, which was lost);
  // never saved, or damaged, starts from 0.
  DWORD saved = 0;
  if (FAILED(LoadGameFile(kGame, "best", &Best, sizeof Best, &saved)) || saved != sizeof Best) {
    Best = 0;
  }
  SIZE title = {0, 0};
  MeasureString(FONT_TITLE, kTitle, &title);  // to centre it
  SetStepRate(60);

  while (ProcessMessage()) {
    TypeName();
    // The game's logic runs 60 steps a second whatever the frame rate: none in a
    // fast frame, several after a slow one.
    for (int steps = GetStepsDue(); steps > 0; --steps) {
      SweepTask();
      UpdateTask();
    }
    SetTrailColor(0xA08080C0);  // the last frame, dimmed and bluer, under this one
    if (BeginRender(0) == 0) {
      QuadsThisFrame = 0;
      DrawTask();
      BindTexture(kStar);  // the batched stars and sparks draw with this one
      FlushRects();
      DrawEffectGaussianBlur(0xFF3060FF);
      // Text after the glow stays crisp.
      DrawString(FONT_TITLE, (800 - title.cx) / 2.0f, 12, kTitleColor, kTitle);
      char pads[PAD_COUNT + 1] = "";
      for (DWORD i = 0; i < PAD_COUNT; ++i) pads[i] = IsPadConnected(i) ? (char)('0' + i) : '-';
      DrawStringF(FONT_READOUT, 20, 60, kReadoutColor, "fps %lu  quads %lu  pad %05lX  pads %s%s%s",
                  FramesPerSecond, QuadsShown, GetPadBits(), pads,
                  IsControllerPresent() ? "" : "  keyboard only",  // what the start found
                  IsSoundPresent() ? "" : "  silent");
      DrawStringF(FONT_READOUT, 20, 84, kReadoutColor, "bursts %lu  best %lu", Bursts,
                  Bursts > Best ? Bursts : Best);
      DrawStringF(FONT_READOUT, 20, 544, kReadoutColor, "name: %s_", Name);
      DrawString(FONT_READOUT, 20, 572, kReadoutColor,
                 "arrows: move   Z: chime and sparks   type: your name   Alt+Enter: full screen"
                 "   Esc: quit");
      SetDrawMode(DRAWMODE_LINEAR2);
      EndRender();
      QuadsShown = QuadsThisFrame;
    }
    Flip(0xFFFFFFFF);
    CountFrame();
  }

  // Saved once, at the end: a save flushes to disk, which a frame need not wait for.
  if (Bursts > Best) SaveGameFile(kGame, "best", &Bursts, sizeof Bursts);
  ReleaseWave(WAVE_CHIME);
  ReleaseWave(WAVE_MUSIC);
  ReleaseTexture(kStar);
  ReleaseTexture(kShip);
  ReleaseApplication();  // fonts, sound and graphics go with it
  return 0;
}
