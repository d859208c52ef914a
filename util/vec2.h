// 2D float vector helpers used for aiming and steering.
#pragma once

struct Vec2 {
  float x, y;
};

// The length of (x, y).
float GetVec2Length(float x, float y);
// Scales the vector in place to the given length; a zero vector stays zero.
void SetVec2Length(Vec2* vector, float length);
// Writes into out the vector from -> to scaled to length (out may alias either).
void GetVec2Direction(Vec2* out, const Vec2* from, const Vec2* to, float length);
