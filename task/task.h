// A fixed pool of 8192 tasks linked into a tree, with update and draw passes and
// deferred deletion.
#pragma once
#include <stdint.h>

struct Task;
typedef void (*TaskProc)(Task* task);

struct Task {
  uint32_t flags;  // TASK_DEAD is the dead mark
  Task* child;     // first child, NullTask when none
  Task* next;      // next sibling (next free record while free), NullTask at the end
  TaskProc update;
  TaskProc draw;
  float x, y;      // game data, never touched by the pool
  float vx, vy;
  int32_t count;
};

enum : uint32_t { TASK_DEAD = 0x80000000u };
enum { TASK_POOL_SIZE = 8192 };

extern Task NullTask;

void InitTask();
Task* CreateTask(TaskProc update, TaskProc draw);
// Links a new task at the front of parent's child chain; NullTask when the pool is
// exhausted or parent is null, NullTask or a freed record.
Task* CreateChildTask(Task* parent, TaskProc update, TaskProc draw);
int UpdateTask();
int DrawTask();
int UpdateTaskPostOrder();
// Returns dead tasks to the pool, children included; a dead task takes its whole
// subtree with it.
void SweepTask();
Task* KillTask(Task* task);
uint32_t IsTaskDead(const Task* task);
int IsTaskNull(const Task* task);
