// A fixed pool of 8192 tasks linked into a tree, with update and draw passes and
// deferred deletion.
#pragma once
#include <stdint.h>

struct Task;
typedef void (*TaskProc)(Task* task);
// A callback's run form: called once for count (1 or more) consecutive tasks, in
// the order the walk would have called the callback for each.
typedef void (*TaskRunProc)(Task* const* tasks, int count);

struct Task {
  uint32_t flags;  // TASK_DEAD is the dead mark
  Task* child;     // first child, NullTask when none
  Task* next;      // next sibling (next free record while free), NullTask at the end
  TaskProc update;
  TaskProc draw;
  float x, y;      // game data, never touched by the pool
  float vx, vy;
  int32_t count;
  int32_t kind;    // the game's type tag: 0 at creation, never read by the pool
  void* user;      // the game's data: null at creation, never read by the pool
};

enum : uint32_t { TASK_DEAD = 0x80000000u };
enum { TASK_POOL_SIZE = 8192, TASK_RUN_PROCS = 16 };

extern Task NullTask;

// Empties the tree and returns every record to the pool; no callback is called.
void InitTask();
// A new top-level task, updated and drawn first; NullTask when the pool is exhausted.
Task* CreateTask(TaskProc update, TaskProc draw);
// Links a new task at the front of parent's child chain; NullTask when the pool is
// exhausted or parent is null, NullTask or a freed record.
Task* CreateChildTask(Task* parent, TaskProc update, TaskProc draw);
// Runs every update callback, parents before children; the number of top-level tasks.
int UpdateTask();
// Runs every draw callback, children before parents; the number of tasks drawn.
int DrawTask();
// Runs every update callback in the order of DrawTask; the number of tasks visited.
int UpdateTaskPostOrder();
// Returns dead tasks to the pool, children included; a dead task takes its whole
// subtree with it.
void SweepTask();
// Marks the task dead (it is still drawn this frame); returns its argument.
Task* KillTask(Task* task);
// TASK_DEAD when the task is marked dead, else 0 (also for null and NullTask).
uint32_t IsTaskDead(const Task* task);
// 1 if the pointer is NullTask (a failed CreateTask), else 0.
int IsTaskNull(const Task* task);
// Gives the callback proc a run form: from the next walk on, a stretch of
// consecutive top-level tasks that head no children and whose update (or draw)
// is proc is handed to run in one call, instead of proc being called for each.
// For swarms: one call, and the loop inside it, cost less than a call per task.
// Stretches are found among the tasks the last SweepTask listed (up to 256 a
// call); the others get a call each. The stretch is gathered before run is called: run may kill and create tasks as
// a callback may, but must not relink or change the callbacks of the tasks it is
// given. A null run takes the form away. 0; -1 for a null proc or when
// TASK_RUN_PROCS callbacks have forms already. Kept by InitTask.
int SetTaskRunProc(TaskProc proc, TaskRunProc run);
