// Module state of the task tree. Static and constant-initialised, so that every
// operation is safe (on an empty pool) even before InitTask.
#pragma once
#include <stdint.h>

#include "task/task.h"

// How far ahead along the top-level chain the walks fetch records.
enum { TASK_FETCH_AHEAD = 16 };

struct TaskState {
  Task pool[TASK_POOL_SIZE];
  uint8_t isFree[TASK_POOL_SIZE];  // guards the free list against a record freed twice
  uint32_t bornIn[TASK_POOL_SIZE];  // the update pass current when the record was taken
  uint32_t updatePass;              // counts update passes
  Task* root;                      // first task of the top-level chain
  Task* freeList;                  // first free record, linked through next
  Task** sweepStack[TASK_POOL_SIZE + 1];  // chains still to sweep; bounded, never recursed
  // The top-level chain as the last sweep left it, in one of two buffers (the
  // sweep writes the other). The walks step along it while each link agrees, so
  // that no step waits for the last record's link, and fetch records ahead from it.
  Task* order[2][TASK_POOL_SIZE + TASK_FETCH_AHEAD];
  int orderCount;   // tasks in the current buffer
  int orderBuffer;  // 0 or 1
  struct {
    TaskProc proc;
    TaskRunProc run;
  } runs[TASK_RUN_PROCS];
  int runCount;
};

extern TaskState TaskPool;
