// Direct3D 9 graphics: device, off-screen targets and flip, presets, quads, blur,
// texture cache.
#pragma once
#include <windows.h>
#include <d3d9.h>

// Device
HRESULT InitDirectX();
void ReleaseDirectX();

// Frame
HRESULT SetTrailColor(D3DCOLOR color);
HRESULT BeginRender(D3DCOLOR clearColor);
HRESULT EndRender();
HRESULT Flip(D3DCOLOR color);

// Presets
enum : DWORD {
  DRAWMODE_BLEND_ALPHA = 0x0001,
  DRAWMODE_BLEND_ADD = 0x0002,
  DRAWMODE_TEXTURE_MODULATE = 0x0010,
  DRAWMODE_LINEAR = 0x0100,
  DRAWMODE_LINEAR2 = 0x0200,
  DRAWMODE_ZBUFFER = 0x0400,
  DRAWMODE_FOG = 0x0800,
  DRAWMODE_CULL = 0x1000,
  DRAWMODE_LIGHTING = 0x2000,
};
HRESULT SetDrawMode(DWORD flags);

// Quads
HRESULT DrawRectCenter(float cx, float cy, float halfWidth, float halfHeight, D3DCOLOR color);
HRESULT PushRectCenter(float cx, float cy, float halfWidth, float halfHeight, D3DCOLOR color);
HRESULT FlushRects();

// Blur
HRESULT DrawEffectGaussianBlur(D3DCOLOR color);

// Texture cache
HRESULT LoadTexture(const char* name);
HRESULT ReleaseTexture(const char* name);
HRESULT BindTexture(const char* name);
