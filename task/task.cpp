// Task pool and tree. Killing only marks a task, so callbacks may kill anything
// mid-pass; the unlinking waits for the next SweepTask.
#include "task/task.h"

#include <stdint.h>
#include <string.h>

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
  TaskPool.orderCount = 0;
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
static LQ_INLINE void FetchAhead(Task* const* order, int position) {
  if (position < TASK_POOL_SIZE) LQ_PREFETCH(order[position + TASK_FETCH_AHEAD]);
}

// Hides where a pointer came from, so that the compiler keeps taking the next
// record from the sweep's list rather than from the link it was checked against:
// the list is known ahead, the link only once the record before has arrived.
static LQ_INLINE Task* Opaque(Task* task) {
#if defined(__GNUC__)
  __asm__("" : "+r"(task));
#endif
  return task;
}

static TaskRunProc RunFormOf(TaskProc proc) {
  for (int i = 0; i < TaskPool.runCount; ++i) {
    if (TaskPool.runs[i].proc == proc) return TaskPool.runs[i].run;
  }
  return nullptr;
}

int SetTaskRunProc(TaskProc proc, TaskRunProc run) {
  if (proc == nullptr) return -1;
  int i = 0;
  while (i < TaskPool.runCount && TaskPool.runs[i].proc != proc) ++i;
  if (run == nullptr) {
    if (i < TaskPool.runCount) TaskPool.runs[i] = TaskPool.runs[--TaskPool.runCount];
    return 0;
  }
  if (i == TASK_RUN_PROCS) return -1;
  if (i == TaskPool.runCount) ++TaskPool.runCount;
  TaskPool.runs[i] = {proc, run};
  return 0;
}

// Pre-order over a child chain: a task, its subtree, then the next sibling.
// Iterates along the chain and recurses only into child chains. Links are read
// after the callback has returned.
static void WalkChildrenPreOrder(Task* first) {
  for (Task* task = first; !IsEnd(task); task = task->next) {
    if (IsNewInPass(task)) continue;
    if (task->update) task->update(task);
    if (!IsEnd(task->child)) WalkChildrenPreOrder(task->child);
  }
}

// Post-order over a child chain: children (with their subtrees) before their
// parent. Returns every task visited.
template <TaskProc Task::*proc, bool skipNew>
static int WalkChildrenPostOrder(Task* first) {
  int count = 0;
  for (Task* task = first; !IsEnd(task); task = task->next) {
    if (skipNew && IsNewInPass(task)) continue;
    if (!IsEnd(task->child)) count += WalkChildrenPostOrder<proc, skipNew>(task->child);
    if (task->*proc) (task->*proc)(task);
    ++count;
  }
  return count;
}

// One top-level task with its subtree, in the walk's order; the tasks visited,
// or 1 when only top-level tasks are counted.
template <TaskProc Task::*proc, bool preOrder, bool skipNew, bool countChildren>
static LQ_INLINE int Visit(Task* task) {
  int count = 1;
  if (preOrder) {
    if (task->*proc) (task->*proc)(task);
    if (!IsEnd(task->child)) WalkChildrenPreOrder(task->child);
  } else {
    if (!IsEnd(task->child)) count += WalkChildrenPostOrder<proc, skipNew>(task->child);
    if (task->*proc) (task->*proc)(task);
  }
  return countChildren ? count : 1;
}

// A stretch is handed over in pieces of this many tasks at most, so that the
// records the walk has just read are still at hand when the run form reads them.
enum { TASK_RUN_LENGTH = 256 };

// The top-level chain. Tasks made since the last sweep come first and are
// followed by their links; from the sweep's first task on, the walk steps along
// the sweep's list for as long as each link read after a callback agrees with it,
// and hands stretches of tasks with a run form to it. Returns the top-level tasks
// visited, or every task visited when children are counted.
template <TaskProc Task::*proc, bool preOrder, bool skipNew, bool countChildren>
static int WalkTop() {
  Task* const* order = TaskPool.order[TaskPool.orderBuffer];
  const int known = TaskPool.orderCount;
  TaskProc lastProc = nullptr;
  TaskRunProc lastRun = nullptr;
  int count = 0;
  Task* task = TaskPool.root;
  while (!IsEnd(task) && (known == 0 || task != order[0])) {
    count += Visit<proc, preOrder, skipNew, countChildren>(task);
    task = task->next;
  }
  if (IsEnd(task)) return count;
  int k = 0;
  while (k < known) {
    task = Opaque(order[k]);
    FetchAhead(order, k);
    const TaskProc each = task->*proc;
    if (each != lastProc) {
      lastProc = each;
      lastRun = each != nullptr ? RunFormOf(each) : nullptr;
    }
    int end = k + 1;
    if (lastRun != nullptr && IsEnd(task->child)) {
      const int last = known - k > TASK_RUN_LENGTH ? k + TASK_RUN_LENGTH : known;
      while (end < last && order[end - 1]->next == order[end]) {
        // A null child ends the stretch too; the task is then visited on its own.
        const Task* other = Opaque(order[end]);
        if (other->*proc != each || other->child != &NullTask) break;
        ++end;
      }
      lastRun(order + k, end - k);
      count += end - k;
    } else {
      count += Visit<proc, preOrder, skipNew, countChildren>(task);
    }
    task = order[end - 1]->next;
    if (end == known || task != order[end]) break;
    k = end;
  }
  // Off the list (the chain was changed by hand, or has more than the list holds).
  for (; !IsEnd(task); task = task->next) {
    count += Visit<proc, preOrder, skipNew, countChildren>(task);
  }
  return count;
}

int UpdateTask() {
  ++TaskPool.updatePass;
  return WalkTop<&Task::update, true, false, false>();
}

int DrawTask() { return WalkTop<&Task::draw, false, false, true>(); }

int UpdateTaskPostOrder() {
  ++TaskPool.updatePass;
  return WalkTop<&Task::update, false, true, true>();
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

enum { SWEEP_STACK_CAPACITY = TASK_POOL_SIZE + 1 };

// Sweeps the task at *link: a dead one is freed and *link takes its next, a live
// one is listed (top-level chain) and its child chain stacked. Returns the link
// that now holds the next task.
static LQ_INLINE Task** SweepOne(Task** link, Task* task, Task** kept, int* listed, int* top) {
  if (task->flags & TASK_DEAD) {
    *link = task->next;
    FreeTree(task);
    return link;
  }
  if (kept != nullptr && *listed < TASK_POOL_SIZE) kept[(*listed)++] = task;
  if (!IsEnd(task->child) && *top < SWEEP_STACK_CAPACITY) {
    TaskPool.sweepStack[(*top)++] = &task->child;
  }
  return &task->next;
}

// The top-level chain, stepping along the last sweep's list while the links
// agree with it (as the walks do), and the list of what is left for the next.
static void SweepTop(int* top) {
  Task* const* old = TaskPool.order[TaskPool.orderBuffer];
  Task** kept = TaskPool.order[1 - TaskPool.orderBuffer];
  const int known = TaskPool.orderCount;
  int listed = 0;
  Task** link = &TaskPool.root;
  Task* task = *link;
  while (!IsGone(task) && (known == 0 || task != old[0])) {
    link = SweepOne(link, task, kept, &listed, top);
    task = *link;
  }
  if (!IsGone(task)) {
    for (int k = 0;;) {
      // A stretch left as it is (alive, no children, linked as listed) is only
      // read, and listed again in one copy.
      int end = k;
      for (; end + 1 < known; ++end) {
        const Task* same = Opaque(old[end]);
        FetchAhead(old, end);
        if ((same->flags & TASK_DEAD) | (same->child != &NullTask) | (same->next != old[end + 1])) {
          break;
        }
      }
      const int copied = end - k < TASK_POOL_SIZE - listed ? end - k : TASK_POOL_SIZE - listed;
      memcpy(kept + listed, old + k, copied * sizeof(Task*));
      listed += copied;
      if (end > k) link = &old[end - 1]->next;
      task = old[end];
      Task* next = task->next;
      // A freed subtree may hold records further on the list: links from here.
      const bool freesMore = (task->flags & TASK_DEAD) != 0 && !IsEnd(task->child);
      link = SweepOne(link, task, kept, &listed, top);
      task = next;
      if (freesMore || end + 1 == known || next != old[end + 1]) break;
      k = end + 1;
    }
    while (!IsGone(task)) {
      link = SweepOne(link, task, kept, &listed, top);
      task = *link;
    }
  }
  *link = &NullTask;
  TaskPool.orderBuffer = 1 - TaskPool.orderBuffer;
  TaskPool.orderCount = listed;
}

// Dead tasks are freed in chain order, so the last one freed is the first reused.
// Chains are taken from a bounded stack, never by recursion; the top-level chain
// is swept first.
void SweepTask() {
  int top = 0;
  SweepTop(&top);
  while (top > 0) {
    Task** link = TaskPool.sweepStack[--top];
    while (!IsGone(*link)) link = SweepOne(link, *link, nullptr, nullptr, &top);
    *link = &NullTask;
  }
}

Task* KillTask(Task* task) {
  if (!IsEnd(task)) task->flags |= TASK_DEAD;
  return task;
}

uint32_t IsTaskDead(const Task* task) { return IsEnd(task) ? 0 : task->flags & TASK_DEAD; }

int IsTaskNull(const Task* task) { return task == &NullTask ? 1 : 0; }
