#include "task/task_state.h"

Task NullTask = {0, &NullTask, &NullTask, nullptr, nullptr, 0, 0, 0, 0, 0};

TaskState TaskPool = {{}, {}, {}, 0, &NullTask, &NullTask, {}};
