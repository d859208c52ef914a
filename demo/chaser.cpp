// The player and enemy tasks of the chaser demo.
#include "demo/chaser.h"

#include "app/application.h"
#include "graphics/graphics.h"
#include "input/input.h"
#include "util/float_bits.h"
#include "util/force_inline.h"
#include "util/vec2.h"

extern uint32_t DemoRandState;

static const float kPlayerStartX = 400.0f, kPlayerStartY = 300.0f;
static const float kEnemyStartSpeed = 10.0f;
static const float kEnemySpeed = 2.0f;
static const float kEnemyPull = 0.07f;

int32_t DemoRand() {
  DemoRandState = DemoRandState * 214013u + 2531011u;
  return (int32_t)((DemoRandState >> 16) & 0x7FFF);
}

void SeedDemoRand(uint32_t state) { DemoRandState = state; }

// The vector of the given length from the task toward the target.
static LQ_INLINE Vec2 Toward(const Task* task, const Task* target, float length) {
  Vec2 from = {task->x, task->y}, to = {target->x, target->y}, d;
  GetVec2Direction(&d, &from, &to, length);
  return d;
}

void AimTaskAt(Task* task, const Task* target, float speed) {
  if (task == nullptr || target == nullptr) return;
  Vec2 v = Toward(task, target, speed);
  task->vx = v.x;
  task->vy = v.y;
}

// Inline in UpdateEnemy: it runs for every enemy every frame.
static LQ_INLINE void Steer(Task* task, const Task* target, float pull, float speed) {
  Vec2 d = Toward(task, target, pull);
  const Vec2 origin = {0.0f, 0.0f};
  Vec2 sum = {task->vx + d.x, task->vy + d.y}, v;
  GetVec2Direction(&v, &origin, &sum, speed);  // a zero sum stays zero
  task->vx = v.x;
  task->vy = v.y;
}

void SteerTaskTo(Task* task, const Task* target, float pull, float speed) {
  if (task == nullptr || target == nullptr) return;
  Steer(task, target, pull, speed);
}

void AccelTaskTo(Task* task, const Task* target, float pull, float scale) {
  if (task == nullptr || target == nullptr) return;
  Vec2 d = Toward(task, target, pull);
  task->vx = d.x * scale + task->vx;
  task->vy = d.y * scale + task->vy;
}

void InitDemo() {
  PlayerTask = CreateTask(UpdatePlayer, DrawPlayer);
  PlayerTask->x = kPlayerStartX;
  PlayerTask->y = kPlayerStartY;
  for (;;) {
    Task* e = CreateTask(UpdateEnemy, DrawEnemy);
    if (IsTaskNull(e)) break;
    e->x = (float)(DemoRand() % 100);
    e->y = (float)(DemoRand() % 100);
    // Replaced at once, but the two draws belong to the sequence.
    e->vx = (float)(DemoRand() % 10);
    e->vy = (float)(DemoRand() % 10);
    AimTaskAt(e, PlayerTask, kEnemyStartSpeed);
  }
}

void SpawnEnemy() {
  Task* e = CreateTask(UpdateEnemy, DrawEnemy);
  if (IsTaskNull(e)) return;
  // A zero-sized screen would divide by zero: such a screen spawns at 0.
  DWORD w = GetScreenWidth(), h = GetScreenHeight();
  e->x = (float)(w ? (DWORD)DemoRand() % w : 0);
  e->y = (float)(h ? (DWORD)DemoRand() % h : 0);
  AimTaskAt(e, PlayerTask, kEnemySpeed);
}

void UpdatePlayer(Task* task) {
  DWORD bits = GetPadBits();
  if (bits & PAD_BUTTON0) BatchMode = BatchMode == 1 ? 0 : 1;  // every held frame
  if (bits & PAD_LEFT) task->x -= 1.0f;
  if (bits & PAD_RIGHT) task->x += 1.0f;
  if (bits & PAD_UP) task->y -= 1.0f;
  if (bits & PAD_DOWN) task->y += 1.0f;
}

void DrawPlayer(Task* task) {
  if (BatchMode) {
    PushRectCenter(task->x, task->y, 16.0f, 16.0f, 0xFFFF0000);
    PushRectCenter(task->x, task->y, 2.0f, 2.0f, 0xFFFFFFFF);
  } else {
    DrawRectCenter(task->x, task->y, 16.0f, 16.0f, 0xFF0000FF);
    DrawRectCenter(task->x, task->y, 2.0f, 2.0f, 0xFFFFFFFF);
  }
}

// The screen size as a float. 32-bit x86 converts signed ints in one instruction
// and unsigned ones in six; every real size is a positive int, and converts the
// same either way.
static inline float SizeToFloat(DWORD size) {
  return (int32_t)size >= 0 ? (float)(int32_t)size : (float)size;
}

// Strict bounds: 0 and the width itself are still on the screen. A corner exit
// kills once and spawns twice.
static void LeaveScreen(Task* task) {
  if (task->x > SizeToFloat(GetScreenWidth()) || task->x < 0.0f) {
    KillTask(task);
    SpawnEnemy();
  }
  if (task->y > SizeToFloat(GetScreenHeight()) || task->y < 0.0f) {
    KillTask(task);
    SpawnEnemy();
  }
}

void UpdateEnemy(Task* task) {
  task->count += 1;
  task->x += task->vx;
  task->y += task->vy;
  if (task->count != 0) {
    if (PlayerTask != nullptr) Steer(task, PlayerTask, kEnemyPull, kEnemySpeed);
    task->count = 0;
  }
  // One integer comparison a side clears an enemy on the screen; LeaveScreen's
  // float tests settle the rest (off the screen, -0, NaN). Converting the screen
  // size cost as much as the rest of the test: it is redone only on a new size.
  const DWORD w = GetScreenWidth(), h = GetScreenHeight();
  if (w != DemoEdges.width || h != DemoEdges.height) {
    DemoEdges = {w, h, FloatBits(SizeToFloat(w)), FloatBits(SizeToFloat(h))};
  }
  if ((FloatBits(task->x) > DemoEdges.right) | (FloatBits(task->y) > DemoEdges.bottom)) {
    LeaveScreen(task);
  }
}

void DrawEnemy(Task* task) {
  if (BatchMode) {
    PushRectCenter(task->x, task->y, 2.0f, 2.0f, 0xEE5555FF);
  } else {
    DrawRectCenter(task->x, task->y, 2.0f, 2.0f, 0xEEFFFFFF);
  }
}
