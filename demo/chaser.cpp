// The player and enemy tasks of the chaser demo.
#include "demo/chaser.h"

#include <stddef.h>

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
static const uint32_t kEnemyBatchColor = 0xEE5555FF;

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

static void UpdateEnemies(Task* const* tasks, int count);
static void DrawEnemies(Task* const* tasks, int count);

void InitDemo() {
  SetTaskRunProc(UpdateEnemy, UpdateEnemies);
  SetTaskRunProc(DrawEnemy, DrawEnemies);
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

// One integer comparison a side clears an enemy on the screen; LeaveScreen's
// float tests settle the rest (off the screen, -0, NaN). Converting the screen
// size cost as much as the rest of the test: it is redone only on a new size.
static LQ_INLINE void RefreshEdges() {
  const DWORD w = GetScreenWidth(), h = GetScreenHeight();
  if (w != DemoEdges.width || h != DemoEdges.height) {
    DemoEdges = {w, h, FloatBits(SizeToFloat(w)), FloatBits(SizeToFloat(h))};
  }
}

static LQ_INLINE void KeepOnScreen(Task* task) {
  RefreshEdges();
  if ((FloatBits(task->x) > DemoEdges.right) | (FloatBits(task->y) > DemoEdges.bottom)) {
    LeaveScreen(task);
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
  KeepOnScreen(task);
}

static_assert(offsetof(Task, y) == offsetof(Task, x) + 4 && offsetof(Task, vx) == offsetof(Task, x) + 8 &&
                  offsetof(Task, vy) == offsetof(Task, x) + 12,
              "x, y, vx, vy are read as four floats in a row");

// Two enemies moved and steered at once, with the same results as Steer gives
// each; false, changing neither, when either needs the vector helpers' rare paths.
static LQ_INLINE bool SteerPair(Task* a, Task* b, __m128 target, __m128* moved) {
  const __m128 ea = _mm_loadu_ps(&a->x), eb = _mm_loadu_ps(&b->x);  // x y vx vy
  const __m128 velocity = _mm_movehl_ps(eb, ea);
  const __m128 position = _mm_add_ps(_mm_movelh_ps(ea, eb), velocity);
  __m128 pull = _mm_sub_ps(target, position);
  if (!SetVec2LengthPair(&pull, kEnemyPull)) return false;
  __m128 v = _mm_add_ps(velocity, pull);
  if (!SetVec2LengthPair(&v, kEnemySpeed)) return false;
  _mm_storeu_ps(&a->x, _mm_movelh_ps(position, v));
  _mm_storeu_ps(&b->x, _mm_movehl_ps(v, position));
  *moved = position;
  return true;
}

// UpdateEnemy for a stretch of the swarm, two at a time. A pair is steered before
// either is tested against the screen: nothing a test does (a kill, a spawn aimed
// at the player) changes the other's steering. Both are tested in one comparison,
// against edges read once a stretch (a pass never changes the screen's size).
static void UpdateEnemies(Task* const* tasks, int count) {
  int i = 0;
  if (PlayerTask != nullptr) {
    const __m128 target = _mm_setr_ps(PlayerTask->x, PlayerTask->y, PlayerTask->x, PlayerTask->y);
    RefreshEdges();
    // Unsigned order as signed: the sign bits flipped on both sides.
    const __m128i flip = _mm_set1_epi32(INT32_MIN);
    const __m128i edges = _mm_xor_si128(
        _mm_setr_epi32((int)DemoEdges.right, (int)DemoEdges.bottom, (int)DemoEdges.right,
                       (int)DemoEdges.bottom),
        flip);
    for (; i + 1 < count; i += 2) {
      Task* a = tasks[i];
      Task* b = tasks[i + 1];
      __m128 moved;
      // A count of -1 skips the steering once.
      if (a->count == -1 || b->count == -1 || !SteerPair(a, b, target, &moved)) {
        UpdateEnemy(a);
        UpdateEnemy(b);
        continue;
      }
      a->count = 0;
      b->count = 0;
      const int out = _mm_movemask_ps(_mm_castsi128_ps(
          _mm_cmpgt_epi32(_mm_xor_si128(_mm_castps_si128(moved), flip), edges)));
      if (out & 3) LeaveScreen(a);
      if (out & 12) LeaveScreen(b);
    }
  }
  for (; i < count; ++i) UpdateEnemy(tasks[i]);
}

void DrawEnemy(Task* task) {
  if (BatchMode) {
    PushRectCenter(task->x, task->y, 2.0f, 2.0f, kEnemyBatchColor);
  } else {
    DrawRectCenter(task->x, task->y, 2.0f, 2.0f, 0xEEFFFFFF);
  }
}

// Left, top, right, bottom of an enemy's quad, as PushRectCenter rounds them.
static LQ_INLINE __m128 EnemyCorners(const Task* task) {
  const __m128 xy = _mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(&task->x));
  return _mm_add_ps(_mm_movelh_ps(xy, xy), _mm_setr_ps(-2.0f, -2.0f, 2.0f, 2.0f));
}

// One enemy's quad, as DrawEnemy pushes it.
static LQ_INLINE void LayoutEnemy(Vertex2D* quad, const Task* task) {
  const float x = task->x, y = task->y;
  LayoutQuad(quad, x - 2.0f, y - 2.0f, x + 2.0f, y + 2.0f, kEnemyBatchColor, 0.0f, 0.0f, 1.0f, 1.0f);
}

// DrawEnemy for a stretch of the swarm: its quads laid out in one stretch of the
// batch, two at a time once the storage is 16-byte aligned (a quad is 8 bytes
// past a multiple of 16 long: one alone first puts the rest in step).
static void DrawEnemies(Task* const* tasks, int count) {
  Vertex2D* quad = BatchMode ? PushQuadSpace(count) : NULL;
  if (quad == NULL) {  // drawn now, or pushed one by one as far as the batch grows
    for (int i = 0; i < count; ++i) DrawEnemy(tasks[i]);
    return;
  }
  int i = 0;
  if ((reinterpret_cast<uintptr_t>(quad) & 15) != 0) {
    LayoutEnemy(quad, tasks[0]);
    quad += QUAD_VERTICES, i = 1;
  }
  for (; i + 1 < count; i += 2, quad += 2 * QUAD_VERTICES) {
    LayoutQuadPair(quad, EnemyCorners(tasks[i]), EnemyCorners(tasks[i + 1]), kEnemyBatchColor);
  }
  if (i < count) LayoutEnemy(quad, tasks[i]);
}
