// CPU cost of one frame of the chaser demo's logic in batched mode: SweepTask,
// UpdateTask (8,191 enemies steering after the player) and DrawTask (8,192 quads
// appended to the batch), through the task tree and its callbacks. Beside it, in
// the same run, two floors: a flat loop over arrays doing the same steering
// arithmetic and writing the same vertices with no tree, and a memcpy of as many
// vertex bytes. The batch is emptied, never drawn: only the CPU side is timed.
// Prints figures only; nothing is asserted.
#include <windows.h>

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
const DWORD kWidth = kBenchWidth, kHeight = kBenchHeight;
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

// The demo's frame logic, as the frame sequence runs it; each phase's share too.
struct Phases {
  std::vector<double> sweep, update, draw;
};

double DemoFrame(uint32_t* quads, Phases* phases) {
  const LONGLONG start = Ticks();
  SweepTask();
  const LONGLONG swept = Ticks();
  UpdateTask();
  const LONGLONG updated = Ticks();
  DrawTask();
  const LONGLONG end = Ticks();
  *quads = Gfx.batch.count / QUAD_VERTICES;
  QuadBatchEmpty(&Gfx.batch);
  if (phases != NULL) {
    phases->sweep.push_back(Micros(start, swept));
    phases->update.push_back(Micros(swept, updated));
    phases->draw.push_back(Micros(updated, end));
  }
  return Micros(start, end);
}

volatile int OffScreen;

// The same work on plain arrays: move, steer toward the player, test the bounds,
// write the quad's six vertices in place.
struct Flat {
  std::vector<float> x, y, vx, vy;
  std::vector<Vertex2D> vertices;
  float playerX, playerY;
};

double FlatFrame(Flat& f) {
  const LONGLONG start = Ticks();
  const Vec2 origin = {0.0f, 0.0f}, player = {f.playerX, f.playerY};
  const size_t n = f.x.size();
  Vertex2D* out = f.vertices.data();
  int gone = 0;
  for (size_t i = 0; i < n; ++i) {
    f.x[i] += f.vx[i];
    f.y[i] += f.vy[i];
    Vec2 at = {f.x[i], f.y[i]}, d, v;
    GetVec2Direction(&d, &at, &player, 0.07f);
    Vec2 sum = {f.vx[i] + d.x, f.vy[i] + d.y};
    GetVec2Direction(&v, &origin, &sum, 2.0f);
    f.vx[i] = v.x;
    f.vy[i] = v.y;
    if (f.x[i] > (float)kWidth || f.x[i] < 0.0f) ++gone;
    if (f.y[i] > (float)kHeight || f.y[i] < 0.0f) ++gone;
  }
  for (size_t i = 0; i < n; ++i, out += QUAD_VERTICES) {
    LayoutQuad(out, f.x[i] - 2.0f, f.y[i] - 2.0f, f.x[i] + 2.0f, f.y[i] + 2.0f, 0xEE5555FF, 0.0f,
               0.0f, 1.0f, 1.0f);
  }
  LayoutQuad(out, f.playerX - 16.0f, f.playerY - 16.0f, f.playerX + 16.0f, f.playerY + 16.0f,
             0xFFFF0000, 0.0f, 0.0f, 1.0f, 1.0f);
  const LONGLONG end = Ticks();
  OffScreen = gone;  // keeps the bounds tests
  return Micros(start, end);
}

double CopyFrame(const std::vector<char>& from, std::vector<char>& to) {
  const LONGLONG start = Ticks();
  memcpy(to.data(), from.data(), kVertexBytes);
  const LONGLONG end = Ticks();
  return Micros(start, end);
}

// Per frame and per task (of 8,192), best and median, and the ratios to the flat loop.
void Print(const char* what, Figures f, Figures floor) {
  const double perTask = 1000.0 / TASK_POOL_SIZE;
  printf("%-44s %8.1f %8.1f us  %7.2f %7.2f ns/task  %5.2f %5.2f x flat\n", what, f.best,
         f.median, f.best * perTask, f.median * perTask, f.best / floor.best,
         f.median / floor.median);
}

}  // namespace

int main() {
  // PushRect needs a device; the batch itself never reaches it.
  if (!StartBenchDevice("frame_bench")) return 1;
  InitTask();
  InitSinTable();
  InitDemo();
  BatchMode = 1;

  uint32_t quads = 0;
  for (int i = 0; i < kWarmUpFrames; ++i) DemoFrame(&quads, NULL);

  // The flat loop starts from the swarm as it is now.
  Flat flat;
  for (Task* t = TaskPool.root; !IsTaskNull(t); t = t->next) {
    if (t == PlayerTask) continue;
    flat.x.push_back(t->x);
    flat.y.push_back(t->y);
    flat.vx.push_back(t->vx);
    flat.vy.push_back(t->vy);
  }
  flat.vertices.resize(TASK_POOL_SIZE * QUAD_VERTICES);
  flat.playerX = PlayerTask->x;
  flat.playerY = PlayerTask->y;
  std::vector<char> from(kVertexBytes, 1), to(kVertexBytes, 0);

  // Interleaved, so that every kind sees the same machine load.
  std::vector<double> demo, loop, copy;
  Phases phases;
  uint32_t fewest = TASK_POOL_SIZE, most = 0;
  for (int i = 0; i < kFrames; ++i) {
    demo.push_back(DemoFrame(&quads, &phases));
    fewest = std::min(fewest, quads);
    most = std::max(most, quads);
    loop.push_back(FlatFrame(flat));
    copy.push_back(CopyFrame(from, to));
  }

  const Figures d = Summarise(demo), f = Summarise(loop), c = Summarise(copy);
  printf("frame_bench: the chaser's frame logic, batched mode, %d frames after %d warm-up\n",
         kFrames, kWarmUpFrames);
  printf("quads pushed per frame: %u to %u; tasks: %d\n", fewest, most, TASK_POOL_SIZE);
  printf("%-44s %17s  %23s  %17s\n", "(best, median)", "per frame", "per task", "ratio");
  Print("demo frame (sweep, update, draw into batch)", d, f);
  Print("flat loop (same arithmetic and vertices)", f, f);
  Print("memcpy of 8,192 x 6 x 28 bytes", c, f);
  printf("demo frame / memcpy: best %.1f, median %.1f\n", d.best / c.best, d.median / c.median);
  const Figures sweep = Summarise(phases.sweep), update = Summarise(phases.update),
                draw = Summarise(phases.draw);
  printf("demo phases, best / median us: sweep %.1f / %.1f, update %.1f / %.1f, "
         "draw into batch %.1f / %.1f\n",
         sweep.best, sweep.median, update.best, update.median, draw.best, draw.median);
  ReleaseDirectX();
  DestroyWindow(App.window);
  return 0;
}
