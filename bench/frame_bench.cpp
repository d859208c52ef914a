// CPU cost of one frame of the chaser demo's logic in batched mode: SweepTask,
// UpdateTask (8,191 enemies steering after the player) and DrawTask (8,193 quads
// appended to the batch), through the task tree and its callbacks. Beside it, in
// the same run, the floor: the same frame as the fastest plain code we could write
// of it, with the same arithmetic and results (each vector scaled exactly as the
// vector helpers scale it, checked bit for bit against them), a flat loop over an
// array of structs steering two entities side by side, then the six vertices of
// each quad stored straight into one pre-sized, aligned array, two quads at a
// time in 16-byte stores. Also timed: a memcpy of as many vertex bytes.
// The batch is emptied, never drawn: only the CPU side is timed. Prints figures
// only; nothing is asserted.
#include <windows.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "bench/bench_device.h"
#include "demo/chaser.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "task/task.h"
#include "task/task_state.h"
#include "util/sin_table.h"
#include "util/vec2.h"

namespace {

const int kFrames = 1000;
const int kWarmUpFrames = 200;  // the swarm closes in on the player first
const float kWidth = (float)kBenchWidth, kHeight = (float)kBenchHeight;
const float kPull = 0.07f, kSpeed = 2.0f;  // the demo's steering
const size_t kVertexBytes = (size_t)TASK_POOL_SIZE * QUAD_VERTICES * sizeof(Vertex2D);

// Microseconds between two counter readings.
double Micros(LONGLONG start, LONGLONG end) { return Seconds(start, end) * 1e6; }

struct Figures {
  double best, median;
};

Figures Summarise(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2]};
}

// One frame in timed parts: the sweep (the framework only), the update and the
// quads written out.
struct Timing {
  std::vector<double> sweep, update, push, frame;
  void Add(LONGLONG start, LONGLONG swept, LONGLONG updated, LONGLONG end) {
    sweep.push_back(Micros(start, swept));
    update.push_back(Micros(swept, updated));
    push.push_back(Micros(updated, end));
    frame.push_back(Micros(start, end));
  }
};

uint32_t DemoFrame(Timing* timing) {
  const LONGLONG start = Ticks();
  SweepTask();
  const LONGLONG swept = Ticks();
  UpdateTask();
  const LONGLONG updated = Ticks();
  DrawTask();
  const LONGLONG end = Ticks();
  const uint32_t quads = Gfx.batch.count / QUAD_VERTICES;
  QuadBatchEmpty(&Gfx.batch);
  if (timing != NULL) timing->Add(start, swept, updated, end);
  return quads;
}

volatile int OffScreen;

struct Entity {
  float x, y, vx, vy;
};

struct Flat {
  std::vector<Entity> enemies;
  Vertex2D* vertices;  // pre-sized, 16-byte aligned
  float playerX, playerY;
};

// The vertices of one quad, as the framework lays them out, one field a store.
inline Vertex2D* WriteQuad(Vertex2D* v, float cx, float cy, float half, uint32_t color) {
  const float l = cx - half - 0.5f, t = cy - half - 0.5f;
  const float r = cx + half - 0.5f, b = cy + half - 0.5f;
  v[0] = {l, t, 0.5f, 1.0f, color, 0.0f, 0.0f};
  v[1] = {r, t, 0.5f, 1.0f, color, 1.0f, 0.0f};
  v[2] = {l, b, 0.5f, 1.0f, color, 0.0f, 1.0f};
  v[3] = {r, t, 0.5f, 1.0f, color, 1.0f, 0.0f};
  v[4] = {r, b, 0.5f, 1.0f, color, 1.0f, 1.0f};
  v[5] = {l, b, 0.5f, 1.0f, color, 0.0f, 1.0f};
  return v + QUAD_VERTICES;
}

// Left, top, right, bottom of the quad about (x, y).
inline __m128 Corners(__m128 xy, __m128 half) {
  const __m128 signedHalf = _mm_xor_ps(half, _mm_setr_ps(-0.0f, -0.0f, 0.0f, 0.0f));
  return _mm_add_ps(_mm_movelh_ps(xy, xy), signedHalf);
}


// The demo's steering as plain scalar code through the vector helpers, each
// vector scaled exactly as they scale it: what the floor must give bit for bit.
void PlainSteer(Entity* enemies, size_t n, float px, float py) {
  const Vec2 player = {px, py}, origin = {0.0f, 0.0f};
  for (Entity* end = enemies + n; enemies != end; ++enemies) {
    Entity& e = *enemies;
    e.x += e.vx;
    e.y += e.vy;
    const Vec2 at = {e.x, e.y};
    Vec2 pull, v;
    GetVec2Direction(&pull, &at, &player, kPull);
    const Vec2 sum = {e.vx + pull.x, e.vy + pull.y};
    GetVec2Direction(&v, &origin, &sum, kSpeed);
    e.vx = v.x;
    e.vy = v.y;
  }
}

// The demo's steering, two entities side by side in SSE registers (the pair
// helper scales both vectors at once); a pair needing the helpers' rare paths
// goes through the plain form.
void ExactSteer(std::vector<Entity>& enemies, float px, float py) {
  const __m128 player = _mm_setr_ps(px, py, px, py);
  const size_t n = enemies.size();
  Entity* e = enemies.data();
  size_t i = 0;
  for (; i + 1 < n; i += 2) {
    const __m128 a = _mm_loadu_ps(&e[i].x), b = _mm_loadu_ps(&e[i + 1].x);
    const __m128 velocity = _mm_movehl_ps(b, a);
    const __m128 position = _mm_add_ps(_mm_movelh_ps(a, b), velocity);
    __m128 pull = _mm_sub_ps(player, position), v;
    if (SetVec2LengthPair(&pull, kPull) &&
        SetVec2LengthPair(&(v = _mm_add_ps(velocity, pull)), kSpeed)) {
      _mm_storeu_ps(&e[i].x, _mm_movelh_ps(position, v));
      _mm_storeu_ps(&e[i + 1].x, _mm_movehl_ps(v, position));
    } else {
      PlainSteer(e + i, 2, px, py);
    }
  }
  PlainSteer(e + i, n - i, px, py);
}

// The bounds test of the demo, kept from being optimised away.
void CountGone(const std::vector<Entity>& enemies) {
  const __m128 edges = _mm_setr_ps(kWidth, kHeight, 0.0f, 0.0f), zero = _mm_setzero_ps();
  int gone = 0;
  for (const Entity& e : enemies) {
    const __m128 position = _mm_loadu_ps(&e.x);
    const int out = _mm_movemask_ps(
        _mm_or_ps(_mm_cmpgt_ps(position, edges), _mm_cmplt_ps(position, zero)));
    gone += (out & 1) + ((out >> 1) & 1);
  }
  OffScreen = gone;
}

// The demo's steering and bounds test, then its quads, with nothing in between.
void FlatFrame(Flat& f, Timing* timing) {
  const LONGLONG start = Ticks();
  const float px = f.playerX, py = f.playerY;
  ExactSteer(f.enemies, px, py);
  CountGone(f.enemies);
  const LONGLONG updated = Ticks();
  const size_t n = f.enemies.size();
  const Entity* e = f.enemies.data();
  const __m128 half = _mm_set1_ps(2.0f);
  size_t i = 0;
  for (; i + 1 < n; i += 2) {
    LayoutQuadPair(f.vertices + i * QUAD_VERTICES, Corners(_mm_loadu_ps(&e[i].x), half),
                   Corners(_mm_loadu_ps(&e[i + 1].x), half), 0xEE5555FF);
  }
  Vertex2D* v = f.vertices + i * QUAD_VERTICES;
  if (i < n) v = WriteQuad(v, e[i].x, e[i].y, 2.0f, 0xEE5555FF);
  v = WriteQuad(v, px, py, 16.0f, 0xFFFF0000);
  WriteQuad(v, px, py, 2.0f, 0xFFFFFFFF);
  const LONGLONG end = Ticks();
  if (timing != NULL) timing->Add(start, start, updated, end);
}

double CopyFrame(const std::vector<char>& from, std::vector<char>& to) {
  const LONGLONG start = Ticks();
  memcpy(to.data(), from.data(), kVertexBytes);
  const LONGLONG end = Ticks();
  return Micros(start, end);
}

// Per frame, best and median, and the ratios to the flat loop's.
void Print(const char* what, Figures f, Figures floor) {
  printf("%-52s %8.1f %8.1f us   %5.2f %5.2f x flat\n", what, f.best, f.median,
         f.best / floor.best, f.median / floor.median);
}

// Nanoseconds per entity (task or quad), best and median.
void PrintEach(const char* what, const std::vector<double>& micros, double entities) {
  const Figures f = Summarise(micros);
  printf("  %-50s %8.2f %8.2f ns\n", what, f.best * 1000.0 / entities,
         f.median * 1000.0 / entities);
}

}  // namespace

int main() {
  // PushRect needs a device; the batch itself never reaches it.
  if (!StartBenchDevice("frame_bench")) return 1;
  InitTask();
  InitSinTable();
  InitDemo();
  BatchMode = 1;

  for (int i = 0; i < kWarmUpFrames; ++i) DemoFrame(NULL);

  // The floor starts from the swarm as it is now.
  Flat flat;
  for (Task* t = TaskPool.root; !IsTaskNull(t); t = t->next) {
    if (t != PlayerTask) flat.enemies.push_back({t->x, t->y, t->vx, t->vy});
  }
  const size_t flatVertices = (flat.enemies.size() + 2) * QUAD_VERTICES;
  flat.vertices = static_cast<Vertex2D*>(_mm_malloc(flatVertices * sizeof(Vertex2D), 16));
  if (flat.vertices == NULL) return 1;
  flat.playerX = PlayerTask->x;
  flat.playerY = PlayerTask->y;
  // The paired steering must give the plain code's bits, frame after frame, and
  // the paired stores lay out what one field a store does.
  std::vector<Entity> plain = flat.enemies;
  for (int i = 0; i < kWarmUpFrames; ++i) {
    FlatFrame(flat, NULL);
    PlainSteer(plain.data(), plain.size(), flat.playerX, flat.playerY);
    if (memcmp(plain.data(), flat.enemies.data(), plain.size() * sizeof(Entity)) != 0) {
      printf("frame_bench: the floor's steering differs from its plain form\n");
      return 1;
    }
  }
  std::vector<Vertex2D> expected(flatVertices);
  Vertex2D* at = expected.data();
  for (const Entity& e : flat.enemies) at = WriteQuad(at, e.x, e.y, 2.0f, 0xEE5555FF);
  at = WriteQuad(at, flat.playerX, flat.playerY, 16.0f, 0xFFFF0000);
  WriteQuad(at, flat.playerX, flat.playerY, 2.0f, 0xFFFFFFFF);
  if (memcmp(expected.data(), flat.vertices, flatVertices * sizeof(Vertex2D)) != 0) {
    printf("frame_bench: the floor's vertices differ from their plain layout\n");
    return 1;
  }
  std::vector<char> from(kVertexBytes, 1), to(kVertexBytes, 0);

  // Interleaved, so that every kind sees the same machine load.
  Timing demo, loop;
  std::vector<double> copy;
  uint32_t fewest = TASK_POOL_SIZE, most = 0, quads = 0;
  for (int i = 0; i < kFrames; ++i) {
    const uint32_t pushed = DemoFrame(&demo);
    fewest = std::min(fewest, pushed);
    most = std::max(most, pushed);
    quads += pushed;
    FlatFrame(flat, &loop);
    copy.push_back(CopyFrame(from, to));
  }

  const Figures d = Summarise(demo.frame), f = Summarise(loop.frame), c = Summarise(copy);
  printf("frame_bench: the chaser's frame logic, batched mode, %d frames after %d warm-up\n",
         kFrames, kWarmUpFrames);
  printf("quads pushed per frame: %u to %u; tasks: %d; flat loop: %u entities, %u quads\n",
         fewest, most, TASK_POOL_SIZE, (unsigned)flat.enemies.size(),
         (unsigned)flat.enemies.size() + 2);
  printf("%-52s %8s %8s      %11s\n", "per frame", "best", "median", "best median");
  Print("framework (sweep, update, draw into batch)", d, f);
  Print("flat loop (array of structs, the demo's arithmetic)", f, f);
  Print("memcpy of 8,192 x 6 x 28 bytes", c, f);
  printf("per entity, best and median:\n");
  PrintEach("framework: sweep, per task", demo.sweep, TASK_POOL_SIZE);
  PrintEach("framework: update, per task", demo.update, TASK_POOL_SIZE);
  PrintEach("framework: draw into the batch, per quad", demo.push, quads / (double)kFrames);
  PrintEach("flat: update, per entity", loop.update, (double)flat.enemies.size());
  PrintEach("flat: six vertices written, per quad", loop.push, flat.enemies.size() + 2.0);
  printf("RATIO framework / flat loop: best %.2f, median %.2f (goal: at most 1.15)\n",
         d.best / f.best, d.median / f.median);
  _mm_free(flat.vertices);
  ReleaseDirectX();
  DestroyWindow(App.window);
  return 0;
}
