#include "task/task_state.h"

Task NullTask = {0, &NullTask, &NullTask, nullptr, nullptr, 0, 0, 0, 0, 0, 0, nullptr};

TaskState TaskPool = {{}, {}, {}, 0, &NullTask, &NullTask, {}, {}, 0, 0, {}, 0};
