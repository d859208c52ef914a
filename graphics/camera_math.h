// Left-handed projection and view matrices, row-major as the device takes them.
// Portable: the native build tests them.
#pragma once

// fovY in radians; zNear and zFar the depths that map to 0 and 1.
void PerspectiveFovLH(float out[16], float fovY, float aspect, float zNear, float zFar);
// A camera at eye looking at at, up giving its upward direction.
void LookAtLH(float out[16], const float eye[3], const float at[3], const float up[3]);
