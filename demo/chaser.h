// The chaser demo: a player square moved by the pad bits and a swarm of enemies
// that fly toward it, steer after it and respawn when they leave the screen.
#pragma once
#include <stdint.h>

#include "task/task.h"

// 0: draw immediately, 1: append to the quad batch (flushed once per frame).
extern int32_t BatchMode;
extern Task* PlayerTask;
// The screen size UpdateEnemy last saw, and its right and bottom edges as the
// bits of their floats.
struct ScreenEdges {
  uint32_t width, height;
  uint32_t right, bottom;
};
extern ScreenEdges DemoEdges;

void InitDemo();
void SpawnEnemy();

void UpdatePlayer(Task* task);
void DrawPlayer(Task* task);
void UpdateEnemy(Task* task);
void DrawEnemy(Task* task);

void AimTaskAt(Task* task, const Task* target, float speed);
void SteerTaskTo(Task* task, const Task* target, float pull, float speed);
void AccelTaskTo(Task* task, const Task* target, float pull, float scale);

// The demo's own random numbers: every run plays the same sequence.
int32_t DemoRand();
void SeedDemoRand(uint32_t state);
