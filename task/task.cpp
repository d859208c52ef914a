// Task pool and tree. Killing only marks a task, so callbacks may kill anything
// mid-pass; the unlinking waits for the next SweepTask.
#include "task/task.h"

#include <stdint.h>

#include "task/task_state.h"
#include "util/force_inline.h"

// A null pointer ends a chain as NullTask does, so a hand-made link cannot crash a walk.
static bool IsEnd(const Task* task) { return task == nullptr || task == &NullTask; }

static int PoolIndex(const Task* task) {
  uintptr_t first = reinterpret_cast<uintptr_t>(TaskPool.pool);
  uintptr_t at = reinterpret_cast<uintptr_t>(task);
  if (at < first || at >= first + sizeof(TaskPool.pool)) return -1;
  return static_cast<int>((at - first) / sizeof(Task));
}

// Already in the free list: a stale link to it must not be followed into the list.
// One range test first: the sweep asks this of every task every frame.
static inline bool IsGone(const Task* task) {
  const uintptr_t offset =
      reinterpret_cast<uintptr_t>(task) - reinterpret_cast<uintptr_t>(TaskPool.pool);
  if (offset >= sizeof(TaskPool.pool)) return IsEnd(task);
  return TaskPool.isFree[offset / sizeof(Task)] != 0;
}

void InitTask() {
  NullTask.flags = 0;
  NullTask.child = &NullTask;
  NullTask.next = &NullTask;
  for (int i = 0; i < TASK_POOL_SIZE; ++i) {
    TaskPool.pool[i].next = i + 1 < TASK_POOL_SIZE ? &TaskPool.pool[i + 1] : &NullTask;
    TaskPool.isFree[i] = 1;
  }
  TaskPool.freeList = &TaskPool.pool[0];
  TaskPool.root = &NullTask;
}

static Task* TakeRecord(TaskProc update, TaskProc draw) {
  Task* task = TaskPool.freeList;
  if (IsEnd(task)) return &NullTask;
  TaskPool.freeList = task->next;
  const int index = PoolIndex(task);
  TaskPool.isFree[index] = 0;
  TaskPool.bornIn[index] = TaskPool.updatePass;
  task->flags = 0;
  task->child = &NullTask;
  task->next = &NullTask;
  task->update = update;
  task->draw = draw;
  task->kind = 0;
  task->user = nullptr;
  return task;
}

Task* CreateTask(TaskProc update, TaskProc draw) {
  Task* task = TakeRecord(update, draw);
  if (IsEnd(task)) return &NullTask;
  task->next = TaskPool.root;
  TaskPool.root = task;
  return task;
}

Task* CreateChildTask(Task* parent, TaskProc update, TaskProc draw) {
  if (IsGone(parent)) return &NullTask;
  Task* task = TakeRecord(update, draw);
  if (IsEnd(task)) return &NullTask;
  task->next = IsEnd(parent->child) ? &NullTask : parent->child;
  parent->child = task;
  return task;
}

// A child made during this update pass waits for the next one, as a top-level
// task does. Only child chains can hold one: top-level tasks made during a pass go
// in front of the root the pass started from.
static bool IsNewInPass(const Task* task) {
  const int index = PoolIndex(task);
  return index >= 0 && TaskPool.bornIn[index] == TaskPool.updatePass;
}

// Tasks made in place of dead ones scatter the top-level chain over the pool,
// where the processor cannot guess the next record and each step waits for
// memory. The walks fetch the records the last sweep found a little further
// on; a wrong guess (the chain changed since) costs one cache line.
static LQ_INLINE void FetchAhead(int position) {
  if (position < TASK_POOL_SIZE) LQ_PREFETCH(TaskPool.order[position + TASK_FETCH_AHEAD]);
}

// Pre-order: a task, its subtree, then the next sibling. Iterates along a chain and
// recurses only into child chains. Links are read after the callback has returned.
// Returns the number of tasks run in the chain itself. The kind of chain is a
// template argument: the walks run for every task every frame.
template <bool isChildChain>
static int WalkPreOrder(Task* first) {
  int count = 0;
  for (Task* task = first; !IsEnd(task); task = task->next) {
    if (!isChildChain) FetchAhead(count);
    if (isChildChain && IsNewInPass(task)) continue;
    ++count;
    if (task->update) task->update(task);
    if (!IsEnd(task->child)) WalkPreOrder<true>(task->child);
  }
  return count;
}

// Post-order: children (with their subtrees) before their parent. Returns every
// task visited.
template <TaskProc Task::*proc, bool skipNew, bool isTop = false>
static int WalkPostOrder(Task* first) {
  int count = 0, position = 0;
  for (Task* task = first; !IsEnd(task); task = task->next) {
    if (isTop) FetchAhead(position++);
    if (skipNew && IsNewInPass(task)) continue;
    if (!IsEnd(task->child)) count += WalkPostOrder<proc, skipNew>(task->child);
    if (task->*proc) (task->*proc)(task);
    ++count;
  }
  return count;
}

int UpdateTask() {
  ++TaskPool.updatePass;
  return WalkPreOrder<false>(TaskPool.root);
}

int DrawTask() { return WalkPostOrder<&Task::draw, false, true>(TaskPool.root); }

int UpdateTaskPostOrder() {
  ++TaskPool.updatePass;
  return WalkPostOrder<&Task::update, true, true>(TaskPool.root);
}

static void FreeRecord(Task* task) {
  task->flags |= TASK_DEAD;
  int index = PoolIndex(task);
  if (index < 0) {  // a record of the game's own: just detached
    task->child = &NullTask;
    task->next = &NullTask;
    return;
  }
  task->next = TaskPool.freeList;
  TaskPool.freeList = task;
  TaskPool.isFree[index] = 1;
}

// Frees an unlinked task and everything under it, children before their parent,
// without recursion: each child chain is spliced in ahead of the task heading it.
static void FreeTree(Task* task) {
  task->next = &NullTask;
  while (!IsGone(task)) {
    Task* child = task->child;
    if (!IsGone(child)) {
      task->child = child->next;
      child->next = task;
      task = child;
      continue;
    }
    Task* next = task->next;
    FreeRecord(task);
    task = next;
  }
}

// Dead tasks are freed in chain order, so the last one freed is the first reused.
// Chains are taken from a bounded stack, never by recursion; the top-level chain
// is swept first.
void SweepTask() {
  const int capacity = TASK_POOL_SIZE + 1;
  int top = 0, position = 0;
  bool isRoot = true;
  TaskPool.sweepStack[top++] = &TaskPool.root;
  while (top > 0) {
    Task** link = TaskPool.sweepStack[--top];
    while (!IsGone(*link)) {
      Task* task = *link;
      if (isRoot) FetchAhead(position);
      if (task->flags & TASK_DEAD) {
        *link = task->next;
        FreeTree(task);
        continue;
      }
      if (isRoot && position < TASK_POOL_SIZE) TaskPool.order[position++] = task;
      if (!IsEnd(task->child) && top < capacity) TaskPool.sweepStack[top++] = &task->child;
      link = &task->next;
    }
    *link = &NullTask;
    isRoot = false;
  }
}

Task* KillTask(Task* task) {
  if (!IsEnd(task)) task->flags |= TASK_DEAD;
  return task;
}

uint32_t IsTaskDead(const Task* task) { return IsEnd(task) ? 0 : task->flags & TASK_DEAD; }

int IsTaskNull(const Task* task) { return task == &NullTask ? 1 : 0; }
