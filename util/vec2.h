// 2D float vector helpers used for aiming and steering.
#pragma once

struct Vec2 {
  float x, y;
};

float GetVec2Length(float x, float y);
void SetVec2Length(Vec2* vector, float length);
void GetVec2Direction(Vec2* out, const Vec2* from, const Vec2* to, float length);
