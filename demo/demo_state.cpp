// Module state of the chaser demo, living for the whole run.
#include "demo/chaser.h"

int32_t BatchMode = 0;
Task* PlayerTask = nullptr;
uint32_t DemoRandState = 1;  // never reseeded by the demo: every run is the same
ScreenEdges DemoEdges = {0, 0, 0, 0};  // the edges of a 0 x 0 screen
