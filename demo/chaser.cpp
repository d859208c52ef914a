// Placeholder until the chaser game is built: no tasks.
#include "demo/chaser.h"

void InitDemo() {}
