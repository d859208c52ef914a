// The chaser's rules, frame by frame, with the task pool and no device.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <vector>

#include "app/app_state.h"
#include "demo/chaser.h"
#include "util/crc32.h"
#include "fakes/fake_d3d9.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "input/input_state.h"
#include "task/task.h"
#include "task/task_state.h"

namespace {

int LiveTasks() {
  int n = 0;
  for (Task* t = TaskPool.root; !IsTaskNull(t); t = t->next) n += IsTaskDead(t) ? 0 : 1;
  return n;
}

int FreeRecords() {
  int n = 0;
  for (Task* t = TaskPool.freeList; !IsTaskNull(t); t = t->next) ++n;
  return n;
}

class Chaser : public ::testing::Test {
 protected:
  void SetUp() override {
    App.width = 800;
    App.height = 600;
    SeedDemoRand(1);
    BatchMode = 0;
    InitTask();
    memset(&Input.JoystickState, 0, sizeof Input.JoystickState);
    memset(Input.KeyboardState, 0, sizeof Input.KeyboardState);
  }
  void TearDown() override { SetUp(); }
  // A lone enemy at (x, y) with velocity (vx, vy); the player stays at (400, 300).
  Task* LoneEnemy(float x, float y, float vx, float vy) {
    PlayerTask = CreateTask(UpdatePlayer, DrawPlayer);
    PlayerTask->x = 400;
    PlayerTask->y = 300;
    Task* e = CreateTask(UpdateEnemy, DrawEnemy);
    e->x = x, e->y = y, e->vx = vx, e->vy = vy, e->count = 0;
    return e;
  }
};

TEST_F(Chaser, RandomSequenceIsTheDemosOwn) {
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724};
  for (int v : expected) EXPECT_EQ(DemoRand(), v);
}

TEST_F(Chaser, InitDemoFillsThePoolFromTheTopLeft) {
  InitDemo();
  EXPECT_EQ(PlayerTask->x, 400.0f);
  EXPECT_EQ(PlayerTask->y, 300.0f);
  EXPECT_EQ(LiveTasks(), TASK_POOL_SIZE);
  EXPECT_EQ(FreeRecords(), 0);
  // The first two enemies take the records after the player's.
  Task* first = &TaskPool.pool[1];
  Task* second = &TaskPool.pool[2];
  EXPECT_EQ(first->x, 41.0f);
  EXPECT_EQ(first->y, 67.0f);
  EXPECT_EQ(second->x, 69.0f);
  EXPECT_EQ(second->y, 24.0f);
  for (int i = 1; i < TASK_POOL_SIZE; ++i) {
    Task* e = &TaskPool.pool[i];
    ASSERT_LT(e->x, 100.0f);
    ASSERT_LT(e->y, 100.0f);
    ASSERT_NEAR(hypotf(e->vx, e->vy), 10.0f, 1e-4f);
    // Aimed at the player: velocity and offset point the same way.
    ASSERT_GT(e->vx * (400 - e->x) + e->vy * (300 - e->y), 0.0f);
  }
}

TEST_F(Chaser, EnemyMovesTenThenTwoPixelsPerFrame) {
  InitDemo();
  Task* e = &TaskPool.pool[1];
  float x0 = e->x, y0 = e->y;
  UpdateEnemy(e);
  EXPECT_NEAR(hypotf(e->x - x0, e->y - y0), 10.0f, 1e-4f);
  EXPECT_EQ(e->count, 0);
  for (int frame = 0; frame < 5; ++frame) {
    float x1 = e->x, y1 = e->y;
    UpdateEnemy(e);
    EXPECT_NEAR(hypotf(e->x - x1, e->y - y1), 2.0f, 1e-4f);
  }
}

TEST_F(Chaser, ScreenBoundsAreStrict) {
  Task* out = LoneEnemy(800.5f, 300, 0, 0);
  UpdateEnemy(out);
  EXPECT_TRUE(IsTaskDead(out));
  InitTask();
  Task* edge = LoneEnemy(800.0f, 600.0f, 0, 0);
  UpdateEnemy(edge);
  EXPECT_FALSE(IsTaskDead(edge));
  InitTask();
  Task* origin = LoneEnemy(0.0f, 0.0f, 0, 0);
  UpdateEnemy(origin);
  EXPECT_FALSE(IsTaskDead(origin));
  InitTask();
  Task* above = LoneEnemy(10.0f, -0.25f, 0, 0);
  UpdateEnemy(above);
  EXPECT_TRUE(IsTaskDead(above));
}

TEST_F(Chaser, CornerExitKillsOnceAndSpawnsTwice) {
  Task* e = LoneEnemy(-1.0f, -1.0f, 0, 0);
  int before = LiveTasks();
  UpdateEnemy(e);
  EXPECT_TRUE(IsTaskDead(e));
  EXPECT_EQ(LiveTasks(), before - 1 + 2);
  // The spawns land on the screen, aimed at the player at 2 pixels per frame.
  for (Task* t = TaskPool.root; t != e; t = t->next) {
    EXPECT_GE(t->x, 0.0f);
    EXPECT_LT(t->x, 800.0f);
    EXPECT_GE(t->y, 0.0f);
    EXPECT_LT(t->y, 600.0f);
    EXPECT_NEAR(hypotf(t->vx, t->vy), 2.0f, 1e-4f);
  }
}

TEST_F(Chaser, SwarmNeverExceedsThePool) {
  InitDemo();
  int most = 0;
  for (int frame = 0; frame < 300; ++frame) {
    SweepTask();
    UpdateTask();
    int live = LiveTasks();
    most = live > most ? live : most;
    ASSERT_LE(live + FreeRecords(), TASK_POOL_SIZE);
  }
  EXPECT_EQ(most, TASK_POOL_SIZE);  // player + 8191 enemies at the start
  EXPECT_FALSE(IsTaskDead(PlayerTask));

  // A player off the screen drags the swarm out: enemies die and respawn, and
  // spawns that find the pool full create nothing.
  PlayerTask->x = 1400;
  int fewest = TASK_POOL_SIZE;
  for (int frame = 0; frame < 300; ++frame) {
    SweepTask();
    UpdateTask();
    int live = LiveTasks();
    fewest = live < fewest ? live : fewest;
    ASSERT_LE(live + FreeRecords(), TASK_POOL_SIZE);
  }
  EXPECT_LT(fewest, TASK_POOL_SIZE);
}

TEST_F(Chaser, SpawnWithNoScreenDoesNotDivideByZero) {
  PlayerTask = CreateTask(UpdatePlayer, DrawPlayer);
  App.width = 0;
  App.height = 0;
  SpawnEnemy();
  Task* e = TaskPool.root;
  ASSERT_NE(e, PlayerTask);
  EXPECT_EQ(e->x, 0.0f);
  EXPECT_EQ(e->y, 0.0f);
}

TEST_F(Chaser, SteeringHelpersIgnoreMissingTasks) {
  Task* e = LoneEnemy(0, 0, 1, 1);
  AimTaskAt(nullptr, e, 2);
  AimTaskAt(e, nullptr, 2);
  SteerTaskTo(e, nullptr, 0.07f, 2);
  AccelTaskTo(nullptr, e, 0.07f, 2);
  EXPECT_EQ(e->vx, 1.0f);
  AccelTaskTo(e, PlayerTask, 1.0f, 3.0f);  // unscaled speed: pull x scale is added
  EXPECT_NEAR(e->vx, 1.0f + 3.0f * 0.8f, 1e-5f);
  EXPECT_NEAR(e->vy, 1.0f + 3.0f * 0.6f, 1e-5f);
}

}  // namespace

namespace {

TEST_F(Chaser, HeldBatchButtonFlipsEveryFrame) {
  InitDemo();
  Input.KeyboardState[DIK_Z] = 0x80;
  const int expected[] = {1, 0, 1};
  for (int mode : expected) {
    UpdatePlayer(PlayerTask);
    EXPECT_EQ(BatchMode, mode);
  }
  Input.KeyboardState[DIK_Z] = 0;
  Input.JoystickState.rgbButtons[0] = 0x80;  // the controller's button 0 likewise
  UpdatePlayer(PlayerTask);
  EXPECT_EQ(BatchMode, 0);
}

TEST_F(Chaser, PlayerStepsOnePixelAndOppositesCancel) {
  InitDemo();
  Input.KeyboardState[DIK_LEFT] = 0x80;
  Input.JoystickState.lX = 1000;  // right on the stick, left on the keys
  Input.JoystickState.lY = -1000;
  UpdatePlayer(PlayerTask);
  EXPECT_EQ(PlayerTask->x, 400.0f);
  EXPECT_EQ(PlayerTask->y, 299.0f);
  Input.KeyboardState[DIK_LEFT] = 0;
  for (int i = 0; i < 5; ++i) UpdatePlayer(PlayerTask);
  EXPECT_EQ(PlayerTask->x, 405.0f);
  EXPECT_EQ(PlayerTask->y, 294.0f);
}

TEST_F(Chaser, EnemiesSteerTowardTheLastFramesPlayer) {
  // The player is updated after every enemy (created first, so last in the chain):
  // within a frame an enemy sees where the player stood at the end of the last one.
  Task* e = LoneEnemy(100, 300, 2, 0);
  Task before = *e;
  Input.JoystickState.lY = 1000;  // the player moves down this frame
  UpdateTask();
  ASSERT_EQ(PlayerTask->y, 301.0f);
  PlayerTask->y = 300;  // where it stood when the enemy steered
  UpdateEnemy(&before);
  EXPECT_EQ(e->vx, before.vx);
  EXPECT_EQ(e->vy, before.vy);
}

}  // namespace
extern uint32_t DemoRandState;
namespace {

// Each frame's tasks (chain order, game fields) and batched vertices, as a CRC.
std::vector<uint32_t> PlayFrames(bool runForms, uint32_t* spawns) {
  SeedDemoRand(1);
  InitTask();
  InitDemo();
  if (!runForms) SetTaskRunProc(UpdateEnemy, nullptr), SetTaskRunProc(DrawEnemy, nullptr);
  CalcCrc32("", 0);  // builds the table UpdateCrc32 reads
  const uint32_t start = DemoRandState;
  std::vector<uint32_t> frames;
  for (int frame = 0; frame < 60; ++frame) {
    // Enemies that leave at once (their records come back at the next sweep, for
    // the next ones' spawns), skip a steering, or sit on the player.
    int i = frame;
    for (Task* t = TaskPool.root; frame % 10 == 0 && !IsTaskNull(t); t = t->next, ++i) {
      if (t == PlayerTask) continue;
      if (i % 37 == 0) t->x = 799.5f, t->vx = 3.0f;
      if (i % 53 == 0) t->count = -1;
      if (i % 71 == 0) t->x = 400.0f, t->y = 300.0f, t->vx = t->vy = 0.0f;
    }
    SweepTask();
    UpdateTask();
    BatchMode = 1;  // the button is never held: no flip
    DrawTask();
    uint32_t crc = 0;
    for (Task* t = TaskPool.root; !IsTaskNull(t); t = t->next) {
      crc = UpdateCrc32(crc, reinterpret_cast<const char*>(&t->x), 5 * sizeof(float));
    }
    frames.push_back(UpdateCrc32(crc, reinterpret_cast<const char*>(Gfx.batch.vertices),
                                 Gfx.batch.count * sizeof(Vertex2D)));
    QuadBatchEmpty(&Gfx.batch);
  }
  // Random draws since the start (two a spawn), counted by replaying the sequence.
  const uint32_t end = DemoRandState;
  SeedDemoRand(start);
  for (*spawns = 0; DemoRandState != end && *spawns < 10000000u; ++*spawns) DemoRand();
  return frames;
}

// The swarm's run forms, which steer two enemies at a time and lay out their quads
// in one stretch, play the frames that a call per enemy plays, bit for bit, while
// enemies leave the screen and respawn.
TEST_F(Chaser, RunFormsPlayTheSameFrames) {
  fake_d3d::Reset();
  ASSERT_EQ(InitDirectXFor(NULL, 800, 600, 1), 0);
  uint32_t spawnsEach = 0, spawnsRuns = 0;
  const std::vector<uint32_t> each = PlayFrames(false, &spawnsEach);
  const std::vector<uint32_t> runs = PlayFrames(true, &spawnsRuns);
  ReleaseDirectX();
  EXPECT_TRUE(each == runs);
  EXPECT_EQ(spawnsEach, spawnsRuns);
  EXPECT_GT(spawnsRuns, 100u);
}

}  // namespace
