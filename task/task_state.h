// Module state of the task tree. Static and constant-initialised, so that every
// operation is safe (on an empty pool) even before InitTask.
#pragma once
#include <stdint.h>

#include "task/task.h"

struct TaskState {
  Task pool[TASK_POOL_SIZE];
  uint8_t isFree[TASK_POOL_SIZE];  // guards the free list against a record freed twice
  uint32_t bornIn[TASK_POOL_SIZE];  // the update pass current when the record was taken
  uint32_t updatePass;              // counts update passes
  Task* root;                      // first task of the top-level chain
  Task* freeList;                  // first free record, linked through next
  Task** sweepStack[TASK_POOL_SIZE + 1];  // chains still to sweep; bounded, never recursed
};

extern TaskState TaskPool;
